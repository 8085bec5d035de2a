#include "evaluator.h"

#include "changes.h"
#include "report.h"

#include "dialogue/aifreader.h"
#include "dialogue/aifwriter.h"
#include "dialogue/argdownwriter.h"
#include "dialogue/dotgraph.h"
#include "dialogue/lineofargumentation.h"
#include "dialogue/messageboxes.h"
#include "dialogue/movereader.h"
#include "dialogue/replay.h"
#include "dialogue/stagegraph.h"
#include "dialogue/textfile.h"
#include "model/explanation.h"
#include "model/movescope.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <span>
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
    std::string format = "text"; // --json is the same as --format json.
    bool fromAif = false;
    bool decline = false;
    bool help = false;
    bool stats = false;
    std::optional<std::size_t> stage; // Report the stage after this many recorded moves.
    bool changes = false;             // Report what each recorded move changed instead.
    bool explain = false;             // Say why each status is what it is.
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
    bool stageNext = false;
    std::string *valueNext = nullptr; // The option that takes the next argument as its value.
    std::string from;
    for (const std::string &argument : arguments) {
        if (valueNext) {
            *valueNext = argument;
            valueNext = nullptr;
            continue;
        }
        if (!onlyFiles && (argument == "--format" || argument == "--from")) {
            valueNext = argument == "--format" ? &options.format : &from;
            continue;
        }
        if (stageNext) {
            stageNext = false;
            std::size_t stage = 0;
            const char *end = argument.data() + argument.size();
            const auto [last, failed] = std::from_chars(argument.data(), end, stage);
            if (argument.empty() || failed != std::errc() || last != end)
                return "korvane-eval: --stage needs a number of moves, not '" + argument + "'; "
                       + std::string(Usage);
            options.stage = stage;
            continue;
        }
        if (!onlyFiles && argument == "--stage") {
            stageNext = true;
            continue;
        }
        if (!onlyFiles && argument == "--") {
            onlyFiles = true;
            continue;
        }
        if (!onlyFiles && argument == "--json") {
            options.format = "json";
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
        if (!onlyFiles && argument == "--changes") {
            options.changes = true;
            continue;
        }
        if (!onlyFiles && argument == "--explain") {
            options.explain = true;
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
    if (stageNext)
        return "korvane-eval: --stage needs a number of moves; " + std::string(Usage);
    if (valueNext)
        return "korvane-eval: " + std::string(valueNext == &from ? "--from" : "--format")
               + " needs a value; " + std::string(Usage);
    constexpr std::string_view Formats[] = {"text", "json", "dot", "aif", "argdown", "moves"};
    if (std::find(std::begin(Formats), std::end(Formats), options.format) == std::end(Formats))
        return "korvane-eval: unknown format '" + options.format
               + "' (text, json, dot, aif, argdown or moves); " + std::string(Usage);
    if (!from.empty() && from != "aif")
        return "korvane-eval: unknown input format '" + from + "' (aif); " + std::string(Usage);
    if (options.changes && options.format != "text" && options.format != "json")
        return "korvane-eval: --changes is reported as text or json; " + std::string(Usage);
    options.json = options.format == "json";
    options.fromAif = from == "aif";
    if (!haveFile && !options.help)
        return "korvane-eval: no FILE; " + std::string(Usage);
    return {};
}

// The first options.stage moves that the file's moves record, as a file of their own would hold
// them, so that their report is exactly the one such a file gives; through the replay of a prefix
// that full mode's Undo uses. An error line when the file records fewer.
std::vector<TMoveText> stageMoves(const std::vector<TMoveText> &moves, const TOptions &options,
                                  std::string &error)
{
    const std::size_t wanted = *options.stage;
    TScriptedBoxes boxes(options.decline);
    TLineOfArgumentation line(boxes);
    for (std::size_t index = 0;
         index < moves.size() && static_cast<std::size_t>(line.ArgumentationMoves.Count()) < wanted;
         ++index)
        ReplayMoves(line, std::span(moves).subspan(index, 1), options.file);
    const auto recorded = static_cast<std::size_t>(line.ArgumentationMoves.Count());
    if (recorded < wanted) {
        error = "korvane-eval: --stage " + std::to_string(wanted) + " is past the "
                + std::to_string(recorded) + " moves that " + options.file + " records; "
                + std::string(Usage);
        return {};
    }
    return RecordedMoves(line);
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
    TAifExtras extras; // What an imported AIF file holds beyond the stage, for --format aif.
    std::vector<TMoveChanges> changes;
    TScriptedBoxes boxes(options.decline);
    TLineOfArgumentation line(boxes);
    try {
        if (options.fromAif) {
            TAifMoves imported = ReadAifFile(bytes, options.file);
            moves = std::move(imported.moves);
            extras = std::move(imported.extras);
            if (!imported.warning.empty())
                err << "korvane-eval: warning: " << options.file << ": " << imported.warning
                    << '\n';
        } else {
            moves = ReadMoveFile(bytes, options.file);
        }
        bytes = {};
        if (options.stage) {
            std::string past;
            moves = stageMoves(moves, options, past);
            if (!past.empty()) {
                err << past << '\n';
                return 2;
            }
        }
        if (options.changes) {
            // One move at a time, so that each recorded one can be compared with the stage
            // before it; the trees of that stage go with the move.
            TStageFacts before = StageFacts(*line.CurrentStage);
            for (std::size_t index = 0; index < moves.size(); ++index) {
                boxes.move = index + 1;
                const int count = line.ArgumentationMoves.Count();
                ReplayMoves(line, std::span(moves).subspan(index, 1), options.file);
                if (line.ArgumentationMoves.Count() == count)
                    continue;
                TStageFacts after = StageFacts(*line.CurrentStage);
                changes.push_back({static_cast<std::size_t>(count) + 1, moves[index].Line,
                                   StageChanges(before, after)});
                before = std::move(after);
            }
        } else {
            ReplayMoves(line, moves, options.file,
                        [&](std::size_t index) { boxes.move = index; });
        }
    } catch (const TFileError &failure) {
        err << failure.what() << '\n';
        return 2;
    }
    if (options.stats) {
        err << "nodes built: " << line.NodesBuilt()
            << ", status frames computed: " << line.FramesComputed() << '\n';
    }

    TExplanations explanations;
    if (options.explain)
        line.CurrentStage->ExplainStatuses(explanations);
    const TExplanations *why = options.explain ? &explanations : nullptr;
    if (options.changes)
        out << (options.json ? ChangesJson(changes) : ChangesText(changes));
    else if (options.format == "dot")
        out << DotText(StageGraph(*line.CurrentStage));
    else if (options.format == "aif")
        out << AifText(StageGraph(*line.CurrentStage), MoveTextLines(line), &extras);
    else if (options.format == "argdown")
        out << ArgdownText(StageGraph(*line.CurrentStage));
    else if (options.format == "moves")
        out << JoinTextLines(MoveTextLines(line));
    else
        out << (options.json ? JsonReport(line, boxes.messages, why)
                             : TextReport(line, boxes.messages, moves.size(), why));
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
