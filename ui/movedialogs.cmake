# The three move dialogs and the controls they share, part of korvane_ui.
target_sources(korvane_ui PRIVATE
  exceptionunit.cpp exceptionunit.h
  movecontrols.cpp movecontrols.h
  stepcontrols.cpp stepcontrols.h
  reasonconclusionunit.cpp reasonconclusionunit.h
  statementunit.cpp statementunit.h
)
