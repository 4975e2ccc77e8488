# The installations of current releases, laid out beside the default ones by layout.cmake, whose
# helpers and values they use: Fluent 2024 R2 (v242), whose makefile has the include lines of
# Fluent 2020 and later, and Visual Studio 2026, which installs under its version number (18).

set(msvc_toolset_18 14.50.35717)

# The folders that the makefile's include lines name below the Fluent folder, for every variant.
# Lines inside an !IF block (a GPU build) are left out: an ordinary installation lacks those.
function(make_makefile_folders makefile fluent release)
    file(READ "${makefile}" content)
    # The blocks hold no "!" of their own; the dependency lines use none either.
    string(REGEX REPLACE "\n!IF[^!]*\n!ENDIF" "" content "${content}")
    # Whole lines would end in the continuation backslash, which escapes CMake's list separator;
    # take only the folder part of each option.
    set(option_start "-I\"[$][(]FLUENT_INC[)]\"\\\\")
    string(REGEX MATCHALL "${option_start}[^ \"\r\n]+" options "${content}")
    if(NOT options)
        fail("no include line of the Fluent folder in ${makefile}")
    endif()
    foreach(option IN LISTS options)
        string(REGEX REPLACE "^${option_start}" "" folder "${option}")
        string(REPLACE "\\" "/" folder "${folder}")
        string(REPLACE "$(RELEASE)" "${release}" folder "${folder}")
        string(REPLACE "$(FLUENT_ARCH)" "win64" folder "${folder}")
        foreach(variant IN LISTS variants)
            string(REPLACE "$(VERSION)" "${variant}" variant_folder "${folder}")
            file(MAKE_DIRECTORY "${fluent}/${variant_folder}")
        endforeach()
    endforeach()
endfunction()

# version.h of another release, from the one beside this script.
function(write_version_header header major minor revision)
    file(READ "${sources}/fluent/version.h" content)
    string(REGEX REPLACE "Fluent [0-9]+\\.[0-9]+" "Fluent ${major}.${minor}" content "${content}")
    foreach(part Major Minor Revision)
        string(TOLOWER "${part}" value)
        string(REGEX REPLACE "(RampantRelease${part}) [0-9]+" "\\1 ${${value}}" content
                             "${content}")
    endforeach()
    file(WRITE "${header}" "${content}")
endfunction()

function(lay_out_fluent_v242 fluent)
    lay_out_fluent("${fluent}" 24 2 fluent242 "${sources}/fluent/v242/makefile_nt.udf")
    # The 2024 R2 stub set holds only the solver DLLs of that release; the MPI port is shared.
    file(COPY "${STUBS}/fluent/mport.dll" DESTINATION "${fluent}/ntbin/win64")
endfunction()

# As Visual Studio 2019 (vcvars64.bat made from its own), with the version and the MSVC toolset of
# Visual Studio 2026.
function(lay_out_visual_studio_18 studio)
    file(MAKE_DIRECTORY "${studio}/Common7/IDE")
    file(COPY_FILE "${DEVENV}" "${studio}/Common7/IDE/devenv.exe")
    lay_out_msbuild("${studio}" Current)
    file(READ "${sources}/visualstudio/vcvars64.bat" content)
    string(REPLACE "VisualStudioVersion=16.0" "VisualStudioVersion=18.0" content "${content}")
    string(REPLACE "Visual Studio 2019" "Visual Studio 2026" content "${content}")
    string(REPLACE "${msvc_toolset}" "${msvc_toolset_18}" content "${content}")
    if(NOT content MATCHES "VisualStudioVersion=18\\.0")
        fail("no VisualStudioVersion=16.0 in ${sources}/visualstudio/vcvars64.bat to make 18.0 of")
    endif()
    string(REPLACE "\r\n" "\n" content "${content}")
    string(REPLACE "\n" "\r\n" content "${content}")
    file(WRITE "${studio}/VC/Auxiliary/Build/vcvars64.bat" "${content}")
    copy_stubs(vc "${studio}/VC/Tools/MSVC/${msvc_toolset_18}/lib/x64")
    copy_stubs(vcbin "${studio}/VC/Tools/MSVC/${msvc_toolset_18}/bin/Hostx64/x64")
endfunction()
