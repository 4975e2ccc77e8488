# Lays out Kestrune's stand-in installations of Fluent 19.2, Visual Studio 2019 (with the Windows
# SDK beside it) and EDEM 2018, shaped like the real ones (blanks in the folder names included), for
# tests and demos on hosts that have none of them.
#
# Usage:
#   cmake -DDESTINATION=<folder> -DDEVENV=<built devenv stand-in> [-DMSBUILD=<built MSBuild
#         stand-in>] [-DSTUBS=<built stubs>] [-DDLLTOOL=<llvm-dlltool>] -P layout.cmake
#
# DESTINATION receives:
#   ANSYS Inc/v192/fluent                    the Fluent folder (fluent.exe, the solver DLLs,
#                                            makefile_nt.udf, headers, import libraries of every
#                                            variant)
#   Microsoft Visual Studio/2019/Community   the Visual Studio folder (devenv.exe, vcvars64.bat, the
#                                            C runtime libraries of its MSVC toolset)
#   Windows Kits/10                          the Windows SDK's libraries that projects link
#   DEM Solutions/EDEM 2018                  the EDEM folder (edem.exe, API headers, coupling client
#                                            DLL and import library)
#   Fluent cases/弯管 换热                    a Fluent case folder (a case file, a journal), where
#                                            built libraries are laid
# and beside the first two, as recentreleases.cmake describes:
#   ANSYS Inc/v242/fluent                    Fluent 2024 R2, shaped as v192
#   Microsoft Visual Studio/18/Community     Visual Studio 2026, shaped as 2019
# Earlier copies of these folders are replaced. MSBUILD defaults to "MSBuild" beside DEVENV, as the
# build makes it; Visual Studio's MSBuild/Current/Bin/amd64 gets it as MSBuild.exe. STUBS is the folder where the build put the stub
# libraries and DLLs (vc, sdk, fluent, fluent242 and edem below it); it defaults to "stubs" beside DEVENV, as
# the build lays them out. DLLTOOL defaults to llvm-dlltool on PATH or in LLVM 14's folder; it makes
# real x64 import libraries from the .def files beside this script.
cmake_minimum_required(VERSION 3.21)

set(sources "${CMAKE_CURRENT_LIST_DIR}")
set(msvc_toolset 14.29.30133)
set(windows_sdk 10.0.19041.0)
set(variants 2d 3d 2ddp 3ddp 2d_host 3d_host 2ddp_host 3ddp_host 2d_node 3d_node 2ddp_node 3ddp_node)

function(fail message)
    message(FATAL_ERROR "layout.cmake: ${message}")
endfunction()

# A real import library for x64 Windows, naming the DLL of the .def file.
function(make_import_library def library)
    get_filename_component(folder "${library}" DIRECTORY)
    file(MAKE_DIRECTORY "${folder}")
    execute_process(COMMAND "${DLLTOOL}" -m i386:x86-64 -d "${def}" -l "${library}"
                    RESULT_VARIABLE result ERROR_VARIABLE errors)
    if(NOT result EQUAL 0)
        fail("${DLLTOOL} failed on ${def}: ${errors}")
    endif()
endfunction()

# Generated text that Windows tools read keeps Windows line ends, whatever git checked out.
function(copy_with_crlf source target)
    file(READ "${source}" content)
    string(REPLACE "\r\n" "\n" content "${content}")
    string(REPLACE "\n" "\r\n" content "${content}")
    get_filename_component(folder "${target}" DIRECTORY)
    file(MAKE_DIRECTORY "${folder}")
    file(WRITE "${target}" "${content}")
endfunction()

# Every file of one folder of the built stubs into a folder of an installation.
function(copy_stubs kind target)
    file(GLOB files "${STUBS}/${kind}/*")
    if(NOT files)
        fail("no stubs in ${STUBS}/${kind}")
    endif()
    file(MAKE_DIRECTORY "${target}")
    file(COPY ${files} DESTINATION "${target}")
endfunction()

# One Fluent release (major, minor): the program folder with the solver's stub DLLs (the stub set
# named), the UDF makefile with the folders it names, the headers, and the import libraries in the
# folders that the variant CMake files link from.
function(lay_out_fluent fluent major minor stubs makefile)
    set(dotted "${major}.${minor}.0")
    set(digits "${major}${minor}0")
    set(release "${fluent}/fluent${dotted}")
    file(WRITE "${fluent}/ntbin/win64/fluent.exe" "Kestrune's stand-in: only its presence counts.\n")
    # Fluent puts its program folder on PATH; the loader finds the solver DLLs there.
    copy_stubs(${stubs} "${fluent}/ntbin/win64")
    copy_with_crlf("${makefile}" "${release}/src/udf/makefile_nt.udf")
    make_makefile_folders("${makefile}" "${fluent}" ${dotted})
    file(COPY "${sources}/fluent/udf.h" "${sources}/fluent/prop.h" "${sources}/fluent/dpm.h"
         DESTINATION "${release}/src/udf")
    write_version_header("${release}/src/udf/version.h" ${major} ${minor} 0)
    foreach(variant IN LISTS variants)
        if(variant MATCHES "_(host|node)$")
            file(COPY_FILE "${sources}/fluent/udfconfig_${CMAKE_MATCH_1}.h"
                 "${release}/win64/${variant}/udfconfig.h")
        endif()
        if(variant MATCHES "_node$")
            make_import_library("${sources}/fluent/fl_mpi${digits}.def"
                                "${release}/win64/${variant}/fl_mpi${digits}.lib")
        else()
            make_import_library("${sources}/fluent/fl${digits}.def"
                                "${release}/win64/${variant}/fl${digits}.lib")
        endif()
    endforeach()
    # Both builds of the message passing library: the socket one for hosts, the MPI one for nodes.
    make_import_library("${sources}/fluent/mport.def" "${release}/multiport/win64/net/shared/mport.lib")
    make_import_library("${sources}/fluent/mport_mpi.def"
                        "${release}/multiport/win64/mpi/shared/mport.lib")
endfunction()

# MSBuild of Visual Studio 2019 and later ("Current"), or of 2017 ("15.0").
function(lay_out_msbuild studio version)
    file(MAKE_DIRECTORY "${studio}/MSBuild/${version}/Bin/amd64")
    file(COPY_FILE "${MSBUILD}" "${studio}/MSBuild/${version}/Bin/amd64/MSBuild.exe")
endfunction()

function(lay_out_visual_studio studio)
    file(MAKE_DIRECTORY "${studio}/Common7/IDE")
    file(COPY_FILE "${DEVENV}" "${studio}/Common7/IDE/devenv.exe")
    lay_out_msbuild("${studio}" Current)
    copy_with_crlf("${sources}/visualstudio/vcvars64.bat" "${studio}/VC/Auxiliary/Build/vcvars64.bat")
    copy_stubs(vc "${studio}/VC/Tools/MSVC/${msvc_toolset}/lib/x64")
    # cl.exe for Wine's cmd.exe, where vcvars64.bat puts it on PATH as the real one is.
    copy_stubs(vcbin "${studio}/VC/Tools/MSVC/${msvc_toolset}/bin/Hostx64/x64")
endfunction()

function(lay_out_windows_sdk kits)
    copy_stubs(sdk "${kits}/10/Lib/${windows_sdk}/um/x64")
endfunction()

function(lay_out_edem edem)
    file(WRITE "${edem}/bin/edem.exe" "Kestrune's stand-in: only its presence counts.\n")
    copy_stubs(edem "${edem}/bin")
    file(COPY "${sources}/edem/Coupling/EdemCouplingClient.h" DESTINATION "${edem}/src/Api/Coupling")
    file(COPY "${sources}/edem/Core/EdemCoreTypes.h" DESTINATION "${edem}/src/Api/Core")
    make_import_library("${sources}/edem/EDEMCouplingClient4.def" "${edem}/lib/EDEMCouplingClient4.lib")
endfunction()

# A Fluent case folder as a user keeps one: the case and the journal that loads the compiled
# library. Fluent's own build would put libudf/ (or edem_udf/) beside them.
function(lay_out_fluent_case case)
    file(WRITE "${case}/elbow.cas" "(0 \"Kestrune's stand-in case: only its presence counts.\")\n")
    file(WRITE "${case}/load-udf.jou" "/file/read-case elbow.cas\n"
                                      "/define/user-defined/compiled-functions load libudf\n")
endfunction()

include("${CMAKE_CURRENT_LIST_DIR}/recentreleases.cmake")

if(NOT DESTINATION)
    fail("give the target folder with -DDESTINATION=<folder>")
endif()
if(NOT DEVENV OR NOT EXISTS "${DEVENV}")
    fail("give the built devenv stand-in with -DDEVENV=<file> (got \"${DEVENV}\")")
endif()
get_filename_component(devenv_folder "${DEVENV}" DIRECTORY)
if(NOT MSBUILD)
    set(MSBUILD "${devenv_folder}/MSBuild")
endif()
if(NOT EXISTS "${MSBUILD}")
    fail("give the built MSBuild stand-in with -DMSBUILD=<file> (got \"${MSBUILD}\")")
endif()
if(NOT STUBS)
    set(STUBS "${devenv_folder}/stubs")
endif()
if(NOT IS_DIRECTORY "${STUBS}/vc")
    fail("give the built stub libraries and DLLs with -DSTUBS=<folder> (got \"${STUBS}\")")
endif()
if(NOT DLLTOOL)
    find_program(DLLTOOL NAMES llvm-dlltool llvm-dlltool-14 PATHS /usr/lib/llvm-14/bin)
endif()
if(NOT DLLTOOL)
    fail("no llvm-dlltool found (install llvm-14) and none given with -DDLLTOOL=<program>")
endif()

set(fluent_folder "${DESTINATION}/ANSYS Inc/v192/fluent")
set(studio_folder "${DESTINATION}/Microsoft Visual Studio/2019/Community")
set(edem_folder "${DESTINATION}/DEM Solutions/EDEM 2018")
set(kits_folder "${DESTINATION}/Windows Kits")
file(REMOVE_RECURSE "${DESTINATION}/ANSYS Inc" "${DESTINATION}/Microsoft Visual Studio"
                    "${kits_folder}" "${DESTINATION}/DEM Solutions" "${DESTINATION}/Fluent cases")
lay_out_fluent("${fluent_folder}" 19 2 fluent "${sources}/fluent/makefile_nt.udf")
lay_out_fluent_v242("${DESTINATION}/ANSYS Inc/v242/fluent")
lay_out_visual_studio("${studio_folder}")
lay_out_visual_studio_18("${DESTINATION}/Microsoft Visual Studio/18/Community")
lay_out_windows_sdk("${kits_folder}")
lay_out_edem("${edem_folder}")
lay_out_fluent_case("${DESTINATION}/Fluent cases/弯管 换热")
