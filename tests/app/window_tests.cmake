# Window tests (offscreen).
orvane_test(tst_win_shell LIBS orvane_windows SOURCES tst_win_shell.cpp LABELS windows)
orvane_test(tst_win_form1 LIBS orvane_windows SOURCES tst_win_form1.cpp LABELS windows)
orvane_test(tst_win_main LIBS orvane_windows SOURCES tst_win_main.cpp LABELS windows)
orvane_test(tst_win_dbsetting LIBS orvane_windows SOURCES tst_win_dbsetting.cpp LABELS windows)
orvane_test(tst_win_ip16upd LIBS orvane_windows SOURCES tst_win_ip16upd.cpp LABELS windows)
