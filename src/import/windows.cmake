# Windows of the import and the main window's import commands.
target_sources(orvane_windows PRIVATE
  Uip16Upd.cpp Uip16Upd.h
  UfolderSel.cpp UfolderSel.h
  Uoption.cpp Uoption.h
  ImportCommand.cpp ImportCommand.h
  StoreRequired.cpp StoreRequired.h
  WaitCursor.h
)
