# Write/read cycles against the simulated radio with the resident memory
# printed as they go.
add_executable(vkt410-bench-soak ${CMAKE_CURRENT_SOURCE_DIR}/bench_soak.cpp)
target_link_libraries(vkt410-bench-soak PRIVATE vkt_radio_link_qt)
