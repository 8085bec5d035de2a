#include "checks.h"

#include "tests/reference/lineofargumentation.h"
#include "tests/reference/lines.h"

#include "cli/evaluator.h"
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
#include "model/argumentationstage.h"
#include "model/movescope.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <sstream>
#include <vector>

namespace fuzz {

namespace {

// A line stops once its snapshot outgrows this: the reference rebuilds every tree on every move,
// so bigger trees cost time without reaching new shapes.
constexpr std::size_t SnapshotLimit = 64 * 1024;

// True when text is UTF-8 with no overlong form, surrogate or code point above U+10FFFF.
bool isUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto at = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
        const unsigned char lead = at(0);
        const std::size_t length = lead < 0x80   ? 1
                                   : lead < 0xC2 ? 0
                                   : lead < 0xE0 ? 2
                                   : lead < 0xF0 ? 3
                                   : lead < 0xF5 ? 4
                                                 : 0;
        if (length == 0 || length > text.size() - i)
            return false;
        // The second byte's range rules out the overlong forms, the surrogates and what lies
        // past U+10FFFF.
        const unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
        const unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
        if (length > 1 && (at(1) < low || at(1) > high))
            return false;
        for (std::size_t k = 2; k < length; ++k) {
            if (at(k) < 0x80 || at(k) > 0xBF)
                return false;
        }
        i += length;
    }
    return true;
}

// True when text is one JSON value and white space. Without recursion: argument trees nest as
// deep as the line is long.
bool isJson(std::string_view text)
{
    std::size_t i = 0;
    std::vector<char> open; // '[' or '{' of every container around the current value.
    const auto skipBlanks = [&] {
        while (i < text.size() && std::string_view(" \t\r\n").find(text[i]) != std::string_view::npos)
            ++i;
    };
    const auto at = [&](char c) { return i < text.size() && text[i] == c; };
    const auto digits = [&] {
        const std::size_t start = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9')
            ++i;
        return i > start;
    };
    const auto string = [&] {
        if (!at('"'))
            return false;
        for (++i; i < text.size(); ++i) {
            const auto c = static_cast<unsigned char>(text[i]);
            if (c == '"') {
                ++i;
                return true;
            }
            if (c < 0x20)
                return false;
            if (c != '\\')
                continue;
            if (++i == text.size())
                return false;
            if (text[i] == 'u') {
                if (text.size() - i < 5)
                    return false;
                for (int k = 0; k < 4; ++k) {
                    if (std::string_view("0123456789abcdefABCDEF").find(text[++i]) ==
                        std::string_view::npos)
                        return false;
                }
            } else if (std::string_view("\"\\/bfnrt").find(text[i]) == std::string_view::npos) {
                return false;
            }
        }
        return false;
    };
    const auto scalar = [&] {
        for (const std::string_view word : {"true", "false", "null"}) {
            if (text.substr(i).starts_with(word)) {
                i += word.size();
                return true;
            }
        }
        if (at('-'))
            ++i;
        if (at('0'))
            ++i;
        else if (!digits())
            return false;
        if (at('.') && (++i, !digits()))
            return false;
        if (at('e') || at('E')) {
            ++i;
            if (at('+') || at('-'))
                ++i;
            if (!digits())
                return false;
        }
        return true;
    };
    const auto key = [&] {
        skipBlanks();
        if (!string())
            return false;
        skipBlanks();
        return at(':') && (++i, true);
    };

    bool wantValue = true;
    for (;;) {
        skipBlanks();
        if (wantValue) {
            if (at('{') || at('[')) {
                open.push_back(text[i++]);
                skipBlanks();
                if (at(open.back() == '{' ? '}' : ']')) {
                    ++i;
                    open.pop_back();
                    wantValue = false;
                } else if (open.back() == '{' && !key()) {
                    return false;
                }
                continue;
            }
            if (!(at('"') ? string() : scalar()))
                return false;
            wantValue = false;
            continue;
        }
        if (open.empty())
            return i == text.size();
        if (at(',')) {
            ++i;
            if (open.back() == '{' && !key())
                return false;
            wantValue = true;
        } else if (at(open.back() == '{' ? '}' : ']')) {
            ++i;
            open.pop_back();
        } else {
            return false;
        }
    }
}

// Why a report for a terminal could act on the screen: a control character other than the line
// break, raw.
std::string terminalFault(std::string_view report)
{
    for (std::size_t i = 0; i < report.size(); ++i) {
        const auto byte = static_cast<unsigned char>(report[i]);
        const bool c0 = (byte < 0x20 && byte != '\n') || byte == 0x7F;
        const bool c1 = byte == 0xC2 && i + 1 < report.size() &&
                        static_cast<unsigned char>(report[i + 1]) >= 0x80 &&
                        static_cast<unsigned char>(report[i + 1]) <= 0x9F;
        if (c0 || c1)
            return "the text report holds a raw control character at byte " + std::to_string(i);
    }
    return {};
}

// How many lines the file has, counted as the move reader counts them.
long long lineCount(std::string_view bytes)
{
    const std::string text = DecodeFileText(bytes);
    TTextLines lines(text);
    std::string_view line;
    long long count = 0;
    while (lines.next(line))
        ++count;
    return count;
}

// Why a refusal is not one line "-:LINE: ..." with a line of the file, or one past its end.
std::string refusalFault(std::string_view bytes, std::string_view err)
{
    if (err.empty() || err.back() != '\n' || err.find('\n') != err.size() - 1)
        return "the refusal is not one line";
    if (!err.starts_with("-:"))
        return "the refusal names no file and line";
    long long line = 0;
    const char *end = err.data() + err.size();
    const auto [rest, error] = std::from_chars(err.data() + 2, end, line);
    if (error != std::errc() || std::string_view(rest, end - rest).substr(0, 2) != ": ")
        return "the refusal names no file and line";
    if (line < 1 || line > lineCount(bytes) + 1)
        return "the refusal names line " + std::to_string(line) + ", outside the file";
    return {};
}

// What went wrong in one run of korvane-eval, or an empty string; writes its exit status.
std::string runFault(const std::vector<std::string> &arguments, std::string_view bytes,
                     int &status)
{
    std::string buffer(bytes); // fmemopen takes a writable buffer, even to read.
    std::FILE *input = fmemopen(buffer.data(), buffer.size(), "rb");
    if (input == nullptr)
        return "fmemopen failed";
    std::ostringstream out;
    std::ostringstream err;
    status = RunEvaluator(arguments, input, out, err);
    std::fclose(input);
    const bool json = arguments.front() == "--json";
    std::string fault;
    if (status == 2 && out.view().empty())
        fault = refusalFault(bytes, err.view());
    else if (status != 0 || !err.view().empty() || out.view().empty())
        fault = "exit status " + std::to_string(status) + " with a report and a message";
    else if (!isUtf8(out.view()))
        fault = "the report is not UTF-8";
    else if (json && !isJson(out.view()))
        fault = "the report is not JSON";
    else if (!json)
        fault = terminalFault(out.view());
    if (fault.empty())
        return {};
    std::string options;
    for (const std::string &argument : arguments)
        options += ' ' + argument;
    return "korvane-eval" + options + ": " + fault + "\n--- out:\n" + out.str() + "--- err:\n" +
           err.str();
}

class TYesBoxes : public TMessageBoxes {
public:
    void Warning(const std::string &) override {}
    bool Confirm(const std::string &) override { return true; }
};

// What a line written out and read back must be: the very stage that it was made from.
std::string otherStageFault(const TLineOfArgumentation &made, const TLineOfArgumentation &read,
                            const std::string &what)
{
    const std::string before = lines::snapshot(made, {});
    const std::string after = lines::snapshot(read, {});
    if (before == after)
        return {};
    return what + " makes another stage\n--- made:\n" + before + "--- read back:\n" + after;
}

// The statements, types, statuses, steps and exceptions of a stage, without its trees, whose
// types follow the order of the moves.
std::string stageText(const TArgumentationStage &stage)
{
    std::string out;
    for (const TStatement *statement : stage.Statements)
        out += "statement " + statement->Id + ' ' + lines::inQuotes(statement->Text) + ' '
               + std::string(StatementTypeName(statement->StatementType)) + ' '
               + std::string(JustificationStatusName(statement->JustificationStatus)) + '\n';
    for (const TReasonConclusion *step : stage.ReasonConclusions) {
        out += "reason " + lines::inQuotes(step->Reason->Text) + " therefore "
               + lines::inQuotes(step->Conclusion->Text) + '\n';
        for (const TStatement *exception : step->Exceptions)
            out += "  however " + lines::inQuotes(exception->Text) + ' '
                   + std::string(StatementTypeName(exception->StatementType)) + '\n';
    }
    return out;
}

// Replays the moves; false when one is over the work budget.
bool replayAll(TLineOfArgumentation &line, const std::vector<TMoveText> &moves)
{
    try {
        for (const TMoveText &move : moves)
            ReplayMove(line, move);
    } catch (const TWorkBudgetExceeded &) {
        return false;
    }
    return true;
}

// The line a file makes, saved as the desktop program saves it and replayed again, must make the
// same stage: korvane-eval is how a saved line is checked.
std::string roundTripFault(std::string_view bytes)
{
    std::vector<TMoveText> moves;
    try {
        moves = ReadMoveText(DecodeFileText(bytes), "-");
    } catch (const TFileError &) {
        return {};
    }
    TYesBoxes boxes;
    TLineOfArgumentation line(boxes);
    if (!replayAll(line, moves))
        return {};
    const std::string saved = JoinTextLines(MoveTextLines(line));
    TLineOfArgumentation reopened(boxes);
    try {
        if (!replayAll(reopened, ReadMoveText(DecodeFileText(saved), "saved")))
            return "the saved line is over the work budget";
    } catch (const TFileError &failure) {
        return std::string("the saved line does not read back: ") + failure.what();
    }
    return otherStageFault(line, reopened, "the saved line");
}

} // namespace

std::string evaluatorFault(std::string_view bytes)
{
    // Both reports, and both answers to the confirmations.
    int status = 0;
    // Explained, so that the explanations are sought through as well.
    if (std::string fault = runFault({"--explain", "-"}, bytes, status); !fault.empty())
        return fault;
    // A refused file has no line to save; replaying it again would only double the time.
    const bool refused = status != 0;
    if (std::string fault = runFault({"--json", "--decline", "--explain", "-"}, bytes, status);
        !fault.empty())
        return fault;
    return refused ? std::string() : roundTripFault(bytes);
}

namespace {

// Reads a foreign file with reader and replays its moves into line. Returns a fault; with none,
// *replayed says whether there is a stage to check (a file refused by name, or moves over the
// work budget, leave none).
template <class TReader, class TMoves>
std::string readForeignFault(std::string_view bytes, TReader reader, TMoves &read,
                             TLineOfArgumentation &line, bool &replayed)
{
    replayed = false;
    try {
        read = reader(bytes, "-");
    } catch (const TFileError &failure) {
        return refusalFault(bytes, std::string(failure.what()) + '\n');
    } catch (const std::exception &failure) {
        return std::string("the reader threw another error: ") + failure.what();
    }
    if (read.warning.find_first_of("\r\n") != std::string::npos)
        return "the warning is not one line";
    replayed = replayAll(line, read.moves);
    return {};
}

// What Korvane writes in a format it reads back whole, without a warning, within the budget.
template <class TReader>
std::string readBackFault(const std::string &written, const std::string &format, TReader reader,
                          TLineOfArgumentation &reopened)
{
    try {
        const auto again = reader(written, "written");
        if (!again.warning.empty())
            return "the written " + format + " reads back with a warning: " + again.warning;
        if (!replayAll(reopened, again.moves))
            return "the written " + format + " is over the work budget";
    } catch (const TFileError &failure) {
        return "the written " + format + " does not read back: " + failure.what();
    }
    return {};
}

} // namespace

std::string aifFault(std::string_view bytes)
{
    TAifMoves read;
    TYesBoxes boxes;
    TLineOfArgumentation line(boxes);
    bool replayed = false;
    if (std::string fault = readForeignFault(bytes, ReadAifFile, read, line, replayed);
        !fault.empty() || !replayed)
        return fault;
    // The other exchange formats of the same graph are UTF-8 whatever the texts.
    const TStageGraph graph = StageGraph(*line.CurrentStage);
    if (!isUtf8(DotText(graph)))
        return "the DOT text is not UTF-8";
    if (!isUtf8(ArgdownText(graph)))
        return "the Argdown text is not UTF-8";
    // What Korvane writes, with what it kept aside of the file, it reads back as the same stage.
    TLineOfArgumentation reopened(boxes);
    const std::string written = AifText(graph, MoveTextLines(line), &read.extras);
    if (std::string fault = readBackFault(written, "AIF", ReadAifFile, reopened); !fault.empty())
        return fault;
    return otherStageFault(line, reopened, "the written AIF");
}

std::string argdownFault(std::string_view bytes)
{
    TForeignMoves read;
    TYesBoxes boxes;
    TLineOfArgumentation line(boxes);
    bool replayed = false;
    if (std::string fault = readForeignFault(bytes, ReadArgdownFile, read, line, replayed);
        !fault.empty() || !replayed)
        return fault;
    // A map's moves overrule no type, so what is written holds the whole stage, statuses too.
    const std::string written = ArgdownText(StageGraph(*line.CurrentStage));
    if (!isUtf8(written))
        return "the Argdown text is not UTF-8";
    TLineOfArgumentation reopened(boxes);
    if (std::string fault = readBackFault(written, "Argdown", ReadArgdownFile, reopened);
        !fault.empty())
        return fault;
    const std::string before = stageText(*line.CurrentStage);
    const std::string after = stageText(*reopened.CurrentStage);
    if (before == after)
        return {};
    return "the written Argdown makes another stage\n--- read:\n" + before + "--- read back:\n"
           + after + "--- written:\n" + written;
}

std::string differenceFault(std::span<const std::uint8_t> bytes)
{
    const std::size_t head = std::min<std::size_t>(bytes.size(), 8);
    std::uint64_t bits = 0;
    for (const std::uint8_t byte : bytes.first(head))
        bits = bits << 8 | byte;
    // Each box counts its own questions, so both models are answered alike question by question.
    const auto answer = [bits, asked = 0U]() mutable { return ((bits >> (asked++ % 64)) & 1U) != 0; };
    lines::TLoggingBoxes engineBoxes(answer);
    lines::TLoggingBoxes referenceBoxes(answer);
    lines::TBasicLineMaker<lines::TByteDraws> maker(bytes.subspan(head));
    TLineOfArgumentation engine(engineBoxes);
    reference::TLineOfArgumentation model(referenceBoxes);
    const int length = maker.length();
    for (int index = 1; index <= length && !maker.draws().exhausted(); ++index) {
        const lines::TMove move = maker.next();
        engineBoxes.move = referenceBoxes.move = index;
        lines::play(model, move);
        try {
            lines::play(engine, move);
        } catch (const TWorkBudgetExceeded &) {
            return {}; // The reference has no budget: past a refusal there is nothing to compare.
        }
        const std::string expected = lines::snapshot(model, referenceBoxes.log);
        const std::string actual = lines::snapshot(engine, engineBoxes.log);
        if (actual != expected) {
            return "move " + std::to_string(index) + "\n--- engine:\n" + actual +
                   "--- reference:\n" + expected;
        }
        if (expected.size() > SnapshotLimit)
            break;
    }
    return {};
}

} // namespace fuzz
