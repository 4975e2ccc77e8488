kestrune_add_test(tst_udfscanner SOURCES tst_udfscanner.cpp LIBRARIES kestrune_engine LABELS udf)
# The scanner's pure function is not part of the engine's interface.
target_include_directories(tst_udfscanner PRIVATE ${PROJECT_SOURCE_DIR}/udf)
kestrune_add_test(tst_fluentmakefile SOURCES tst_fluentmakefile.cpp LIBRARIES kestrune_engine
    LABELS udf)
kestrune_add_test(tst_udfnames SOURCES tst_udfnames.cpp LIBRARIES kestrune_engine LABELS udf)
