#include "dotgraph.h"

#include "stagegraph.h"

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

std::string DotText(const TStageGraph &graph)
{
    std::string out = "digraph stage {\n"
                      "  rankdir=BT;\n"
                      "  node [shape=box, style=rounded, fontname=\"Sans\", fontsize=10];\n"
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
        appendEdge(out, name, DotBoxName(each.conclusion), "");
    }
    for (const TStageGraph::TAttack &attack : graph.Attacks) {
        appendEdge(out, DotBoxName(attack.exception), DotStepName(attack.step),
                   " [arrowhead=tee, color=\"#ff0000\", penwidth=1.5]");
    }
    for (const TStageGraph::TWarrantLink &link : graph.WarrantLinks) {
        appendEdge(out, DotBoxName(link.warrant), DotStepName(link.step),
                   " [style=dotted, arrowhead=none, constraint=false]");
    }
    out += "}\n";
    return out;
}
