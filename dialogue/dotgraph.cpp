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

// Text inside a DOT string used as a label: quotes and backslashes escaped, line breaks as
// centred breaks, other control bytes as spaces and bytes that are no UTF-8 as U+FFFD, since
// Graphviz reads UTF-8 only.
void appendLabelText(std::string &out, std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const char each = text[i];
        const std::size_t length = utf8Length(text, i);
        if (length == 0) {
            out += "\xEF\xBF\xBD";
            ++i;
            continue;
        }
        if (length > 1) {
            out.append(text, i, length);
            i += length;
            continue;
        }
        ++i;
        if (each == '"' || each == '\\') {
            out += '\\';
            out += each;
        } else if (each == '\n') {
            out += "\\n";
        } else if (static_cast<unsigned char>(each) < 0x20 || each == 0x7F) {
            out += ' ';
        } else {
            out += each;
        }
    }
}

} // namespace

// Prefixed in place: GCC 12 at -O3 warns (-Wrestrict) of an overlap in "b" + std::to_string(n).
std::string DotBoxName(int box) { return std::to_string(box + 1).insert(0, 1, 'b'); }
std::string DotStepName(int step) { return std::to_string(step + 1).insert(0, 1, 'r'); }

std::string DotText(const TStageGraph &graph)
{
    std::string out = "digraph stage {\n"
                      "  rankdir=BT;\n"
                      "  node [shape=box, style=rounded, fontname=\"Sans\", fontsize=10];\n"
                      "  edge [fontname=\"Sans\", fontsize=9];\n";
    for (int box = 0; box < static_cast<int>(graph.Boxes.size()); ++box) {
        const TStatement &statement = *graph.Boxes[static_cast<std::size_t>(box)];
        const TStatusLook look = StatusLook(statement.JustificationStatus);
        out += "  " + DotBoxName(box) + " [label=\"";
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
        out += "  " + name + " [shape=circle, label=\"\", width=0.15, height=0.15, style=filled, "
                             "fillcolor=\"#000000\"];\n";
        out += "  " + DotBoxName(each.reason) + " -> " + name + " [arrowhead=none];\n";
        out += "  " + name + " -> " + DotBoxName(each.conclusion) + ";\n";
    }
    for (const TStageGraph::TAttack &attack : graph.Attacks) {
        out += "  " + DotBoxName(attack.exception) + " -> " + DotStepName(attack.step)
               + " [arrowhead=tee, color=\"#ff0000\", penwidth=1.5];\n";
    }
    for (const TStageGraph::TWarrantLink &link : graph.WarrantLinks) {
        out += "  " + DotBoxName(link.warrant) + " -> " + DotStepName(link.step)
               + " [style=dotted, arrowhead=none, constraint=false];\n";
    }
    out += "}\n";
    return out;
}
