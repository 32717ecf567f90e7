# Memory the chart window takes for its title: bytes in use while it is open.
add_executable(bench_chart ${CMAKE_CURRENT_LIST_DIR}/bench_chart.cpp)
target_link_libraries(bench_chart PRIVATE chart benchmark::benchmark)
# The fixed print target of the tests.
target_include_directories(bench_chart PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
