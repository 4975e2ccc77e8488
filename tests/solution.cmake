# Tests of the solution engine: variant CMake files, the cmake run, the clean-up and the builders.

# The tree CMake's Visual Studio 2019 generator writes, kept in the test data; the clean-up tests
# work on copies of it.
set(KESTRUNE_VS_GENERATOR_SAMPLE "${CMAKE_CURRENT_SOURCE_DIR}/data/standincmake-sample/vs2019")

# Programs named cmake, each in a folder of its own that a test puts first on PATH: one records
# how it was called, one never finishes, one prints an error slowly and fails.
qt_add_executable(recordingcmake helpers/recordingcmake.cpp)
target_link_libraries(recordingcmake PRIVATE Qt6::Core)
set_target_properties(recordingcmake PROPERTIES OUTPUT_NAME cmake
    RUNTIME_OUTPUT_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}/helpers/recording")
kestrune_set_warnings(recordingcmake)

add_executable(hangingcmake helpers/hangingcmake.cpp)
set_target_properties(hangingcmake PROPERTIES OUTPUT_NAME cmake
    RUNTIME_OUTPUT_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}/helpers/hanging")
kestrune_set_warnings(hangingcmake)

add_executable(talkingcmake helpers/talkingcmake.cpp)
set_target_properties(talkingcmake PROPERTIES OUTPUT_NAME cmake
    RUNTIME_OUTPUT_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}/helpers/talking")
kestrune_set_warnings(talkingcmake)

set(solution_test_helpers helpers/filetree.h helpers/goldenfile.h)

kestrune_add_test(tst_variantcmakelists
    SOURCES tst_variantcmakelists.cpp ${solution_test_helpers}
    LIBRARIES kestrune_engine LABELS solution)
# The written files are read by the real CMake.
target_compile_definitions(tst_variantcmakelists PRIVATE KESTRUNE_CMAKE_COMMAND="${CMAKE_COMMAND}")

kestrune_add_test(tst_cmakerun
    SOURCES tst_cmakerun.cpp ${solution_test_helpers}
    LIBRARIES kestrune_engine LABELS solution)
add_dependencies(tst_cmakerun recordingcmake hangingcmake)
target_compile_definitions(tst_cmakerun PRIVATE
    KESTRUNE_RECORDING_CMAKE_BIN="$<TARGET_FILE_DIR:recordingcmake>"
    KESTRUNE_HANGING_CMAKE_BIN="$<TARGET_FILE_DIR:hangingcmake>")

kestrune_add_test(tst_solutioncleanup
    SOURCES tst_solutioncleanup.cpp ${solution_test_helpers}
    LIBRARIES kestrune_engine LABELS solution)
target_compile_definitions(tst_solutioncleanup PRIVATE
    KESTRUNE_VS_GENERATOR_SAMPLE="${KESTRUNE_VS_GENERATOR_SAMPLE}")

kestrune_add_test(tst_builders
    SOURCES tst_builders.cpp ${solution_test_helpers}
    LIBRARIES kestrune_engine LABELS solution)
add_dependencies(tst_builders recordingcmake)
target_compile_definitions(tst_builders PRIVATE
    KESTRUNE_RECORDING_CMAKE_BIN="$<TARGET_FILE_DIR:recordingcmake>")
# The builders run the stand-in cmd.exe and cmake against the stand-in installations.
kestrune_use_standins(tst_builders
    kestrune_standin_cmdexe kestrune_standin_cmake kestrune_standin_installations)

# The create command's engine work off the window's thread: results, events, cancel, saves.
kestrune_add_test(tst_createsolution
    SOURCES tst_createsolution.cpp ${solution_test_helpers}
    LIBRARIES kestrune_engine LABELS solution)
add_dependencies(tst_createsolution recordingcmake hangingcmake)
target_compile_definitions(tst_createsolution PRIVATE
    KESTRUNE_RECORDING_CMAKE_BIN="$<TARGET_FILE_DIR:recordingcmake>"
    KESTRUNE_HANGING_CMAKE_BIN="$<TARGET_FILE_DIR:hangingcmake>")
kestrune_use_standins(tst_createsolution
    kestrune_standin_cmdexe kestrune_standin_installations)

# Faults that must lose nothing: a full disk, a read-only file, cmake or a compile stopped half way.
kestrune_add_test(tst_generatedfiles
    SOURCES tst_generatedfiles.cpp ${solution_test_helpers}
    LIBRARIES kestrune_engine LABELS solution)
target_compile_definitions(tst_generatedfiles PRIVATE
    KESTRUNE_VS_GENERATOR_SAMPLE="${KESTRUNE_VS_GENERATOR_SAMPLE}")
kestrune_use_standins(tst_generatedfiles
    kestrune_standin_cmdexe kestrune_standin_installations)

# A build root that outlives the engine: its record, a resume, a regeneration in place.
kestrune_add_test(tst_resume SOURCES tst_resume.cpp helpers/filetree.h helpers/queuedevents.h
    LIBRARIES kestrune_engine LABELS solution)
kestrune_use_standins(tst_resume
    kestrune_standin_cmdexe kestrune_standin_cmake kestrune_standin_installations)

# The libraries of a recorded build root built with the stand-in MSBuild into a case folder.
kestrune_add_test(tst_librarybuild SOURCES tst_librarybuild.cpp helpers/filetree.h
    helpers/queuedevents.h
    LIBRARIES kestrune_engine LABELS solution)
kestrune_use_standins(tst_librarybuild
    kestrune_standin_cmdexe kestrune_standin_cmake kestrune_standin_installations)
