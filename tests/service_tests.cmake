# The service windows: band limits and the password windows, their rules
# without widgets and the windows on Qt's offscreen platform.
vkt_window_test(vkt_service_window_tests test_service_windows.cpp vkt_app vkt_cli_lib)
