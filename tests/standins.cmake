# The stand-ins replace Windows tools on other hosts; on Windows the real tools run instead.
if(WIN32)
    return()
endif()

kestrune_add_test(tst_standincmdexe SOURCES tst_standincmdexe.cpp
                  LIBRARIES kestrune_standin_cmd LABELS standins)
add_dependencies(tst_standincmdexe kestrune_standin_cmdexe kestrune_standin_installations)
