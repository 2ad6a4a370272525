# The adjustment window: its rules without widgets, the window on Qt's
# offscreen platform and its exchanges with the simulated radio on a pty.
vkt_window_test(vkt_adjustment_window_tests test_adjustment_window.cpp vkt_app)
