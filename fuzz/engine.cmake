# The formula engine under libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer.
add_executable(fuzz_calcformula ${CMAKE_CURRENT_LIST_DIR}/fuzz_calcformula.cpp)
target_link_libraries(fuzz_calcformula PRIVATE engine)
target_link_options(fuzz_calcformula PRIVATE -fsanitize=fuzzer)
set_target_properties(fuzz_calcformula PROPERTIES AUTOMOC OFF)
