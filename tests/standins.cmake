# The stand-ins replace Windows tools on other hosts; on Windows the real tools run instead.
if(WIN32 OR NOT TARGET kestrune_standin_installations)
    return()
endif()

kestrune_add_test(tst_standincmdexe SOURCES tst_standincmdexe.cpp
                  LIBRARIES kestrune_standin_cmd LABELS standins)
add_dependencies(tst_standincmdexe kestrune_standin_cmdexe kestrune_standin_installations)

# The stand-in cmd.exe beside Wine's, on the same batch files; the Wine side is skipped where Wine
# or the zh_CN.UTF-8 locale is missing.
kestrune_add_test(tst_cmddifferential SOURCES tst_cmddifferential.cpp LABELS standins)
add_dependencies(tst_cmddifferential kestrune_standin_cmdexe kestrune_wine_cmd
                 kestrune_standin_installations)
target_compile_definitions(tst_cmddifferential PRIVATE
    KESTRUNE_WINE_CMD_BIN="${KESTRUNE_WINE_CMD_BIN}" KESTRUNE_CL_HOST="${KESTRUNE_CL_HOST}")
# A new Wine prefix takes about 15 s to make; each batch file then runs in a second or two.
set_tests_properties(tst_cmddifferential PROPERTIES TIMEOUT 400)
