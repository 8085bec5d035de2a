#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

struct TStageGraph;

// The graph as Graphviz DOT source for the layered layout: boxes "b1", "b2", ... in the order of
// the graph's boxes, step nodes "r1", "r2", ... in the order of its steps; reasons below their
// conclusions. Statement text is written as valid UTF-8 whatever its bytes, a long one broken
// into lines at spaces.
std::string DotText(const TStageGraph &graph);

// The name DotText gives a box, a step node, or the point on an exception's line where its
// warrant's link ends, for reading a layout back.
std::string DotBoxName(int box);
std::string DotStepName(int step);
std::string DotAttackName(int attack);

// The key DotText writes beside a graph that has boxes: one note node, DotKeyName, whose label
// gives each row's sample as text and then its words; a DOT reader can drop that node alone.
enum class TKeySample : std::uint8_t {
    Justified = 0,
    Unjustified = 1,
    Undecided = 2,
    Issue = 3,
    Assumption = 4,
    Attack = 5,
    StepWarrant = 6,
    ExceptionWarrant = 7,
};
struct TKeyRow {
    TKeySample sample;
    std::string_view sampleText; // How a text picture shows the sample.
    std::string_view words;
};
std::span<const TKeyRow> KeyRows();
constexpr std::string_view DotKeyName = "key";
constexpr std::string_view KeyTitle = "Key";
