# The test build runs every reader under ASan and UBSan, so a memory error fails CI.
if(CELLTROVE_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

if(CELLTROVE_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "CELLTROVE_FUZZ needs clang (CXX=clang++)")
    endif()
    # Every object is instrumented for coverage; only fuzz programs link libFuzzer's main.
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined)
    add_link_options(-fsanitize=address,undefined)
endif()
