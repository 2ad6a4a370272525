# The table of fields: value-index rules, shown texts and typed texts.
add_executable(vkt_field_tests test_fields.cpp)
target_link_libraries(vkt_field_tests PRIVATE vkt_localisation GTest::gtest)
gtest_discover_tests(vkt_field_tests DISCOVERY_MODE PRE_TEST)
