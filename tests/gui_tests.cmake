# The window program on Qt's offscreen platform.
vkt_window_test(vkt_gui_tests test_main_window.cpp vkt_app)

vkt_window_test(vkt_channel_page_tests test_channel_page.cpp vkt_app)

# The window and the command line store the same bytes; nothing is stored
# that the user did not change.
vkt_window_test(vkt_one_store_path_tests test_one_store_path.cpp vkt_app)

# Undo and redo of the project's steps in the window.
vkt_window_test(vkt_undo_tests test_undo.cpp vkt_app)
