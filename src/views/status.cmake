# The overall status tab: statistics and charts.
target_sources(orvane_views PRIVATE
  Statistics.cpp Statistics.h
  StatisticsModel.cpp StatisticsModel.h
)
target_sources(orvane_windows PRIVATE
  Pie3DWidget.cpp Pie3DWidget.h
  ClockBarView.cpp ClockBarView.h
  StatusChart.cpp StatusChart.h
)
