#pragma once

#include <string>
#include <vector>

struct TAifExtras;
struct TStageGraph;

// The graph in the JSON form of the Argument Interchange Format: an I-node per box, an RA-node
// per step (reason -> RA -> conclusion), a CA-node per attack (exception -> CA -> the step's RA),
// node and edge ids as decimal strings from "1". Korvane's own part goes in one more top-level
// object, "korvane", that other readers skip: each I-node's id, type and status, and moveLines
// (the move file's lines, as MoveTextLines gives them), which ReadAifFile replays. Bytes that
// are no UTF-8 are written as U+FFFD. With extras from an import, the file's own node objects
// (schemes, timestamps) are written for the boxes, steps and attacks that came from them, and
// its other nodes, locutions and those edges whose two ends are still written, after Korvane's.
std::string AifText(const TStageGraph &graph, const std::vector<std::string> &moveLines,
                    const TAifExtras *extras = nullptr);
