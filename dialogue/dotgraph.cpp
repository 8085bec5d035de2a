#include "dotgraph.h"

#include "stagegraph.h"

#include <cmath>
#include <utility>
#include <vector>

namespace {

// The length of the valid UTF-8 sequence that starts text at i, or 0.
std::size_t utf8Length(std::string_view text, std::size_t i)
{
    const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(text[at]); };
    const unsigned char lead = byte(i);
    std::size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead <= 0xDF ? 2
                       : lead >= 0xE0 && lead <= 0xEF                  ? 3
                       : lead >= 0xF0 && lead <= 0xF4                  ? 4
                                                                       : 0;
    if (length == 0 || i + length > text.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
    }
    // No overlong forms, surrogates or code points past U+10FFFF.
    if ((lead == 0xE0 && byte(i + 1) < 0xA0) || (lead == 0xED && byte(i + 1) > 0x9F)
        || (lead == 0xF0 && byte(i + 1) < 0x90) || (lead == 0xF4 && byte(i + 1) > 0x8F))
        return 0;
    return length;
}

// Long statements break at a space once a line holds this many characters, so that a box stays
// about as wide as a short sentence; a longer word stays whole.
constexpr std::size_t LabelWidth = 36;

// Text inside a DOT string used as a label: quotes and backslashes escaped, line breaks as
// centred breaks, other control bytes as spaces and bytes that are no UTF-8 as U+FFFD, since
// Graphviz reads UTF-8 only.
void appendLabelText(std::string &out, std::string_view text)
{
    std::size_t column = 0;                    // Characters on the line so far.
    std::size_t lastSpace = std::string::npos; // Where in out the line's last space is,
    std::size_t columnAfterSpace = 0;          // and the line's characters up to it.
    const auto advance = [&] {
        if (++column <= LabelWidth || lastSpace == std::string::npos)
            return;
        out.replace(lastSpace, 1, "\\n");
        column -= columnAfterSpace;
        lastSpace = std::string::npos;
    };
    for (std::size_t i = 0; i < text.size();) {
        const char each = text[i];
        const std::size_t length = utf8Length(text, i);
        if (length == 0) {
            out += "\xEF\xBF\xBD";
            ++i;
            advance();
            continue;
        }
        if (length > 1) {
            out.append(text, i, length);
            i += length;
            advance();
            continue;
        }
        ++i;
        if (each == '"' || each == '\\') {
            out += '\\';
            out += each;
        } else if (each == '\n') {
            out += "\\n";
            column = 0;
            lastSpace = std::string::npos;
            continue;
        } else if (each == ' ' || static_cast<unsigned char>(each) < 0x20 || each == 0x7F) {
            if (++column > LabelWidth) {
                out += "\\n";
                column = 0;
                lastSpace = std::string::npos;
            } else {
                lastSpace = out.size();
                out += ' ';
                columnAfterSpace = column;
            }
            continue;
        } else {
            out += each;
        }
        advance();
    }
}

} // namespace

namespace {

// Built by appending: gcc 12 at -O3 warns falsely on "b" + std::to_string(...).
std::string nodeName(char kind, int index)
{
    std::string name(1, kind);
    name += std::to_string(index + 1);
    return name;
}

// "  from -> to [attributes];"
void appendEdge(std::string &out, const std::string &from, const std::string &to,
                std::string_view attributes)
{
    out += "  ";
    out += from;
    out += " -> ";
    out += to;
    out += attributes;
    out += ";\n";
}

} // namespace

std::string DotBoxName(int box) { return nodeName('b', box); }
std::string DotStepName(int step) { return nodeName('r', step); }
std::string DotAttackName(int attack) { return nodeName('x', attack); }

namespace {

constexpr TKeyRow Key[] = {
    {TKeySample::Justified, "[+]", "justified, solid border"},
    {TKeySample::Unjustified, "[-]", "unjustified, dashed border"},
    {TKeySample::Undecided, "[?]", "undecided, dotted border"},
    {TKeySample::Issue, "(I)", "issue"},
    {TKeySample::Assumption, "(A)", "assumption"},
    {TKeySample::Attack, "--|", "an exception blocks a step"},
    {TKeySample::StepWarrant, "...", "a step's warrant, to its step"},
    {TKeySample::ExceptionWarrant, "- -", "an exception's warrant, to its line"},
};

} // namespace

std::span<const TKeyRow> KeyRows() { return Key; }

namespace {

// How DotText shapes a wide graph for a page, with Graphviz's own means: the leaf reasons of one
// conclusion staggered over up to StaggerRanks ranks (as Graphviz's unflatten -f -l does), the
// statements joined to nothing stacked in columns of a square grid by invisible edges (as its
// -c does), and the graph's joined parts packed together instead of standing in one row.
constexpr int StaggerRanks = 3;
constexpr int StaggerFrom = 2 * StaggerRanks; // Leaf reasons of one conclusion.

struct TShape {
    std::vector<int> minlen;            // Per step, of its edge to the conclusion: 1 is dot's own.
    std::vector<std::pair<int, int>> chains; // Invisible edges between isolated boxes.
    bool pack = false;
};

TShape pageShape(const TStageGraph &graph)
{
    const auto boxes = static_cast<int>(graph.Boxes.size());
    std::vector<int> degree(static_cast<std::size_t>(boxes), 0);
    std::vector<int> part(static_cast<std::size_t>(boxes));
    for (int box = 0; box < boxes; ++box)
        part[static_cast<std::size_t>(box)] = box;
    const auto find = [&](int box) {
        while (part[static_cast<std::size_t>(box)] != box)
            box = part[static_cast<std::size_t>(box)] =
                part[static_cast<std::size_t>(part[static_cast<std::size_t>(box)])];
        return box;
    };
    const auto join = [&](int a, int b) {
        ++degree[static_cast<std::size_t>(a)];
        ++degree[static_cast<std::size_t>(b)];
        part[static_cast<std::size_t>(find(a))] = find(b);
    };
    for (const TStageGraph::TStep &step : graph.Steps)
        join(step.reason, step.conclusion);
    const auto stepBox = [&](int step) {
        return graph.Steps[static_cast<std::size_t>(step)].conclusion;
    };
    for (const TStageGraph::TAttack &attack : graph.Attacks)
        join(attack.exception, stepBox(attack.step));
    for (const TStageGraph::TWarrantLink &link : graph.WarrantLinks)
        join(link.warrant, stepBox(link.step));

    TShape shape;
    shape.minlen.assign(graph.Steps.size(), 1);
    // Only a long row is staggered: more ranks cost the layout time, and a few reasons side by
    // side read best as they are.
    std::vector<int> leaves(static_cast<std::size_t>(boxes), 0);
    const auto isLeaf = [&](const TStageGraph::TStep &step) {
        return degree[static_cast<std::size_t>(step.reason)] == 1;
    };
    for (const TStageGraph::TStep &step : graph.Steps) {
        if (isLeaf(step))
            ++leaves[static_cast<std::size_t>(step.conclusion)];
    }
    std::vector<int> staggered(static_cast<std::size_t>(boxes), 0);
    for (std::size_t step = 0; step < graph.Steps.size(); ++step) {
        const TStageGraph::TStep &each = graph.Steps[step];
        const auto conclusion = static_cast<std::size_t>(each.conclusion);
        if (isLeaf(each) && leaves[conclusion] >= StaggerFrom)
            shape.minlen[step] = staggered[conclusion]++ % StaggerRanks + 1;
    }

    std::vector<int> isolated;
    std::vector<bool> joinedPart(static_cast<std::size_t>(boxes), false);
    int joinedParts = 0;
    for (int box = 0; box < boxes; ++box) {
        if (degree[static_cast<std::size_t>(box)] == 0) {
            isolated.push_back(box);
        } else if (const int root = find(box); !joinedPart[static_cast<std::size_t>(root)]) {
            joinedPart[static_cast<std::size_t>(root)] = true;
            ++joinedParts;
        }
    }
    const auto column = static_cast<std::size_t>(
        std::ceil(std::sqrt(static_cast<double>(isolated.size()))));
    for (std::size_t i = 1; i < isolated.size(); ++i) {
        if (i % column != 0)
            shape.chains.emplace_back(isolated[i - 1], isolated[i]);
    }
    shape.pack = joinedParts > 1;
    return shape;
}

} // namespace

std::string DotText(const TStageGraph &graph)
{
    const TShape shape = pageShape(graph);
    std::string out = "digraph stage {\n"
                      "  rankdir=BT;\n";
    // Graphviz 2.42 fails when it packs with the newer ranking, which is the one fast enough
    // for a long chain; a graph of one part needs no packing.
    out += shape.pack ? "  pack=true;\n  packmode=\"graph\";\n" : "  newrank=true;\n";
    out += "  node [shape=box, style=rounded, fontname=\"Sans\", fontsize=10];\n"
           "  edge [fontname=\"Sans\", fontsize=9];\n";
    for (int box = 0; box < static_cast<int>(graph.Boxes.size()); ++box) {
        const TStatement &statement = *graph.Boxes[static_cast<std::size_t>(box)];
        const TStatusLook look = StatusLook(statement.JustificationStatus);
        out += "  ";
        out += DotBoxName(box);
        out += " [label=\"";
        appendLabelText(out, statement.Text);
        out += "\\n";
        out += look.mark;
        out += ' ';
        out += StatementTypeName(statement.StatementType);
        out += "\", color=\"";
        out += look.colour;
        out += "\", style=\"rounded,";
        out += look.border;
        out += "\", penwidth=2];\n";
    }
    for (int step = 0; step < static_cast<int>(graph.Steps.size()); ++step) {
        const TStageGraph::TStep &each = graph.Steps[static_cast<std::size_t>(step)];
        const std::string name = DotStepName(step);
        out += "  ";
        out += name;
        out += " [shape=circle, label=\"\", width=0.15, height=0.15, style=filled, "
               "fillcolor=\"#000000\"];\n";
        appendEdge(out, DotBoxName(each.reason), name, " [arrowhead=none]");
        const int minlen = shape.minlen[static_cast<std::size_t>(step)];
        appendEdge(out, name, DotBoxName(each.conclusion),
                   minlen > 1 ? " [minlen=" + std::to_string(minlen) + "]" : std::string());
    }
    // An exception's line passes a point of its own, so that its warrant's link can end on it.
    for (int attack = 0; attack < static_cast<int>(graph.Attacks.size()); ++attack) {
        const TStageGraph::TAttack &each = graph.Attacks[static_cast<std::size_t>(attack)];
        const std::string name = DotAttackName(attack);
        out += "  ";
        out += name;
        out += " [shape=point, width=0.03, color=\"#ff0000\"];\n";
        appendEdge(out, DotBoxName(each.exception), name,
                   " [arrowhead=none, color=\"#ff0000\", penwidth=1.5]");
        appendEdge(out, name, DotStepName(each.step),
                   " [arrowhead=tee, color=\"#ff0000\", penwidth=1.5]");
    }
    for (const TStageGraph::TWarrantLink &link : graph.WarrantLinks) {
        if (link.exceptionWarrant)
            appendEdge(out, DotBoxName(link.warrant), DotAttackName(link.attack),
                       " [style=dashed, arrowhead=none, constraint=false]");
        else
            appendEdge(out, DotBoxName(link.warrant), DotStepName(link.step),
                       " [style=dotted, arrowhead=none, constraint=false]");
    }
    for (const auto &[below, above] : shape.chains)
        appendEdge(out, DotBoxName(below), DotBoxName(above), " [style=invis]");
    if (!graph.Boxes.empty()) {
        out += "  ";
        out += DotKeyName;
        out += " [shape=note, fontsize=9, margin=\"0.25,0.08\", label=\"";
        out += KeyTitle;
        out += "\\l";
        for (const TKeyRow &row : Key) {
            out += row.sampleText;
            out += ' ';
            out += row.words;
            out += "\\l";
        }
        out += "\"];\n";
    }
    out += "}\n";
    return out;
}
