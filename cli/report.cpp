#include "report.h"

#include "dialogue/lineofargumentation.h"
#include "dialogue/textfile.h"
#include "model/explanation.h"

#include <ostream>
#include <string_view>

// A JSON string of UTF-8 text: quotes, backslashes and control bytes escaped, the rest as is.
// For a terminal the C1 controls (U+0080 to U+009F) are escaped too: terminals act on them.
void AppendQuoted(std::string &out, std::string_view text, bool forTerminal)
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

namespace {

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

// Text for a terminal: control characters written as JSON escapes, so that none acts on the
// screen.
void appendPrintable(std::string &out, std::string_view text)
{
    std::string quoted;
    AppendQuoted(quoted, text, true);
    out.append(quoted, 1, quoted.size() - 2);
}

// The report as it is made: written to the stream a chunk at a time, so that a report of any
// size takes little memory beyond what the stream buffers.
class TReportOut {
public:
    explicit TReportOut(std::ostream &stream) : m_stream(stream) {}
    ~TReportOut() { flush(); }
    TReportOut(const TReportOut &) = delete;
    TReportOut &operator=(const TReportOut &) = delete;

    std::string text;

    // Called where the report may be cut: between elements and nodes.
    void spill()
    {
        if (text.size() >= Chunk)
            flush();
    }

private:
    static constexpr std::size_t Chunk = std::size_t{1} << 16;

    void flush()
    {
        m_stream.write(text.data(), static_cast<std::streamsize>(text.size()));
        text.clear();
    }

    std::ostream &m_stream;
};

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

// ", "why": {...}": the sentence, the statements it names by id and the nodes by number.
void appendJsonWhy(std::string &out, const TWhySentence &why, const TExplanations &explanations)
{
    out += ", \"why\": {\"text\": ";
    AppendQuoted(out, why.Text);
    out += ", \"statements\": [";
    for (std::size_t i = 0; i < why.Statements.size(); ++i) {
        out += i ? ", " : "";
        AppendQuoted(out, why.Statements[i]->Id);
    }
    out += "], \"nodes\": [";
    for (std::size_t i = 0; i < why.Nodes.size(); ++i) {
        out += i ? ", " : "";
        out += std::to_string(explanations.Number(*why.Nodes[i]));
    }
    out += "]}";
}

void appendJsonNode(TReportOut &report, const TArgument &root, const TExplanations *explanations)
{
    std::string &out = report.text;
    bool opened = false; // Just after a node's "initial": [, where its first child needs no comma.
    walkTree(
        root,
        [&](const TArgument &argument, std::size_t depth) {
            report.spill();
            if (depth > 0 && !opened)
                out += ", ";
            out += "{\"conclusion\": ";
            AppendQuoted(out, argument.Conclusion->Text);
            out += ", \"type\": ";
            AppendQuoted(out, StatementTypeName(argument.Conclusion->StatementType));
            out += ", \"defeat\": ";
            AppendQuoted(out, DefeatStatusName(argument.DefeatStatus));
            out += ", \"status\": ";
            AppendQuoted(out, JustificationStatusName(argument.Conclusion->JustificationStatus));
            if (explanations) {
                out += ", \"node\": ";
                out += std::to_string(explanations->Number(argument));
                appendJsonWhy(out, explanations->Explain(argument), *explanations);
            }
            out += ", \"initial\": [";
            opened = true;
        },
        [&](std::size_t) {
            out += "]}";
            opened = false;
        });
}

// Each element on a line of its own, so that a person can read the object as well.
// forEach(each) calls each(item) for every item in order.
template <typename ForEach, typename Append>
void appendJsonListOf(TReportOut &report, std::string_view key, ForEach forEach, Append append,
                      bool last = false)
{
    std::string &out = report.text;
    out += "  ";
    AppendQuoted(out, key);
    out += ": [";
    bool first = true;
    forEach([&](const auto &item) {
        report.spill();
        out += first ? "\n    " : ",\n    ";
        first = false;
        append(item);
    });
    out += first ? "]" : "\n  ]";
    out += last ? "\n" : ",\n";
}

template <typename Items, typename Append>
void appendJsonList(TReportOut &report, std::string_view key, const Items &items, Append append)
{
    appendJsonListOf(
        report, key,
        [&](const auto &each) {
            for (const auto &item : items)
                each(item);
        },
        append);
}

} // namespace

void WriteJsonReport(std::ostream &stream, const TLineOfArgumentation &line,
                     const std::vector<TMessage> &messages, const TExplanations *explanations)
{
    const TArgumentationStage &stage = *line.CurrentStage;
    TReportOut report(stream);
    std::string &out = report.text;
    out += "{\n  \"moves\": ";
    out += std::to_string(line.ArgumentationMoves.Count());
    out += ",\n";
    appendJsonList(report, "messages", messages, [&](const TMessage &message) {
        out += "{\"move\": ";
        out += std::to_string(message.move);
        out += ", \"kind\": ";
        AppendQuoted(out, message.confirm ? "confirm" : "warning");
        out += ", \"text\": ";
        AppendQuoted(out, message.text);
        out += ", \"answer\": ";
        AppendQuoted(out, !message.confirm ? "ok" : message.yes ? "yes" : "no");
        out += '}';
    });
    appendJsonList(report, "statements", stage.Statements, [&](const TStatement *statement) {
        out += "{\"id\": ";
        AppendQuoted(out, statement->Id);
        out += ", \"text\": ";
        AppendQuoted(out, statement->Text);
        out += ", \"type\": ";
        AppendQuoted(out, StatementTypeName(statement->StatementType));
        out += ", \"status\": ";
        AppendQuoted(out, JustificationStatusName(statement->JustificationStatus));
        if (explanations)
            appendJsonWhy(out, explanations->Explain(*statement), *explanations);
        out += '}';
    });
    appendJsonList(report, "reasons", stage.ReasonConclusions, [&](const TReasonConclusion *step) {
        out += "{\"reason\": ";
        AppendQuoted(out, step->Reason->Text);
        out += ", \"conclusion\": ";
        AppendQuoted(out, step->Conclusion->Text);
        out += ", \"exceptions\": [";
        bool first = true;
        for (const TStatement *exception : step->Exceptions) {
            out += first ? "" : ", ";
            first = false;
            out += "{\"text\": ";
            AppendQuoted(out, exception->Text);
            out += ", \"type\": ";
            AppendQuoted(out, StatementTypeName(exception->StatementType));
            out += '}';
        }
        out += "]}";
    });
    appendJsonList(report, "arguments", stage.Arguments,
                   [&](const TArgument *argument) { appendJsonNode(report, *argument, explanations); });
    // The memo's lines straight from the moves, not copied first.
    appendJsonListOf(
        report, "memo",
        [&](const auto &each) {
            for (const TArgumentationMove *move : line.ArgumentationMoves)
                for (const std::string &text : move->Move)
                    each(text);
        },
        [&](const std::string &text) { AppendQuoted(out, text); }, true);
    out += "}\n";
}

namespace {

// Deeper trees are shown flush at this depth with the depth written out: a terminal shows
// nothing useful past it, and the output stays linear in the size of the tree.
constexpr std::size_t DeepestIndent = 32;

void quoteForTerminal(std::string &out, std::string_view text) { AppendQuoted(out, text, true); }

// "why: ..." under a line that starts at indent.
void appendWhyLine(std::string &out, std::size_t indent, const TWhySentence &why)
{
    out += std::string(indent + 4, ' ');
    out += "why: ";
    out += why.Text;
    out += '\n';
}

} // namespace

void WriteTextReport(std::ostream &stream, const TLineOfArgumentation &line,
                     const std::vector<TMessage> &messages, std::size_t movesRead,
                     const TExplanations *explanations)
{
    const TArgumentationStage &stage = *line.CurrentStage;
    TReportOut report(stream);
    std::string &out = report.text;
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
        report.spill();
        out += "  " + std::string(statusMark(statement->JustificationStatus)) + ' ' + statement->Id
               + "  ";
        AppendQuoted(out, statement->Text, true);
        out += "  (" + std::string(StatementTypeName(statement->StatementType)) + ", "
               + std::string(JustificationStatusName(statement->JustificationStatus)) + ")\n";
        if (explanations)
            appendWhyLine(out, 2, explanations->Explain(*statement, quoteForTerminal));
    }

    out += "\nReasons:\n";
    for (const TReasonConclusion *step : stage.ReasonConclusions) {
        report.spill();
        out += "  ";
        AppendQuoted(out, step->Reason->Text, true);
        out += "  THEREFORE  ";
        AppendQuoted(out, step->Conclusion->Text, true);
        out += '\n';
        for (const TStatement *exception : step->Exceptions) {
            out += "      HOWEVER  ";
            AppendQuoted(out, exception->Text, true);
            out += "  (" + std::string(StatementTypeName(exception->StatementType)) + ")\n";
        }
    }

    out += "\nArguments:\n";
    for (const TArgument *root : stage.Arguments) {
        walkTree(
            *root,
            [&](const TArgument &argument, std::size_t depth) {
                report.spill();
                const std::size_t indent = 2 + 4 * std::min(depth, DeepestIndent);
                out += std::string(indent, ' ');
                if (depth > DeepestIndent)
                    out += "(depth " + std::to_string(depth) + ") ";
                out += statusMark(argument.Conclusion->JustificationStatus);
                out += ' ';
                AppendQuoted(out, argument.Conclusion->Text, true);
                out += "  (";
                out += StatementTypeName(argument.Conclusion->StatementType);
                out += ", ";
                out += DefeatStatusName(argument.DefeatStatus);
                out += ")\n";
                if (explanations)
                    appendWhyLine(out, indent, explanations->Explain(argument, quoteForTerminal));
            },
            [](std::size_t) {});
    }
    out += "\n[+] justified, [-] unjustified, [?] undecided\n";
}
