# Windows of the import.
target_sources(orvane_windows PRIVATE
  Uip16Upd.cpp Uip16Upd.h
)
