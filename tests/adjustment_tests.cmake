# The adjustment window: its rules without widgets, the window on Qt's
# offscreen platform and its exchanges with the simulated radio on a pty.
add_executable(vkt_adjustment_window_tests test_adjustment_window.cpp)
target_link_libraries(vkt_adjustment_window_tests PRIVATE vkt_app Qt6::Test GTest::gtest vkt_offscreen_main)
gtest_discover_tests(vkt_adjustment_window_tests DISCOVERY_MODE PRE_TEST PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
