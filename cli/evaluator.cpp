#include "evaluator.h"

#include "changes.h"
#include "report.h"

#include "dialogue/aifreader.h"
#include "dialogue/aifwriter.h"
#include "dialogue/argdownreader.h"
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

#include <CLI/CLI.hpp>

#include <algorithm>
#include <charconv>
#include <optional>
#include <span>
#include <cerrno>
#include <cstring>
#include <memory>
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
    std::string from; // Empty for a file of moves, or "aif" or "argdown".
    bool decline = false;
    bool help = false;
    bool version = false;
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

// The usage line printed with --help and after every error line, and the options --help lists
// under it: one table for both, through the parser.
class TOptionParser {
public:
    explicit TOptionParser(TOptions &options) : m_app("korvane-eval")
    {
        // -h and --help are ours, so that they are parsed like the other flags.
        m_app.set_help_flag();
        m_app.allow_extras();
        m_app.formatter(std::make_shared<THelpFormatter>());
        m_app.get_formatter()->column_width(20);
        // One FILE: a second one is left to the check below, with its own message.
        m_app.add_option("FILE", m_file, "a line-of-argumentation file, or - for standard input")
            ->type_name("");
        m_app.add_flag("--json", m_json, "print the stage as one JSON object (as --format json)");
        m_app.add_option("--format", options.format,
                         "print the stage as text (the report), json, dot, aif, argdown or moves")
            ->type_name("F")
            ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
        m_app.add_option("--from", m_from, "read FILE as aif or argdown instead of moves")
            ->type_name("F")
            ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
        m_app.add_flag("--decline", options.decline,
                       "answer No to every confirmation instead of Yes");
        m_app.add_option("--stage", m_stage, "report the stage after the first N recorded moves")
            ->type_name("N")
            ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
        m_app.add_flag("--changes", options.changes,
                       "report what each recorded move changed (as text or json)");
        m_app.add_flag("--explain", options.explain, "say why each status is what it is");
        m_app.add_flag("--stats", options.stats,
                       "write the work of the moves (nodes built, frames computed) to stderr");
        m_app.add_flag("-h,--help", options.help, "print this help and exit");
        m_app.add_flag("--version", options.version, "print the version and exit");
    }

    // Returns an error line, or an empty string when the arguments are sound.
    std::string parse(const std::vector<std::string> &arguments, TOptions &options)
    {
        // The parser takes the arguments last first.
        std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
        try {
            m_app.parse(reversed);
        } catch (const CLI::ParseError &failure) {
            for (const char *valued : {"--stage", "--format", "--from"}) {
                if (!arguments.empty() && arguments.back() == valued) {
                    return "korvane-eval: " + std::string(valued)
                           + (std::string_view(valued) == "--stage" ? " needs a number of moves"
                                                                    : " needs a value")
                           + "; " + std::string(Usage);
                }
            }
            return "korvane-eval: " + std::string(failure.what()) + "; " + std::string(Usage);
        }
        // Words that look like options but are none, in the order given; after "--", files.
        std::vector<std::string> files;
        if (m_app.count("FILE") > 0)
            files.push_back(m_file);
        bool onlyFiles = false;
        for (const std::string &extra : m_app.remaining()) {
            if (!onlyFiles && extra == "--") {
                onlyFiles = true;
            } else if (!onlyFiles && extra.size() > 1 && extra[0] == '-') {
                return "korvane-eval: unknown option '" + extra + "'; " + std::string(Usage);
            } else {
                files.push_back(extra);
            }
        }
        if (files.size() > 1)
            return "korvane-eval: more than one FILE; " + std::string(Usage);
        if (m_app.count("--stage") > 0) {
            std::size_t stage = 0;
            const char *end = m_stage.data() + m_stage.size();
            const auto [last, failed] = std::from_chars(m_stage.data(), end, stage);
            if (m_stage.empty() || failed != std::errc() || last != end)
                return "korvane-eval: --stage needs a number of moves, not '" + m_stage + "'; "
                       + std::string(Usage);
            options.stage = stage;
        }
        // --json is the same as --format json, wherever it stands.
        if (m_json)
            options.format = "json";
        constexpr std::string_view Formats[] = {"text", "json", "dot", "aif", "argdown", "moves"};
        if (std::find(std::begin(Formats), std::end(Formats), options.format) == std::end(Formats))
            return "korvane-eval: unknown format '" + options.format
                   + "' (text, json, dot, aif, argdown or moves); " + std::string(Usage);
        if (!m_from.empty() && m_from != "aif" && m_from != "argdown")
            return "korvane-eval: unknown input format '" + m_from + "' (aif or argdown); "
                   + std::string(Usage);
        if (options.changes && options.format != "text" && options.format != "json")
            return "korvane-eval: --changes is reported as text or json; " + std::string(Usage);
        options.json = options.format == "json";
        options.from = m_from;
        if (files.empty() && !options.help && !options.version)
            return "korvane-eval: no FILE; " + std::string(Usage);
        if (!files.empty())
            options.file = files.front();
        return {};
    }

    // The options, one a line, as --help lists them.
    std::string optionList() const { return m_app.help(); }

private:
    // Only the list of options: the usage line is korvane-eval's own.
    class THelpFormatter : public CLI::Formatter {
    public:
        std::string make_usage(const CLI::App *, std::string) const override { return {}; }
        std::string make_description(const CLI::App *) const override { return {}; }
    };

    CLI::App m_app;
    std::string m_file;
    std::string m_from;
    std::string m_stage;
    bool m_json = false;
};

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
    TOptionParser parser(options);
    if (const std::string error = parser.parse(arguments, options); !error.empty()) {
        err << error << '\n';
        return 2;
    }
    if (options.version) {
        out << "korvane-eval " KORVANE_VERSION "\n";
        return 0;
    }
    if (options.help) {
        out << Usage << "\n"
            << "Replays the moves of a line-of-argumentation file (- for standard input) and prints\n"
               "the stage reached.\n"
            << parser.optionList();
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
        if (!options.from.empty()) {
            TAifMoves imported;
            if (options.from == "aif") {
                imported = ReadAifFile(bytes, options.file);
            } else {
                TForeignMoves argdown = ReadArgdownFile(bytes, options.file);
                imported.moves = std::move(argdown.moves);
                imported.warning = std::move(argdown.warning);
            }
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
    else if (options.json)
        WriteJsonReport(out, line, boxes.messages, why);
    else
        WriteTextReport(out, line, boxes.messages, moves.size(), why);
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
