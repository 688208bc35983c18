# Windows of the import and the main window's import commands (offscreen).
orvane_test(tst_win_foldersel LIBS orvane_windows SOURCES tst_win_foldersel.cpp LABELS windows)
orvane_test(tst_win_option LIBS orvane_windows SOURCES tst_win_option.cpp LABELS windows)
orvane_test(tst_win_import LIBS orvane_windows orvane_samplegen SOURCES tst_win_import.cpp
            LABELS windows)
