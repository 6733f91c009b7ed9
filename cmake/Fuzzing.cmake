# With OMBREL_FUZZ every compile of the build carries libFuzzer's coverage counters (fuzzer-no-link), not only
# the targets' own sources: without them libFuzzer is blind to the libraries that hold the readers. Only the fuzz
# targets link libFuzzer itself (fuzz/CMakeLists.txt); the sanitizers of OMBREL_SANITIZE stay as they are.
if(OMBREL_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "OMBREL_FUZZ needs clang (cmake --preset fuzz)")
    endif()
    # -O1 as libFuzzer's own documentation builds: several times the executions of -O0, and the assertions of a
    # debug build stay.
    add_compile_options(-fsanitize=fuzzer-no-link -O1)
endif()
