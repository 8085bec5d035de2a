#pragma once

#include <string>

struct TStageGraph;

// The graph as Argdown text. Each box is declared once, "[title]: text #type #status", the title
// made from its text (shortened, unique). Then each step once, as the argument "<title>" whose
// premise-conclusion structure has the reason as premise and the conclusion (a step from a
// statement to itself included); last, under each blocked step's title, a "<_ [title]" line for
// each of its exceptions, in their order. Statement text is
// made plain: what Argdown reads as markup escaped, line breaks and control bytes as blanks,
// bytes that are no UTF-8 as U+FFFD.
std::string ArgdownText(const TStageGraph &graph);
