# Import libraries that load their DLL at the first call into it, not as the program
# starts: a clock with remote control off never loads Windows' sockets, and the
# sounds' and the shell's DLLs wait until after the first frame.
# tallyglass_delay_loaded(<variable> <library>...): the libraries to link instead.
function(tallyglass_delay_loaded variable)
    set(folder ${CMAKE_BINARY_DIR}/delay)
    file(MAKE_DIRECTORY ${folder})
    set(libraries)
    foreach(name ${ARGN})
        execute_process(COMMAND ${CMAKE_C_COMPILER} -print-file-name=lib${name}.a
                        OUTPUT_VARIABLE import OUTPUT_STRIP_TRAILING_WHITESPACE)
        execute_process(COMMAND ${CMAKE_NM} ${import} OUTPUT_VARIABLE symbols RESULT_VARIABLE failed)
        if(failed OR NOT symbols)
            message(FATAL_ERROR "cannot read the import library of ${name}: ${import}")
        endif()
        # Every function the import library names: "__imp_F" (64-bit) or "__imp__F@N" (32-bit).
        string(REGEX MATCHALL "[ \t]I __imp__?[A-Za-z0-9_@?$]+" imports "${symbols}")
        set(def "EXPORTS\n")
        foreach(entry ${imports})
            # Whole-string patterns: CMake applies a replacement again after each match, and a
            # "^_" would take every leading underscore of a name such as __WSAFDIsSet.
            if(CMAKE_SIZEOF_VOID_P EQUAL 4)
                string(REGEX REPLACE "^[ \t]I __imp__(.*)$" "\\1" entry "${entry}")
            else()
                string(REGEX REPLACE "^[ \t]I __imp_(.*)$" "\\1" entry "${entry}")
            endif()
            string(APPEND def "${entry}\n")
        endforeach()
        # Made again only when the names change: a library with a new date relinks every
        # program, and a configure while the tests run (make dist's) would replace the
        # exe they are copying.
        set(stored "")
        if(EXISTS ${folder}/${name}.def)
            file(READ ${folder}/${name}.def stored)
        endif()
        if(NOT stored STREQUAL def OR NOT EXISTS ${folder}/lib${name}_delay.a)
            file(WRITE ${folder}/${name}.def "${def}")
            # -k: the 32-bit DLLs export the names without their @N.
            execute_process(COMMAND ${CMAKE_DLLTOOL} -k --input-def ${folder}/${name}.def --dllname ${name}.dll
                                    --output-delaylib ${folder}/lib${name}_delay.a RESULT_VARIABLE failed)
            if(failed)
                file(REMOVE ${folder}/${name}.def)
                message(FATAL_ERROR "dlltool could not make a delay-loaded import library of ${name}")
            endif()
        endif()
        list(APPEND libraries ${folder}/lib${name}_delay.a)
    endforeach()
    # The helper that loads a DLL at its first call.
    list(APPEND libraries delayimp)
    set(${variable} ${libraries} PARENT_SCOPE)
endfunction()
