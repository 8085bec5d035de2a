#include "evaluator.h"

#include "report.h"

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

    out << (options.json ? JsonReport(line, boxes.messages)
                         : TextReport(line, boxes.messages, moves.size()));
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
