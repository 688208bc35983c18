# PC list tests.
orvane_test(tst_pclist_statement LIBS orvane_views SOURCES tst_pclist_statement.cpp)
orvane_test(tst_pclist_model LIBS orvane_windows SOURCES tst_pclist_model.cpp tst_pclist_support.h
  LABELS windows)
orvane_test(tst_win_pclist LIBS orvane_windows SOURCES tst_win_pclist.cpp tst_pclist_support.h
  LABELS windows)
