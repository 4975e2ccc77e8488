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

# The library deployment, with the built libraries held by real users: Kestrune's UDF loader under
# Wine (skipped without Wine) and a Linux process that maps or opens the file.
add_executable(holdlibrary helpers/holdlibrary.cpp)
kestrune_set_warnings(holdlibrary)
include(${CMAKE_CURRENT_SOURCE_DIR}/../standins/installations/windowstools.cmake)
set(held_library "${CMAKE_CURRENT_BINARY_DIR}/librarydeployment/libudf.dll")
file(MAKE_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}/librarydeployment")
kestrune_windows_object("${CMAKE_CURRENT_BINARY_DIR}/librarydeployment/heldlibrary.obj"
                        "${CMAKE_CURRENT_SOURCE_DIR}/data/librarydeployment/heldlibrary.c"
                        INCLUDES "${CMAKE_CURRENT_SOURCE_DIR}/../standins/installations/fluent")
kestrune_windows_dll("${held_library}"
                     DEF "${CMAKE_CURRENT_SOURCE_DIR}/data/librarydeployment/heldlibrary.def"
                     OBJECTS "${CMAKE_CURRENT_BINARY_DIR}/librarydeployment/heldlibrary.obj")
add_custom_target(kestrune_held_library DEPENDS "${held_library}")
kestrune_add_test(tst_librarydeployment SOURCES tst_librarydeployment.cpp wineloader.h
                  LIBRARIES kestrune_engine)
add_dependencies(tst_librarydeployment holdlibrary kestrune_held_library kestrune_udfloader)
target_compile_definitions(tst_librarydeployment PRIVATE
    KESTRUNE_HOLD_LIBRARY="$<TARGET_FILE:holdlibrary>"
    KESTRUNE_HELD_LIBRARY="${held_library}"
    KESTRUNE_UDF_LOADER="${KESTRUNE_UDF_LOADER}"
    KESTRUNE_WINE_PREFIX="${CMAKE_BINARY_DIR}/wine-prefix")
set_tests_properties(tst_librarydeployment PROPERTIES RESOURCE_LOCK wine-prefix TIMEOUT 240)
