# One library per layer folder. Sources are globbed so that a new file in a layer
# needs no edit here; a folder without sources yet becomes an interface target.
function(celltrove_add_layer name dir)
    cmake_parse_arguments(ARG "" "" "PUBLIC_DEPS" ${ARGN})
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS
        ${CMAKE_SOURCE_DIR}/${dir}/*.cpp ${CMAKE_SOURCE_DIR}/${dir}/*.h)
    list(FILTER sources INCLUDE REGEX "\\.cpp$")
    if(sources)
        file(GLOB_RECURSE headers CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.h)
        add_library(${name} STATIC ${sources} ${headers})
        target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
        target_link_libraries(${name} PUBLIC ${ARG_PUBLIC_DEPS})
        celltrove_warnings(${name})
    else()
        add_library(${name} INTERFACE)
        target_include_directories(${name} INTERFACE ${CMAKE_SOURCE_DIR}/src)
        target_link_libraries(${name} INTERFACE ${ARG_PUBLIC_DEPS})
    endif()
endfunction()

# A libFuzzer target for one reader. With CELLTROVE_FUZZ it links libFuzzer;
# otherwise the same entry point is linked with a replay main and every file of
# the corpus folders runs under CTest.
function(celltrove_add_fuzzer name source)
    cmake_parse_arguments(ARG "" "" "DEPS;CORPUS" ${ARGN})
    add_executable(${name} ${source})
    target_link_libraries(${name} PRIVATE ${ARG_DEPS})
    celltrove_warnings(${name})
    if(CELLTROVE_FUZZ)
        target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    else()
        target_sources(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests/fuzz/FuzzReplayMain.cpp
                                       ${CMAKE_SOURCE_DIR}/tests/fuzz/FuzzSweep.cpp)
        # The sweep cuts streams inside compound files.
        target_link_libraries(${name} PRIVATE office_ole)
        add_test(NAME ${name}_replay COMMAND ${name} ${ARG_CORPUS})
        # Leaks that system libraries keep or make themselves are not the reader's.
        set_tests_properties(${name}_replay PROPERTIES ENVIRONMENT
            "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0")
    endif()
endfunction()
