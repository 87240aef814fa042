# The libFuzzer build: clang's fuzzer instrumentation with AddressSanitizer
# and UBSan over everything the fuzz target links.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "The fuzz target needs clang: -DCMAKE_CXX_COMPILER=clang++")
endif()
add_compile_options(-g -fno-omit-frame-pointer -fsanitize=fuzzer-no-link,address,undefined
                    -fno-sanitize-recover=undefined)
add_link_options(-fsanitize=address,undefined)
