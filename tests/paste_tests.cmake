# Copy and paste of channel-table rows: the tab-separated text and what
# pasting it stores, then the channel page driven by real Ctrl+C and Ctrl+V
# key presses on Qt's offscreen platform.
vkt_window_test(vkt_channel_rows_tests test_channel_rows.cpp vkt_pages)
