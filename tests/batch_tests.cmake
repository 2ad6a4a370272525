# The channel batch set: the filling rules and the window on Qt's offscreen platform.
add_executable(vkt_batch_tests test_batch_set.cpp)
target_link_libraries(vkt_batch_tests PRIVATE vkt_dialogs Qt6::Test GTest::gtest)
gtest_discover_tests(vkt_batch_tests DISCOVERY_MODE PRE_TEST PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
