# One static library per folder, each allowed to include only its own folder and
# the folders below it. A library's include path is a tree of links made here, so
# that an include from a layer above is not found and fails the build.
file(REMOVE_RECURSE ${CMAKE_BINARY_DIR}/layers)

# tallyglass_layer(<folder> [OBJECT] [PORTABLE sources...] [WINDOWS sources...] [DEPENDS folders...] [LINK libraries...])
# PORTABLE sources are built everywhere (and natively tested); WINDOWS ones only for Windows.
function(tallyglass_layer folder)
    cmake_parse_arguments(LAYER "OBJECT" "" "PORTABLE;WINDOWS;DEPENDS;LINK" ${ARGN})
    set(target tallyglass_${folder})
    set(sources ${LAYER_PORTABLE})
    if(WIN32)
        list(APPEND sources ${LAYER_WINDOWS})
    endif()
    # res/ holds data every layer may name (resource ids, pages), not code.
    set(visible ${folder} res)
    foreach(below ${LAYER_DEPENDS})
        get_property(seen GLOBAL PROPERTY TALLYGLASS_VISIBLE_${below})
        if(NOT seen)
            message(FATAL_ERROR "layer ${folder} depends on ${below}, which is not declared below it")
        endif()
        list(APPEND visible ${seen})
    endforeach()
    list(REMOVE_DUPLICATES visible)
    set_property(GLOBAL PROPERTY TALLYGLASS_VISIBLE_${folder} ${visible})
    set(tree ${CMAKE_BINARY_DIR}/layers/${folder})
    if(CMAKE_HOST_WIN32)
        # Links need rights a Windows developer may not have: there the sources' root
        # serves, and the layers are held by the build that links them (Linux, CI).
        set(tree ${CMAKE_SOURCE_DIR})
    else()
        file(MAKE_DIRECTORY ${tree})
        foreach(name ${visible})
            file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${name} ${tree}/${name} SYMBOLIC)
        endforeach()
    endif()
    set_property(GLOBAL PROPERTY TALLYGLASS_TREE_${folder} ${tree})
    if(NOT sources)
        add_library(${target} INTERFACE)
        foreach(below ${LAYER_DEPENDS})
            target_link_libraries(${target} INTERFACE tallyglass_${below})
        endforeach()
        return()
    endif()
    # OBJECT: every object goes into each program that links it (an entry point nothing calls by name).
    if(LAYER_OBJECT)
        add_library(${target} OBJECT ${sources})
    else()
        add_library(${target} STATIC ${sources})
    endif()
    target_include_directories(${target} PRIVATE ${tree})
    target_include_directories(${target} SYSTEM PRIVATE ${CMAKE_BINARY_DIR}/third_party)
    foreach(below ${LAYER_DEPENDS})
        target_link_libraries(${target} PUBLIC tallyglass_${below})
    endforeach()
    target_link_libraries(${target} PUBLIC ${LAYER_LINK})
    tallyglass_warnings(${target})
    if(WIN32 AND LAYER_WINDOWS)
        tallyglass_windows_headers(${target})
        # Portable sources see no Windows header, here as in the native build: neither
        # the precompiled one nor, in a unity build, a Windows source's before them.
        set_source_files_properties(${LAYER_PORTABLE} TARGET_DIRECTORY ${target} PROPERTIES SKIP_PRECOMPILE_HEADERS ON
                                    SKIP_UNITY_BUILD_INCLUSION ON)
    endif()
    if(TALLYGLASS_FUZZ)
        # Coverage feedback from the code under test, not only from the fuzz targets.
        target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link)
        target_link_options(${target} INTERFACE -fsanitize=fuzzer-no-link)
    endif()
endfunction()

# <windows.h> and the library headers every Windows source uses, parsed once per
# target instead of once per source: most of a Windows source's compile time. The
# sockets' header comes first, as it must come before <windows.h> where it is used.
# The lowest Windows layer makes the header; the layers above use its.
function(tallyglass_windows_headers target)
    get_property(maker GLOBAL PROPERTY TALLYGLASS_WINDOWS_HEADERS)
    if(NOT MSVC)
        target_compile_options(${target} PRIVATE -Winvalid-pch)  # a header not taken fails, not slows, the build
    endif()
    if(maker AND NOT ARGN)
        target_precompile_headers(${target} REUSE_FROM ${maker})
        return()
    endif()
    target_precompile_headers(${target} PRIVATE <winsock2.h> <windows.h> <algorithm> <cstdint> <functional> <memory>
                              <optional> <string> <vector> ${ARGN})
    if(NOT maker)
        set_property(GLOBAL PROPERTY TALLYGLASS_WINDOWS_HEADERS ${target})
    endif()
endfunction()

# The include tree of a layer, for a target that is compiled as part of it.
function(tallyglass_in_layer target folder)
    get_property(tree GLOBAL PROPERTY TALLYGLASS_TREE_${folder})
    target_include_directories(${target} PRIVATE ${tree})
    target_include_directories(${target} SYSTEM PRIVATE ${CMAKE_BINARY_DIR}/third_party)
endfunction()
