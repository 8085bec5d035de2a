#include "argdownwriter.h"

#include "stagegraph.h"
#include "textfile.h"

#include <set>
#include <string_view>
#include <utility>
#include <vector>

namespace {

// Characters that start markup, mentions, tags, links, comments or data in Argdown text; a
// backslash makes any of them plain.
constexpr std::string_view Markup = "\\[]<>*_#@{}/`";

void appendPlain(std::string &out, std::string_view text)
{
    std::string plain;
    while (!text.empty()) {
        const std::size_t length = Utf8SequenceLength(text);
        if (length == 0) {
            plain += "\xEF\xBF\xBD";
            text.remove_prefix(1);
            continue;
        }
        const char each = text.front();
        if (length == 1 && (static_cast<unsigned char>(each) < 0x20 || each == 0x7F)) {
            plain += ' ';
        } else {
            if (length == 1 && Markup.find(each) != std::string_view::npos)
                plain += '\\';
            plain.append(text.substr(0, length));
        }
        text.remove_prefix(length);
    }
    // Argdown drops blanks around a statement's text; a text of blanks only is no text.
    const std::size_t first = plain.find_first_not_of(' ');
    if (first == std::string::npos)
        return;
    const std::size_t last = plain.find_last_not_of(' ');
    out += ": ";
    out.append(plain, first, last - first + 1);
}

bool isDigits(std::string_view text)
{
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

} // namespace

std::string ArgdownText(const TStageGraph &graph)
{
    // Titles from the ids the user sees, unique even for a graph not made from one stage.
    std::vector<std::string> titles;
    std::set<std::string> taken;
    for (std::size_t box = 0; box < graph.Boxes.size(); ++box) {
        const std::string &id = graph.Boxes[box]->Id;
        std::string title = isDigits(id) ? id : std::to_string(box + 1).insert(0, 1, 'b');
        title.insert(0, 1, 's');
        if (!taken.insert(title).second) {
            title += '-';
            title += std::to_string(box + 1);
            taken.insert(title);
        }
        title.insert(0, 1, '[');
        title += ']';
        titles.push_back(std::move(title));
    }
    std::vector<std::vector<std::string>> relations(graph.Boxes.size());
    const auto stepTitle = [](int step) { return "<Step " + std::to_string(step + 1) + ">"; };
    for (const TStageGraph::TStep &step : graph.Steps)
        relations[static_cast<std::size_t>(step.reason)].push_back(
            "  +> " + titles[static_cast<std::size_t>(step.conclusion)]);
    for (const TStageGraph::TAttack &attack : graph.Attacks)
        relations[static_cast<std::size_t>(attack.exception)].push_back("  _> "
                                                                        + stepTitle(attack.step));

    std::string out;
    for (std::size_t box = 0; box < graph.Boxes.size(); ++box) {
        out += titles[box];
        appendPlain(out, graph.Boxes[box]->Text);
        out += '\n';
        for (const std::string &relation : relations[box])
            out += relation + '\n';
        out += '\n';
    }
    for (std::size_t step = 0; step < graph.Steps.size(); ++step) {
        const TStageGraph::TStep &each = graph.Steps[step];
        out += stepTitle(static_cast<int>(step)) + "\n\n(1) "
               + titles[static_cast<std::size_t>(each.reason)] + "\n----\n(2) "
               + titles[static_cast<std::size_t>(each.conclusion)] + "\n\n";
    }
    if (!out.empty())
        out.pop_back(); // One line break at the end, not a blank line.
    return out;
}
