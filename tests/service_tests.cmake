# The service windows: band limits and the password windows, their rules
# without widgets and the windows on Qt's offscreen platform.
add_executable(vkt_service_window_tests test_service_windows.cpp)
target_link_libraries(vkt_service_window_tests PRIVATE vkt_app vkt_cli_lib Qt6::Test GTest::gtest vkt_offscreen_main)
gtest_discover_tests(vkt_service_window_tests DISCOVERY_MODE PRE_TEST PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
