kestrune_add_test(tst_udfscanner SOURCES tst_udfscanner.cpp LIBRARIES kestrune_engine LABELS udf)
# The scanner's pure function is not part of the engine's interface.
target_include_directories(tst_udfscanner PRIVATE ${PROJECT_SOURCE_DIR}/udf)
kestrune_add_test(tst_fluentmakefile SOURCES tst_fluentmakefile.cpp LIBRARIES kestrune_engine
    LABELS udf)
kestrune_add_test(tst_udfnames SOURCES tst_udfnames.cpp LIBRARIES kestrune_engine LABELS udf)
# A compile that does not finish is read from the function table's own result.
target_include_directories(tst_udfnames PRIVATE ${PROJECT_SOURCE_DIR}/udf)
# Compiles udf_names.obj for real: the stand-in cmd.exe runs compileOBJ.bat with clang-cl against
# the stand-in Fluent and Visual Studio installations.
kestrune_add_test(tst_udfnamesobj SOURCES tst_udfnamesobj.cpp LIBRARIES kestrune_engine
    LABELS udf standins)
if(TARGET kestrune_standin_cmdexe)
    add_dependencies(tst_udfnamesobj kestrune_standin_cmdexe)
endif()
if(TARGET kestrune_standin_installations)
    add_dependencies(tst_udfnamesobj kestrune_standin_installations)
endif()
