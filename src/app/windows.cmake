# Windows of the application shell and the Orvane executable.
target_sources(orvane_windows PRIVATE
  MessageBoxes.cpp MessageBoxes.h
  Unit1.cpp Unit1.h
  PasswordEdit.cpp PasswordEdit.h
  TableCheckReporter.cpp TableCheckReporter.h
  MainMenu.cpp MainMenu.h
  OverallStatusPage.cpp OverallStatusPage.h
  PcListPage.cpp PcListPage.h
  ApplicationsPage.cpp ApplicationsPage.h
  LeasePage.cpp LeasePage.h
  ReportsPage.cpp ReportsPage.h
  Umain.cpp Umain.h
  UDBSetting.cpp UDBSetting.h
  LoginDialog.cpp LoginDialog.h
  UreadMe.cpp UreadMe.h
  VersionDialog.cpp VersionDialog.h
  HelpViewer.cpp HelpViewer.h
)
target_link_libraries(orvane_windows PUBLIC orvane_import)

add_executable(Orvane main.cpp)
target_link_libraries(Orvane PRIVATE orvane_windows orvane_import)
orvane_defaults(Orvane)
set_target_properties(Orvane PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${ORVANE_PROGRAM_DIR})

# The files that lie beside the program: readme.txt in CP932 (the source is
# UTF-8) and our HTML help.
find_program(ORVANE_ICONV iconv REQUIRED)
set(_orvane_readme_src ${CMAKE_SOURCE_DIR}/data/readme.txt)
set(_orvane_readme_out ${ORVANE_PROGRAM_DIR}/readme.txt)
add_custom_command(
  OUTPUT ${_orvane_readme_out}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ORVANE_PROGRAM_DIR}
  COMMAND ${ORVANE_ICONV} -f UTF-8 -t CP932 -o ${_orvane_readme_out} ${_orvane_readme_src}
  DEPENDS ${_orvane_readme_src}
  COMMENT "Converting readme.txt to CP932"
  VERBATIM)

file(GLOB _orvane_help_files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/help/*)
set(_orvane_help_stamp ${CMAKE_CURRENT_BINARY_DIR}/help.stamp)
add_custom_command(
  OUTPUT ${_orvane_help_stamp}
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/data/help ${ORVANE_PROGRAM_DIR}/help
  COMMAND ${CMAKE_COMMAND} -E touch ${_orvane_help_stamp}
  DEPENDS ${_orvane_help_files}
  COMMENT "Copying the help to the program folder"
  VERBATIM)

add_custom_target(orvane_program_files ALL DEPENDS ${_orvane_readme_out} ${_orvane_help_stamp})
add_dependencies(Orvane orvane_program_files)
