# Random bytes through the formula file reader: no crash, no undefined behaviour, bounded
# memory. Run: build-fuzz/fuzz/fuzz_formulafile -max_total_time=600 -rss_limit_mb=512
add_executable(fuzz_formulafile ${CMAKE_CURRENT_LIST_DIR}/formulafile_fuzz.cpp)
target_link_libraries(fuzz_formulafile PRIVATE files)
target_link_options(fuzz_formulafile PRIVATE -fsanitize=fuzzer)
