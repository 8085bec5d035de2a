#pragma once

#include <string>
#include <string_view>

struct TStageGraph;

// The graph as Graphviz DOT source for the layered layout: boxes "b1", "b2", ... in the order of
// the graph's boxes, step nodes "r1", "r2", ... in the order of its steps; reasons below their
// conclusions. Statement text is written as valid UTF-8 whatever its bytes, a long one broken
// into lines at spaces.
std::string DotText(const TStageGraph &graph);

// The name DotText gives a box or a step node, for reading a layout back.
std::string DotBoxName(int box);
std::string DotStepName(int step);
