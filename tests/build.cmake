# Building the generated solution inside Kestrune: MSBuild's diagnostics read into rows, the
# stand-in MSBuild.exe, and the built libraries laid into a Fluent case folder.
kestrune_add_test(tst_msbuilddiagnostics SOURCES tst_msbuilddiagnostics.cpp
                  LIBRARIES kestrune_engine)

if(WIN32 OR NOT TARGET kestrune_standin_installations)
    return()
endif()

# MSBuild of the stand-in Visual Studio building the devenv test's solution, into its own copy of
# the installations.
kestrune_add_test(tst_msbuildrun SOURCES tst_msbuildrun.cpp LIBRARIES kestrune_engine
                  LABELS standins)
add_dependencies(tst_msbuildrun kestrune_standin_installations)
target_compile_definitions(tst_msbuildrun PRIVATE
    KESTRUNE_CMAKE_COMMAND="${CMAKE_COMMAND}"
    KESTRUNE_STANDIN_LAYOUT_SCRIPT="${CMAKE_CURRENT_LIST_DIR}/../standins/installations/layout.cmake"
    KESTRUNE_STANDIN_DEVENV="$<TARGET_FILE:kestrune_standin_devenv>"
    KESTRUNE_STANDIN_MSBUILD="$<TARGET_FILE:kestrune_standin_msbuild>"
    KESTRUNE_STANDIN_STUBS="${KESTRUNE_STANDIN_STUBS}")
