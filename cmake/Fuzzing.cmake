# libFuzzer builds: the core is instrumented for coverage and checked by
# AddressSanitizer and UndefinedBehaviorSanitizer; each fuzz target links
# libFuzzer's main. Undefined behaviour aborts, so the fuzzer keeps the input.
set(KARVEL_FUZZ_SANITIZERS address,undefined)
set(KARVEL_FUZZ_EXTRA_FLAGS -fno-omit-frame-pointer -fno-sanitize-recover=undefined)

if(KARVEL_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "KARVEL_FUZZ needs clang for libFuzzer, not ${CMAKE_CXX_COMPILER_ID}: "
                            "configure with `cmake --preset fuzz`")
    endif()
    include(CheckCXXSourceCompiles)
    set(CMAKE_REQUIRED_FLAGS -fsanitize=fuzzer,${KARVEL_FUZZ_SANITIZERS})
    set(CMAKE_REQUIRED_LINK_OPTIONS -fsanitize=fuzzer,${KARVEL_FUZZ_SANITIZERS})
    check_cxx_source_compiles([[
        #include <cstddef>
        #include <cstdint>
        extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t*, std::size_t) { return 0; }
    ]] KARVEL_HAVE_LIBFUZZER)
    unset(CMAKE_REQUIRED_FLAGS)
    unset(CMAKE_REQUIRED_LINK_OPTIONS)
    if(NOT KARVEL_HAVE_LIBFUZZER)
        message(FATAL_ERROR "clang cannot link libFuzzer with ASan and UBSan: "
                            "install the compiler runtime (Debian: libclang-rt-14-dev)")
    endif()
endif()

# Coverage instrumentation and sanitizers for code under test, without libFuzzer's main.
function(karvel_fuzz_instrument target)
    if(KARVEL_FUZZ)
        target_compile_options(${target} PRIVATE
                               -fsanitize=fuzzer-no-link,${KARVEL_FUZZ_SANITIZERS}
                               ${KARVEL_FUZZ_EXTRA_FLAGS})
    endif()
endfunction()
