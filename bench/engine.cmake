# ns per CalcFormula call, beside two references on the same texts: reading the numbers alone
# with std::from_chars, and muparser's one-shot path (SetExpr + Eval).
find_package(muparser REQUIRED)
add_executable(bench_engine ${CMAKE_CURRENT_LIST_DIR}/bench_engine.cpp)
target_link_libraries(bench_engine PRIVATE engine benchmark::benchmark muparser::muparser)
set_target_properties(bench_engine PROPERTIES AUTOMOC OFF)
