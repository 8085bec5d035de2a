# The three move dialogs, part of korvane_ui.
target_sources(korvane_ui PRIVATE
  exceptionunit.cpp exceptionunit.h
  reasonconclusionunit.cpp reasonconclusionunit.h
  statementunit.cpp statementunit.h
)
