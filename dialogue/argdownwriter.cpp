#include "argdownwriter.h"

#include "argdownsyntax.h"
#include "stagegraph.h"
#include "textfile.h"

#include <set>
#include <string_view>
#include <vector>

namespace {

// Bytes of a title at most, cut at a word: enough to tell statements apart in Argdown's map.
constexpr std::size_t TitleLength = 32;

// The text as UTF-8 on one line: control bytes as blanks, bytes that are no UTF-8 as U+FFFD.
std::string oneLineUtf8(std::string_view text)
{
    std::string line;
    while (!text.empty()) {
        const std::size_t length = Utf8SequenceLength(text);
        if (length == 0) {
            line += "\xEF\xBF\xBD";
            text.remove_prefix(1);
            continue;
        }
        const char each = text.front();
        if (length == 1 && (static_cast<unsigned char>(each) < 0x20 || each == 0x7F))
            line += ' ';
        else
            line.append(text.substr(0, length));
        text.remove_prefix(length);
    }
    return line;
}

// True when the '.' or ':' at index opens a shortcode: the same character closes it after a
// word without blanks.
bool opensShortcode(std::string_view text, std::size_t index)
{
    const std::size_t close = text.find(text[index], index + 1);
    if (close == std::string_view::npos || close == index + 1)
        return false;
    return text.substr(index + 1, close - index - 1).find(' ') == std::string_view::npos;
}

// One word of a text with the markup that Argdown would read escaped.
void appendPlainWord(std::string &out, std::string_view word)
{
    if (argdown::IsLinkWord(word)) {
        out += word;
        return;
    }
    for (std::size_t index = 0; index < word.size(); ++index) {
        const char each = word[index];
        const char next = index + 1 < word.size() ? word[index + 1] : '\0';
        const bool markup = argdown::Markup.find(each) != std::string_view::npos
                            || (each == '/' && (next == '/' || next == '*'))
                            || ((each == '.' || each == ':') && opensShortcode(word, index));
        if (markup)
            out += '\\';
        out += each;
    }
}

// " text", or nothing for a text of blanks only: Argdown drops blanks around a text.
void appendPlain(std::string &out, std::string_view text)
{
    const std::string line = oneLineUtf8(text);
    const std::size_t first = line.find_first_not_of(' ');
    if (first == std::string::npos)
        return;
    const std::string_view rest = std::string_view(line).substr(first);
    std::size_t at = 0;
    while (at < rest.size()) {
        const std::size_t blank = rest.find(' ', at);
        const std::size_t end = blank == std::string_view::npos ? rest.size() : blank;
        out += ' ';
        appendPlainWord(out, rest.substr(at, end - at));
        at = rest.find_first_not_of(' ', end);
        if (at == std::string_view::npos)
            break;
        // Blanks inside a text are kept as they are.
        out.append(at - end - 1, ' ');
    }
}

// The words of the text, letters and digits only, cut at a word within TitleLength bytes.
std::string shortTitle(std::string_view text)
{
    std::string words;
    for (const char each : oneLineUtf8(text)) {
        const auto byte = static_cast<unsigned char>(each);
        const bool kept = byte >= 0x80 || (each >= '0' && each <= '9') || (each >= 'a' && each <= 'z')
                          || (each >= 'A' && each <= 'Z');
        if (kept)
            words += each;
        else if (!words.empty() && words.back() != ' ')
            words += ' ';
    }
    if (words.size() > TitleLength) {
        const std::size_t cut = words.rfind(' ', TitleLength);
        if (cut != std::string::npos && cut > 0) {
            words.resize(cut);
        } else {
            // One long word: cut before a UTF-8 sequence starts, never inside one.
            std::size_t end = TitleLength;
            while (end > 0 && (static_cast<unsigned char>(words[end]) & 0xC0) == 0x80)
                --end;
            words.resize(end);
        }
    }
    while (!words.empty() && words.back() == ' ')
        words.pop_back();
    return words.empty() ? std::string("Statement") : words;
}

// The title, or the title with the first number from 2 that makes it new.
std::string uniqueTitle(std::string title, std::set<std::string> &taken)
{
    if (taken.insert(title).second)
        return title;
    for (int number = 2;; ++number) {
        std::string numbered = title + ' ' + std::to_string(number);
        if (taken.insert(numbered).second)
            return numbered;
    }
}

} // namespace

std::string ArgdownText(const TStageGraph &graph)
{
    std::set<std::string> taken;
    std::vector<std::string> titles;
    for (const TStatement *box : graph.Boxes)
        titles.push_back(uniqueTitle(shortTitle(box->Text), taken));
    // Arguments and statements have titles of their own kinds in Argdown.
    taken.clear();
    std::vector<std::string> arguments;
    for (const TStageGraph::TStep &step : graph.Steps)
        arguments.push_back(uniqueTitle(titles[static_cast<std::size_t>(step.reason)] + " so "
                                            + titles[static_cast<std::size_t>(step.conclusion)],
                                        taken));
    std::string out;
    for (std::size_t box = 0; box < graph.Boxes.size(); ++box) {
        const TStatement &statement = *graph.Boxes[box];
        // The colon even before an empty text: a declaration, which a reference is not.
        out += '[' + titles[box] + "]:";
        appendPlain(out, statement.Text);
        out += " #";
        out += argdown::TypeTag(statement.StatementType);
        out += " #";
        out += argdown::StatusTag(statement.JustificationStatus);
        out += "\n\n";
    }
    for (std::size_t step = 0; step < graph.Steps.size(); ++step) {
        const TStageGraph::TStep &each = graph.Steps[step];
        out += '<' + arguments[step] + ">\n\n(1) [" + titles[static_cast<std::size_t>(each.reason)]
               + "]\n----\n(2) [" + titles[static_cast<std::size_t>(each.conclusion)] + "]\n\n";
    }
    // Each step's exceptions in the step's order, which a reader keeps.
    for (std::size_t attack = 0; attack < graph.Attacks.size(); ++attack) {
        const TStageGraph::TAttack &each = graph.Attacks[attack];
        if (attack == 0 || graph.Attacks[attack - 1].step != each.step)
            out += '<' + arguments[static_cast<std::size_t>(each.step)] + ">\n";
        out += "  <_ [" + titles[static_cast<std::size_t>(each.exception)] + "]\n";
        if (attack + 1 == graph.Attacks.size() || graph.Attacks[attack + 1].step != each.step)
            out += '\n';
    }
    if (!out.empty())
        out.pop_back(); // One line break at the end, not a blank line.
    return out;
}
