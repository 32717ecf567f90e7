# Start to the first window mapped and painted, counted by tools/callgrind-window: the program
# itself (its own main(), unchanged) and the floor, a window with a label and a line edit. The
# probe ends each of them once the window is painted.
add_executable(startup_floor ${CMAKE_CURRENT_LIST_DIR}/startup_floor.cpp
  ${CMAKE_CURRENT_LIST_DIR}/startupprobe.cpp)
target_link_libraries(startup_floor PRIVATE Qt6::Widgets)
add_executable(startup_verodazava ${PROJECT_SOURCE_DIR}/app/main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/startupprobe.cpp)
target_link_libraries(startup_verodazava PRIVATE calculatorapp)
