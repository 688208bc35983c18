# Tests of the window-free helpers and settings.
orvane_test(tst_texthelpers LIBS orvane_base SOURCES tst_texthelpers.cpp)
orvane_test(tst_cp932 LIBS orvane_base SOURCES tst_cp932.cpp)
orvane_test(tst_inifile LIBS orvane_base SOURCES tst_inifile.cpp)
orvane_test(tst_programpaths LIBS orvane_base SOURCES tst_programpaths.cpp)
orvane_test(tst_windowplacement LIBS orvane_base SOURCES tst_windowplacement.cpp)
orvane_test(tst_gridcolumnsstate LIBS orvane_base SOURCES tst_gridcolumnsstate.cpp)
orvane_test(tst_appsettings LIBS orvane_base SOURCES tst_appsettings.cpp)
