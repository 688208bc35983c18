# Overall status tests.
orvane_test(tst_status LIBS orvane_views SOURCES tst_status.cpp)
orvane_test(tst_status_chart LIBS orvane_windows SOURCES tst_status_chart.cpp LABELS windows)
orvane_test(tst_status_page LIBS orvane_windows SOURCES tst_status_page.cpp LABELS windows)
