# The PC list and its display settings.
target_sources(orvane_views PRIVATE
  PcListFields.cpp PcListFields.h
  PcListStatement.cpp PcListStatement.h
  PcListModel.cpp PcListModel.h
  PcDeletion.cpp PcDeletion.h
)
# The model gives the grey background of removed PCs (QColor).
target_link_libraries(orvane_views PUBLIC Qt6::Gui)

target_sources(orvane_windows PRIVATE
  PcGridColumns.cpp PcGridColumns.h
  UhyojiJyun.cpp UhyojiJyun.h
)
