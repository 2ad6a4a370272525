# Channel lists as CSV files.
add_executable(vkt_channel_csv_tests test_channel_csv.cpp)
target_link_libraries(vkt_channel_csv_tests PRIVATE vkt_localisation GTest::gtest)
gtest_discover_tests(vkt_channel_csv_tests DISCOVERY_MODE PRE_TEST)
