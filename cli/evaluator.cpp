#include "evaluator.h"

#include "dialogue/lineofargumentation.h"
#include "dialogue/messageboxes.h"
#include "dialogue/movereader.h"
#include "dialogue/replay.h"
#include "dialogue/textfile.h"
#include "model/movescope.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <ostream>
#include <string_view>

namespace {

constexpr std::string_view Usage = "usage: korvane-eval [--json] [--decline] FILE";

// More than any file of moves a person makes, and few enough that the decoded text and its
// moves fit in memory; an endless input (a device, a pipe that never closes) stops here too.
constexpr std::size_t InputLimit = 128 * 1024 * 1024;

struct TOptions {
    bool json = false;
    bool decline = false;
    bool help = false;
    bool stats = false;
    std::string file;
};

// One question the line of argumentation asked while a move was replayed.
struct TMessage {
    std::size_t move = 0; // 1-based index of the move in the file.
    bool confirm = false;
    std::string text;
    bool yes = false;
};

// Answers as the options say and remembers every question, for the report.
class TScriptedBoxes : public TMessageBoxes {
public:
    explicit TScriptedBoxes(bool decline) : m_decline(decline) {}

    void Warning(const std::string &text) override { messages.push_back({move, false, text, false}); }
    bool Confirm(const std::string &text) override
    {
        messages.push_back({move, true, text, !m_decline});
        return !m_decline;
    }

    std::size_t move = 0;
    std::vector<TMessage> messages;

private:
    bool m_decline;
};

// Returns an error line, or an empty string when the arguments are sound.
std::string parseArguments(const std::vector<std::string> &arguments, TOptions &options)
{
    bool haveFile = false;
    bool onlyFiles = false;
    for (const std::string &argument : arguments) {
        if (!onlyFiles && argument == "--") {
            onlyFiles = true;
            continue;
        }
        if (!onlyFiles && argument == "--json") {
            options.json = true;
            continue;
        }
        if (!onlyFiles && (argument == "--help" || argument == "-h")) {
            options.help = true;
            continue;
        }
        if (!onlyFiles && argument == "--decline") {
            options.decline = true;
            continue;
        }
        if (!onlyFiles && argument == "--stats") {
            options.stats = true;
            continue;
        }
        if (!onlyFiles && argument.size() > 1 && argument[0] == '-')
            return "korvane-eval: unknown option '" + argument + "'; " + std::string(Usage);
        if (haveFile)
            return "korvane-eval: more than one FILE; " + std::string(Usage);
        options.file = argument;
        haveFile = true;
    }
    if (!haveFile && !options.help)
        return "korvane-eval: no FILE; " + std::string(Usage);
    return {};
}

std::string_view justificationName(TJustificationStatus status)
{
    switch (status) {
    case TJustificationStatus::Justified:
        return "Justified";
    case TJustificationStatus::Unjustified:
        return "Unjustified";
    case TJustificationStatus::Undecided:
        break;
    }
    return "Undecided";
}

std::string_view defeatName(TDefeatStatus status)
{
    switch (status) {
    case TDefeatStatus::Defeated:
        return "Defeated";
    case TDefeatStatus::Undefeated:
        return "Undefeated";
    case TDefeatStatus::Undecided:
        break;
    }
    return "Undecided";
}

std::string_view statusMark(TJustificationStatus status)
{
    switch (status) {
    case TJustificationStatus::Justified:
        return "[+]";
    case TJustificationStatus::Unjustified:
        return "[-]";
    case TJustificationStatus::Undecided:
        break;
    }
    return "[?]";
}

// A JSON string of UTF-8 text: quotes, backslashes and control bytes escaped, the rest as is.
// For a terminal the C1 controls (U+0080 to U+009F) are escaped too: terminals act on them.
void appendQuoted(std::string &out, std::string_view text, bool forTerminal = false)
{
    constexpr char Hex[] = "0123456789abcdef";
    const auto escape = [&](unsigned char code) {
        out += "\\u00";
        out += Hex[code >> 4];
        out += Hex[code & 0xF];
    };
    out += '"';
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char each = text[i];
        const auto byte = static_cast<unsigned char>(each);
        switch (each) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (byte < 0x20 || byte == 0x7F) {
                escape(byte);
            } else if (forTerminal && byte == 0xC2 && i + 1 < text.size()
                       && static_cast<unsigned char>(text[i + 1]) >= 0x80
                       && static_cast<unsigned char>(text[i + 1]) <= 0x9F) {
                escape(static_cast<unsigned char>(text[++i]));
            } else {
                out += each;
            }
        }
    }
    out += '"';
}

// Text for a terminal: control characters written as JSON escapes, so that none acts on the
// screen.
void appendPrintable(std::string &out, std::string_view text)
{
    std::string quoted;
    appendQuoted(quoted, text, true);
    out.append(quoted, 1, quoted.size() - 2);
}

// Walks a tree depth first, node before its initial arguments, without recursion, so trees
// of any depth are safe. visit(argument, depth) is called on entry, leave(depth) after the
// node's initial arguments.
template <typename Visit, typename Leave>
void walkTree(const TArgument &root, Visit visit, Leave leave)
{
    struct TFrame {
        const TArgument *argument;
        int next;
    };
    std::vector<TFrame> stack{{&root, 0}};
    visit(root, std::size_t{0});
    while (!stack.empty()) {
        TFrame &top = stack.back();
        if (top.next < top.argument->InitialArguments.Count()) {
            const TArgument *child = top.argument->InitialArguments[top.next++];
            visit(*child, stack.size());
            stack.push_back({child, 0});
        } else {
            stack.pop_back();
            leave(stack.size());
        }
    }
}

void appendJsonNode(std::string &out, const TArgument &root)
{
    walkTree(
        root,
        [&](const TArgument &argument, std::size_t depth) {
            if (depth > 0 && out.back() != '[')
                out += ", ";
            out += "{\"conclusion\": ";
            appendQuoted(out, argument.Conclusion->Text);
            out += ", \"type\": ";
            appendQuoted(out, StatementTypeName(argument.Conclusion->StatementType));
            out += ", \"defeat\": ";
            appendQuoted(out, defeatName(argument.DefeatStatus));
            out += ", \"status\": ";
            appendQuoted(out, justificationName(argument.Conclusion->JustificationStatus));
            out += ", \"initial\": [";
        },
        [&](std::size_t) { out += "]}"; });
}

// Each element on a line of its own, so that a person can read the object as well.
template <typename Items, typename Append>
void appendJsonList(std::string &out, std::string_view key, const Items &items, Append append,
                    bool last = false)
{
    out += "  ";
    appendQuoted(out, key);
    out += ": [";
    bool first = true;
    for (const auto &item : items) {
        out += first ? "\n    " : ",\n    ";
        first = false;
        append(item);
    }
    out += first ? "]" : "\n  ]";
    out += last ? "\n" : ",\n";
}

std::string jsonReport(const TLineOfArgumentation &line, const std::vector<TMessage> &messages)
{
    const TArgumentationStage &stage = *line.CurrentStage;
    std::string out = "{\n  \"moves\": ";
    out += std::to_string(line.ArgumentationMoves.Count());
    out += ",\n";
    appendJsonList(out, "messages", messages, [&](const TMessage &message) {
        out += "{\"move\": ";
        out += std::to_string(message.move);
        out += ", \"kind\": ";
        appendQuoted(out, message.confirm ? "confirm" : "warning");
        out += ", \"text\": ";
        appendQuoted(out, message.text);
        out += ", \"answer\": ";
        appendQuoted(out, !message.confirm ? "ok" : message.yes ? "yes" : "no");
        out += '}';
    });
    appendJsonList(out, "statements", stage.Statements, [&](const TStatement *statement) {
        out += "{\"id\": ";
        appendQuoted(out, statement->Id);
        out += ", \"text\": ";
        appendQuoted(out, statement->Text);
        out += ", \"type\": ";
        appendQuoted(out, StatementTypeName(statement->StatementType));
        out += ", \"status\": ";
        appendQuoted(out, justificationName(statement->JustificationStatus));
        out += '}';
    });
    appendJsonList(out, "reasons", stage.ReasonConclusions, [&](const TReasonConclusion *step) {
        out += "{\"reason\": ";
        appendQuoted(out, step->Reason->Text);
        out += ", \"conclusion\": ";
        appendQuoted(out, step->Conclusion->Text);
        out += ", \"exceptions\": [";
        bool first = true;
        for (const TStatement *exception : step->Exceptions) {
            out += first ? "" : ", ";
            first = false;
            out += "{\"text\": ";
            appendQuoted(out, exception->Text);
            out += ", \"type\": ";
            appendQuoted(out, StatementTypeName(exception->StatementType));
            out += '}';
        }
        out += "]}";
    });
    appendJsonList(out, "arguments", stage.Arguments,
                   [&](const TArgument *argument) { appendJsonNode(out, *argument); });
    appendJsonList(out, "memo", MoveTextLines(line),
                   [&](const std::string &text) { appendQuoted(out, text); }, true);
    out += "}\n";
    return out;
}

// Deeper trees are shown flush at this depth with the depth written out: a terminal shows
// nothing useful past it, and the output stays linear in the size of the tree.
constexpr std::size_t DeepestIndent = 32;

std::string textReport(const TLineOfArgumentation &line, const std::vector<TMessage> &messages,
                       std::size_t movesRead)
{
    const TArgumentationStage &stage = *line.CurrentStage;
    std::string out;
    out += std::to_string(line.ArgumentationMoves.Count()) + " of " + std::to_string(movesRead)
           + " moves recorded\n";

    if (!messages.empty()) {
        out += "\nMessages:\n";
        for (const TMessage &message : messages) {
            out += "  move " + std::to_string(message.move) + ", ";
            out += !message.confirm ? "warning, acknowledged"
                                    : message.yes ? "confirmation, answered Yes"
                                                  : "confirmation, answered No";
            out += '\n';
            for (const std::string &text : SplitTextLines(message.text)) {
                out += "    | ";
                appendPrintable(out, text);
                out += '\n';
            }
        }
    }

    out += "\nStatements:\n";
    for (const TStatement *statement : stage.Statements) {
        out += "  " + std::string(statusMark(statement->JustificationStatus)) + ' ' + statement->Id
               + "  ";
        appendQuoted(out, statement->Text, true);
        out += "  (" + std::string(StatementTypeName(statement->StatementType)) + ", "
               + std::string(justificationName(statement->JustificationStatus)) + ")\n";
    }

    out += "\nReasons:\n";
    for (const TReasonConclusion *step : stage.ReasonConclusions) {
        out += "  ";
        appendQuoted(out, step->Reason->Text, true);
        out += "  THEREFORE  ";
        appendQuoted(out, step->Conclusion->Text, true);
        out += '\n';
        for (const TStatement *exception : step->Exceptions) {
            out += "      HOWEVER  ";
            appendQuoted(out, exception->Text, true);
            out += "  (" + std::string(StatementTypeName(exception->StatementType)) + ")\n";
        }
    }

    out += "\nArguments:\n";
    for (const TArgument *root : stage.Arguments) {
        walkTree(
            *root,
            [&](const TArgument &argument, std::size_t depth) {
                out += std::string(2 + 4 * std::min(depth, DeepestIndent), ' ');
                if (depth > DeepestIndent)
                    out += "(depth " + std::to_string(depth) + ") ";
                out += statusMark(argument.Conclusion->JustificationStatus);
                out += ' ';
                appendQuoted(out, argument.Conclusion->Text, true);
                out += "  (";
                out += StatementTypeName(argument.Conclusion->StatementType);
                out += ", ";
                out += defeatName(argument.DefeatStatus);
                out += ")\n";
            },
            [](std::size_t) {});
    }
    out += "\n[+] justified, [-] unjustified, [?] undecided\n";
    return out;
}

} // namespace

namespace {

int evaluate(const std::vector<std::string> &arguments, std::FILE *input, std::ostream &out,
             std::ostream &err)
{
    TOptions options;
    if (const std::string error = parseArguments(arguments, options); !error.empty()) {
        err << error << '\n';
        return 2;
    }
    if (options.help) {
        out << Usage << "\n"
            << "Replays the moves of a line-of-argumentation file (- for standard input) and prints\n"
               "the stage reached. --json prints it as one JSON object; --decline answers No to\n"
               "every confirmation instead of Yes. --stats writes the work of the moves (argument\n"
               "nodes built, status frames computed) to standard error.\n";
        return 0;
    }

    std::string bytes;
    int error = 0;
    const bool read = options.file == "-" ? ReadStreamBytes(input, bytes, &error, InputLimit)
                                          : ReadFileBytes(options.file, bytes, &error, InputLimit);
    if (!read) {
        err << "korvane-eval: cannot read " << options.file;
        if (error != 0)
            err << ": " << std::strerror(error);
        if (error == EFBIG)
            err << " (over " << InputLimit / (1024 * 1024) << " MiB)";
        err << '\n';
        return 2;
    }

    std::vector<TMoveText> moves;
    try {
        std::string text = DecodeFileText(bytes);
        bytes = {};
        moves = ReadMoveText(text, options.file);
    } catch (const TFileError &failure) {
        err << failure.what() << '\n';
        return 2;
    }

    TScriptedBoxes boxes(options.decline);
    TLineOfArgumentation line(boxes);
    for (const TMoveText &move : moves) {
        ++boxes.move;
        try {
            ReplayMove(line, move);
        } catch (const TWorkBudgetExceeded &failure) {
            err << options.file << ':' << move.Line << ": " << failure.what() << '\n';
            return 2;
        }
    }
    if (options.stats) {
        err << "nodes built: " << line.NodesBuilt()
            << ", status frames computed: " << line.FramesComputed() << '\n';
    }

    out << (options.json ? jsonReport(line, boxes.messages)
                         : textReport(line, boxes.messages, moves.size()));
    out.flush();
    if (!out) {
        err << "korvane-eval: cannot write the report\n";
        return 2;
    }
    return 0;
}

} // namespace

int RunEvaluator(const std::vector<std::string> &arguments, std::FILE *input, std::ostream &out,
                 std::ostream &err)
{
    // Every failure ends in one line and status 2, never in an abort.
    try {
        return evaluate(arguments, input, out, err);
    } catch (const std::bad_alloc &) {
        err << "korvane-eval: out of memory\n";
    } catch (const std::exception &failure) {
        err << "korvane-eval: " << failure.what() << '\n';
    }
    return 2;
}
