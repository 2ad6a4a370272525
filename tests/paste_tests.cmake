# Copy and paste of channel-table rows: the tab-separated text and what
# pasting it stores, then the channel page driven by real Ctrl+C and Ctrl+V
# key presses on Qt's offscreen platform.
add_executable(vkt_channel_rows_tests test_channel_rows.cpp)
target_link_libraries(vkt_channel_rows_tests PRIVATE vkt_pages Qt6::Test GTest::gtest vkt_offscreen_main)
gtest_discover_tests(vkt_channel_rows_tests DISCOVERY_MODE PRE_TEST PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
