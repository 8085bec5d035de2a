# Tests of the move dialogs and their shared controls, in the desktop program's test executable.
target_sources(korvane_ui_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/movecontrols_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/movedialogs_test.cpp
)
