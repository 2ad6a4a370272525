# vkt410-cli get and set: the controls and grid cells by name, in-process.
add_executable(vkt_cli_field_tests test_cli_fields.cpp)
target_link_libraries(vkt_cli_field_tests PRIVATE vkt_cli_lib vkt_localisation vkt_data Qt6::Core
                      GTest::gtest GTest::gtest_main)
gtest_discover_tests(vkt_cli_field_tests DISCOVERY_MODE PRE_TEST)
