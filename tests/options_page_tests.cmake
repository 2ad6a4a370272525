# The rules of the options page's two dialogs' cells, and the page with its
# dialogs driven by real key and mouse events on Qt's offscreen platform.
add_executable(vkt_dialog_rules_tests test_dialog_rules.cpp)
target_link_libraries(vkt_dialog_rules_tests PRIVATE vkt_localisation GTest::gtest GTest::gtest_main)
gtest_discover_tests(vkt_dialog_rules_tests DISCOVERY_MODE PRE_TEST)

vkt_window_test(vkt_options_page_tests test_options_page.cpp vkt_app)
