# The five-tone page: its rules and grid cells without widgets, and the page
# itself driven by real key and mouse events on Qt's offscreen platform.
add_executable(vkt_five_tone_tests test_five_tone.cpp)
target_link_libraries(vkt_five_tone_tests PRIVATE vkt_localisation GTest::gtest GTest::gtest_main)
gtest_discover_tests(vkt_five_tone_tests DISCOVERY_MODE PRE_TEST)

vkt_window_test(vkt_five_tone_page_tests test_five_tone_page.cpp vkt_pages)
