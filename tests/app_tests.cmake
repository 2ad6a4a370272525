# The configuration file "_config.ini".
add_executable(vkt_app_config_tests test_app_config.cpp)
target_link_libraries(vkt_app_config_tests PRIVATE vkt_app_config Qt6::Core GTest::gtest GTest::gtest_main)
gtest_discover_tests(vkt_app_config_tests DISCOVERY_MODE PRE_TEST)
