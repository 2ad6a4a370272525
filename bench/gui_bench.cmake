add_executable(vkt410-bench-gui ${CMAKE_CURRENT_SOURCE_DIR}/bench_gui.cpp)
target_link_libraries(vkt410-bench-gui PRIVATE vkt_app Qt6::Test)
