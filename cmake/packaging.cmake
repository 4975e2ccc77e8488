# Both programs are installed side by side, as a Windows tool is: kestrune.exe (the window) and
# kestrune-cli.exe (the command line), with Qt's libraries and plug-ins deployed beside them on
# Windows. CPack packs the installed tree into a ZIP file, and into an installer where the platform
# has a generator for one.
include(GNUInstallDirs)
# Elsewhere Qt is the system's, found without a run path; the programs carry none.
if(NOT WIN32 AND NOT APPLE)
    set_target_properties(kestrune kestrune_cli PROPERTIES INSTALL_RPATH "")
endif()
install(TARGETS kestrune kestrune_cli
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
    BUNDLE DESTINATION .)

# Qt's deployment tool exists for Windows and macOS only; elsewhere the system's Qt is used.
if(WIN32 AND COMMAND qt_generate_deploy_app_script)
    qt_generate_deploy_app_script(TARGET kestrune
        OUTPUT_SCRIPT kestrune_deploy_script
        NO_UNSUPPORTED_PLATFORM_ERROR)
    install(SCRIPT ${kestrune_deploy_script})
endif()

set(CPACK_PACKAGE_NAME "Kestrune")
set(CPACK_PACKAGE_VENDOR "the Kestrune developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Visual Studio solutions and function tables for ANSYS Fluent UDF libraries")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Kestrune")
set(CPACK_PACKAGE_CONTACT "kestrune-support@varnholt.example")
set(CPACK_GENERATOR ZIP)
if(WIN32)
    find_program(KESTRUNE_MAKENSIS makensis)
    if(KESTRUNE_MAKENSIS)
        list(APPEND CPACK_GENERATOR NSIS)
        set(CPACK_NSIS_CREATE_ICONS_EXTRA
            "CreateShortCut '$SMPROGRAMS\\\\$STARTMENU_FOLDER\\\\Kestrune.lnk' '$INSTDIR\\\\bin\\\\kestrune.exe'")
    endif()
else()
    find_program(KESTRUNE_DPKG_DEB dpkg-deb)
    if(KESTRUNE_DPKG_DEB)
        list(APPEND CPACK_GENERATOR DEB)
        set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6widgets6, cmake")
    endif()
endif()
include(CPack)
