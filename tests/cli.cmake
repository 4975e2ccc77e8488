# The command line run as a script runs it, against the stand-in tools.
kestrune_add_test(tst_cli SOURCES tst_cli.cpp helpers/filetree.h LIBRARIES Qt6::Core
    LABELS standins)
add_dependencies(tst_cli kestrune_cli)
target_compile_definitions(tst_cli PRIVATE KESTRUNE_CLI="$<TARGET_FILE:kestrune_cli>"
    KESTRUNE_WINE_CMD_BIN="${KESTRUNE_WINE_CMD_BIN}")
kestrune_use_standins(tst_cli
    kestrune_standin_cmdexe kestrune_standin_cmake kestrune_standin_installations kestrune_wine_cmd)
# Wine's first run in a new prefix makes it; the end-to-end and differential tests share it.
set_tests_properties(tst_cli PROPERTIES RESOURCE_LOCK wine-prefix)
