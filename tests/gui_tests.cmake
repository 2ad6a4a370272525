# The window program on Qt's offscreen platform.
add_executable(vkt_gui_tests test_main_window.cpp)
target_link_libraries(vkt_gui_tests PRIVATE vkt_app Qt6::Test GTest::gtest vkt_offscreen_main)
gtest_discover_tests(vkt_gui_tests DISCOVERY_MODE PRE_TEST PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")

add_executable(vkt_channel_page_tests test_channel_page.cpp)
target_link_libraries(vkt_channel_page_tests PRIVATE vkt_app Qt6::Test GTest::gtest vkt_offscreen_main)
gtest_discover_tests(vkt_channel_page_tests DISCOVERY_MODE PRE_TEST PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")

# The window and the command line store the same bytes; nothing is stored
# that the user did not change.
add_executable(vkt_one_store_path_tests test_one_store_path.cpp)
target_link_libraries(vkt_one_store_path_tests PRIVATE vkt_app Qt6::Test GTest::gtest vkt_offscreen_main)
gtest_discover_tests(vkt_one_store_path_tests DISCOVERY_MODE PRE_TEST PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")

# Undo and redo of the project's steps in the window.
add_executable(vkt_undo_tests test_undo.cpp)
target_link_libraries(vkt_undo_tests PRIVATE vkt_app Qt6::Test GTest::gtest vkt_offscreen_main)
gtest_discover_tests(vkt_undo_tests DISCOVERY_MODE PRE_TEST PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
