# Building small Windows x64 programs and libraries of our own on any host, with LLVM's
# MSVC-compatible tools: the stub libraries and DLLs of the stand-in installations and the UDF
# loader. None of them has a C runtime.
include_guard(DIRECTORY)

find_program(KESTRUNE_DLLTOOL NAMES llvm-dlltool llvm-dlltool-14 PATHS /usr/lib/llvm-14/bin)
find_program(KESTRUNE_CLANG_CL NAMES clang-cl clang-cl-14 PATHS /usr/lib/llvm-14/bin)
find_program(KESTRUNE_LLD_LINK NAMES lld-link lld-link-14 PATHS /usr/lib/llvm-14/bin)
find_program(KESTRUNE_LLVM_LIB NAMES llvm-lib llvm-lib-14 PATHS /usr/lib/llvm-14/bin)

if(KESTRUNE_DLLTOOL AND KESTRUNE_CLANG_CL AND KESTRUNE_LLD_LINK AND KESTRUNE_LLVM_LIB)
    set(KESTRUNE_WINDOWS_TOOLS_FOUND TRUE)
else()
    set(KESTRUNE_WINDOWS_TOOLS_FOUND FALSE)
endif()

# Freestanding: no C runtime header, no default libraries, no stack cookie, and no builtins, so
# that the stand-in memset is not compiled into a call of itself.
set(KESTRUNE_WINDOWS_CFLAGS --target=x86_64-pc-windows-msvc /nologo /c /O1 /GS- /Zl /W4
    /clang:-ffreestanding)

# kestrune_windows_object(<object> <source> [INCLUDES <folder>...] [DEPENDS <file>...])
function(kestrune_windows_object object source)
    cmake_parse_arguments(ARG "" "" "INCLUDES;DEPENDS" ${ARGN})
    set(includes)
    foreach(folder IN LISTS ARG_INCLUDES)
        list(APPEND includes "/I${folder}")
    endforeach()
    get_filename_component(name "${object}" NAME)
    add_custom_command(OUTPUT "${object}"
        COMMAND "${KESTRUNE_CLANG_CL}" ${KESTRUNE_WINDOWS_CFLAGS} ${includes} "/Fo${object}"
                -- "${source}"
        DEPENDS "${source}" ${ARG_DEPENDS}
        COMMENT "Compiling ${name} for x64 Windows"
        VERBATIM)
endfunction()

# kestrune_import_library(<library> <def file>): a real x64 import library naming the DLL of the
# .def file.
function(kestrune_import_library library def)
    get_filename_component(name "${library}" NAME)
    add_custom_command(OUTPUT "${library}"
        COMMAND "${KESTRUNE_DLLTOOL}" -m i386:x86-64 -d "${def}" -l "${library}"
        DEPENDS "${def}"
        COMMENT "Making the import library ${name}"
        VERBATIM)
endfunction()

# kestrune_static_library(<library> <object>...)
function(kestrune_static_library library)
    get_filename_component(name "${library}" NAME)
    add_custom_command(OUTPUT "${library}"
        COMMAND "${KESTRUNE_LLVM_LIB}" /nologo "/out:${library}" ${ARGN}
        DEPENDS ${ARGN}
        COMMENT "Archiving ${name}"
        VERBATIM)
endfunction()

# kestrune_windows_dll(<dll> DEF <def file> OBJECTS <object>...): a DLL without entry point or C
# runtime exporting what the .def file lists. Its own import library stays in a scratch folder:
# the installations carry the ones made from the same .def files.
function(kestrune_windows_dll dll)
    cmake_parse_arguments(ARG "" "DEF" "OBJECTS" ${ARGN})
    get_filename_component(name "${dll}" NAME_WE)
    set(scratch "${CMAKE_CURRENT_BINARY_DIR}/scratch")
    add_custom_command(OUTPUT "${dll}"
        COMMAND "${CMAKE_COMMAND}" -E make_directory "${scratch}"
        COMMAND "${KESTRUNE_LLD_LINK}" /nologo /dll /noentry /nodefaultlib /machine:x64
                "/def:${ARG_DEF}" "/out:${dll}" "/implib:${scratch}/${name}.lib" ${ARG_OBJECTS}
        DEPENDS "${ARG_DEF}" ${ARG_OBJECTS}
        COMMENT "Linking the stub ${name}.dll"
        VERBATIM)
endfunction()
