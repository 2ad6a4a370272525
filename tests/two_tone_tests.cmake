# Two-tone signalling: the tone sets, the lead delays and the rules of the
# page's grid cells without widgets, then the page itself driven by real key
# and mouse events on Qt's offscreen platform.
add_executable(vkt_two_tone_tests test_two_tone.cpp)
target_link_libraries(vkt_two_tone_tests PRIVATE vkt_localisation GTest::gtest)
gtest_discover_tests(vkt_two_tone_tests DISCOVERY_MODE PRE_TEST)

add_executable(vkt_two_tone_page_tests test_two_tone_page.cpp)
target_link_libraries(vkt_two_tone_page_tests PRIVATE vkt_pages Qt6::Test GTest::gtest)
gtest_discover_tests(vkt_two_tone_page_tests DISCOVERY_MODE PRE_TEST PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
