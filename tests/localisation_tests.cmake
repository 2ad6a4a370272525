# Text tables, language state, GBK texts and the table generator.
add_executable(vkt_localisation_tests test_localisation.cpp)
target_link_libraries(vkt_localisation_tests PRIVATE vkt_localisation vkt_table_parser
                      GTest::gtest GTest::gtest_main)
target_compile_definitions(vkt_localisation_tests PRIVATE
                           VKT_GEN_STRING_TABLES="$<TARGET_FILE:vkt_gen_string_tables>")
add_dependencies(vkt_localisation_tests vkt_gen_string_tables)
gtest_discover_tests(vkt_localisation_tests DISCOVERY_MODE PRE_TEST)
