#pragma once

#include <string>

struct TStageGraph;

// The graph as Argdown text: a declaration "[sID]: text" per box (ID the statement's id), with a
// "+>" line for each step its statement is the reason of and an "_>" line for each step it
// blocks; then each step as the argument "<Step N>" (N its place in the graph's steps) whose
// premise-conclusion structure has the reason as premise and the conclusion. Statement text is
// made plain: Argdown's markup characters escaped, line breaks and control bytes as blanks,
// bytes that are no UTF-8 as U+FFFD.
std::string ArgdownText(const TStageGraph &graph);
