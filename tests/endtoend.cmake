# The generated solution built into real libudf.dll files by the stand-in devenv and loaded the way
# Fluent loads them, and the devenv stand-in's own tests. Both need the stand-in installations with
# their stub libraries; the end-to-end test also the UDF loader, run under Wine.
if(WIN32 OR NOT TARGET kestrune_standin_installations OR NOT TARGET kestrune_udfloader)
    return()
endif()

# Each test lays out its own copy of the installations, so that devenv.log and every built file
# are its own.
set(endtoend_layout_definitions
    KESTRUNE_CMAKE_COMMAND="${CMAKE_COMMAND}"
    KESTRUNE_STANDIN_LAYOUT_SCRIPT="${CMAKE_CURRENT_LIST_DIR}/../standins/installations/layout.cmake"
    KESTRUNE_STANDIN_DEVENV="$<TARGET_FILE:kestrune_standin_devenv>"
    KESTRUNE_STANDIN_STUBS="${KESTRUNE_STANDIN_STUBS}")

kestrune_add_test(tst_standindevenv SOURCES tst_standindevenv.cpp LIBRARIES Qt6::Core
                  LABELS standins)
add_dependencies(tst_standindevenv kestrune_standin_installations)
target_compile_definitions(tst_standindevenv PRIVATE ${endtoend_layout_definitions})

kestrune_add_test(tst_endtoend SOURCES tst_endtoend.cpp wineloader.h LIBRARIES kestrune_ui
                  LABELS endtoend)
add_dependencies(tst_endtoend kestrune_cli kestrune_standin_cmdexe kestrune_standin_cmake
                 kestrune_standin_installations kestrune_udfloader kestrune_wine_cmd)
# Wine's prefix is made once, on the first run (about 10 s), and kept in the build folder.
target_compile_definitions(tst_endtoend PRIVATE ${endtoend_layout_definitions}
    KESTRUNE_CLI="$<TARGET_FILE:kestrune_cli>"
    KESTRUNE_UDF_LOADER="${KESTRUNE_UDF_LOADER}"
    KESTRUNE_WINE_CMD_BIN="${KESTRUNE_WINE_CMD_BIN}"
    KESTRUNE_WINE_PREFIX="${CMAKE_BINARY_DIR}/wine-prefix")
set_tests_properties(tst_endtoend PROPERTIES TIMEOUT 240)
# Both run Wine in the one prefix of the build folder; a prefix is made by its first user, and two
# first users at once would trip over each other.
set_tests_properties(tst_endtoend PROPERTIES RESOURCE_LOCK wine-prefix)
if(TEST tst_cmddifferential)
    set_tests_properties(tst_cmddifferential PROPERTIES RESOURCE_LOCK wine-prefix)
endif()
