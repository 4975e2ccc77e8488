# cl.exe for Wine (cl.c beside this file): a Windows x64 console program without C runtime that
# hands each compile to the host program clhost. Included where the stub libraries are built,
# since it links their kernel32.lib.
#
# kestrune_wincl(<cl.exe> <kernel32.lib>)
function(kestrune_wincl program kernel32)
    set(source "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/cl.c")
    set(object "${CMAKE_CURRENT_BINARY_DIR}/wincl/cl.obj")
    file(MAKE_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}/wincl")
    set(shared "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/../windowsprograms")
    kestrune_windows_object("${object}" "${source}" INCLUDES "${shared}"
                            DEPENDS "${shared}/commandtail.h")
    get_filename_component(folder "${program}" DIRECTORY)
    add_custom_command(OUTPUT "${program}"
        COMMAND "${CMAKE_COMMAND}" -E make_directory "${folder}"
        COMMAND "${KESTRUNE_LLD_LINK}" /nologo /subsystem:console /entry:clMain /nodefaultlib
                /machine:x64 "/out:${program}" "${object}" "${kernel32}"
        DEPENDS "${object}" "${kernel32}"
        COMMENT "Linking cl.exe for Wine"
        VERBATIM)
endfunction()
