# The command line's parsing, and "--eval -" reading standard input, under the same sanitizers:
# bytes in, the program's own code path, no process started.
# Run: build-fuzz/fuzz/fuzz_commandline -max_total_time=600 -dict=fuzz/commandline.dict
#      build-fuzz/fuzz/fuzz_evalinput -max_total_time=600 -rss_limit_mb=512 -max_len=70000
add_executable(fuzz_commandline ${CMAKE_CURRENT_LIST_DIR}/commandline_fuzz.cpp)
target_link_libraries(fuzz_commandline PRIVATE commandline)
target_link_options(fuzz_commandline PRIVATE -fsanitize=fuzzer)
add_executable(fuzz_evalinput ${CMAKE_CURRENT_LIST_DIR}/evalinput_fuzz.cpp)
target_link_libraries(fuzz_evalinput PRIVATE commandline)
target_link_options(fuzz_evalinput PRIVATE -fsanitize=fuzzer)
