# Faults: the serial line through pseudo-terminals with a misbehaving
# radio, saves that fail or are killed part-way, and the inputs the
# fuzzers found.
add_executable(vkt_fault_tests test_faults.cpp)
target_link_libraries(vkt_fault_tests PRIVATE vkt_radio_link_qt GTest::gtest)
gtest_discover_tests(vkt_fault_tests DISCOVERY_MODE PRE_TEST)

add_executable(vkt_file_fault_tests test_file_faults.cpp)
target_link_libraries(vkt_file_fault_tests PRIVATE vkt_data GTest::gtest GTest::gtest_main)
gtest_discover_tests(vkt_file_fault_tests DISCOVERY_MODE PRE_TEST)
