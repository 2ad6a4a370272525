# The DTMF and FM pages: their rules without widgets, and the pages driven
# with real key and mouse events on Qt's offscreen platform.
add_executable(vkt_dtmf_fm_tests test_dtmf_fm.cpp)
target_link_libraries(vkt_dtmf_fm_tests PRIVATE vkt_localisation GTest::gtest)
gtest_discover_tests(vkt_dtmf_fm_tests DISCOVERY_MODE PRE_TEST)

vkt_window_test(vkt_dtmf_fm_page_tests test_dtmf_fm_pages.cpp vkt_pages)
