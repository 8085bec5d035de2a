// Replays random lines of argumentation through the engine and through the reference model, and
// compares everything the evaluator's report shows after every move.

#include "tests/reference/lineofargumentation.h"

#include "dialogue/lineofargumentation.h"
#include "dialogue/messageboxes.h"
#include "model/statement.h"

#include <gtest/gtest.h>

#include <array>
#include <charconv>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <random>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int DefaultLines = 3000;
constexpr int LongestLine = 25;
// Stops after this many differing lines: one broken rule would otherwise print every line.
constexpr int ReportedLines = 5;
// A line ends once its snapshot outgrows this: the reference rebuilds every tree on every move,
// and bigger trees add time without adding shapes.
constexpr std::size_t SnapshotLimit = 64 * 1024;

const std::array<std::string_view, 6> Alphabet = {"a", "b", "c", "d", "e", "f"};

struct TSentence {
    std::string text;
    bool issue = false;
};

// A statement; a reason and its conclusion; or those two and an exception.
using TMove = std::vector<TSentence>;

// Draws the moves of one line. Texts come from a small alphabet and from the warrant sentences of
// the steps made so far, so texts repeat, steps form cycles and warrants meet their steps.
class TLineMaker {
public:
    explicit TLineMaker(unsigned seed) : m_random(seed) {}

    // How many moves the line has.
    int length() { return std::uniform_int_distribution<int>(1, LongestLine)(m_random); }

    // The next move, drawn from everything drawn before.
    TMove next()
    {
        const int kind = percent();
        if (kind < 30)
            return {sentence()};
        TSentence reason;
        TSentence conclusion;
        if (kind >= 65 && !m_steps.empty() && percent() < 60) {
            const auto &[r, c] = m_steps[pick(m_steps.size())];
            reason = {r, coin()};
            conclusion = {c, coin()};
        } else {
            conclusion = sentence();
            reason = percent() < 8 ? TSentence{conclusion.text, coin()} : sentence();
        }
        m_steps.push_back({reason.text, conclusion.text});
        if (kind < 65)
            return {reason, conclusion};
        const TSentence exception =
            percent() < 10 ? TSentence{conclusion.text, coin()} : sentence();
        m_blocks.push_back({exception.text, reason.text, conclusion.text});
        return {reason, conclusion, exception};
    }

private:
    int percent() { return std::uniform_int_distribution<int>(0, 99)(m_random); }
    bool coin() { return (m_random() & 1U) != 0; }
    std::size_t pick(std::size_t count)
    {
        return std::uniform_int_distribution<std::size_t>(0, count - 1)(m_random);
    }

    TSentence sentence()
    {
        const int kind = percent();
        std::string text;
        if (kind < 15 && !m_steps.empty()) {
            const auto &[r, c] = m_steps[pick(m_steps.size())];
            text = StepWarrant(r, c);
        } else if (kind < 25 && !m_blocks.empty()) {
            const auto &[x, r, c] = m_blocks[pick(m_blocks.size())];
            text = ExceptionWarrant(x, r, c);
        } else {
            text = Alphabet[pick(Alphabet.size())];
        }
        return {text, coin()};
    }

    std::mt19937 m_random;
    std::vector<std::array<std::string, 2>> m_steps;  // Reason, conclusion.
    std::vector<std::array<std::string, 3>> m_blocks; // Exception, reason, conclusion.
};

std::string inQuotes(std::string_view text)
{
    std::string out = "\"";
    for (const char each : text) {
        if (each == '\r')
            out += "\\r";
        else if (each == '\n')
            out += "\\n";
        else
            out += each;
    }
    return out + '"';
}

// Answers Yes or No from its seed, so that both models, asked the same, are answered the same;
// logs every question for the snapshot.
class TLoggingBoxes : public TMessageBoxes {
public:
    explicit TLoggingBoxes(unsigned seed) : m_answers(~seed) {}

    void Warning(const std::string &text) override
    {
        ++warnings;
        log += "move " + std::to_string(move) + " warning " + inQuotes(text) + " ok\n";
    }
    bool Confirm(const std::string &text) override
    {
        const bool yes = (m_answers() & 1U) != 0;
        ++(yes ? confirmed : declined);
        log += "move " + std::to_string(move) + " confirm " + inQuotes(text) +
               (yes ? " yes\n" : " no\n");
        return yes;
    }

    int move = 0;
    int warnings = 0;
    int confirmed = 0;
    int declined = 0;
    std::string log;

private:
    std::mt19937 m_answers;
};

// Makes the move on either model, with new objects from the line's arena as the dialogs do.
template <typename Line>
void play(Line &line, const TMove &move)
{
    auto &arena = line.Arena();
    const auto fill = [](auto *statement, const TSentence &sentence) {
        using TType = decltype(statement->StatementType);
        statement->Text = sentence.text;
        statement->StatementType = sentence.issue ? TType::Issue : TType::Assumption;
        return statement;
    };
    if (move.size() == 1) {
        line.DoStatementMove(fill(arena.NewStatement(), move[0]));
        return;
    }
    auto *step = arena.NewReasonConclusion();
    fill(step->Reason, move[0]);
    fill(step->Conclusion, move[1]);
    if (move.size() == 2) {
        line.DoReasonConclusionMove(step);
        return;
    }
    step->Exceptions.Add(fill(arena.NewStatement(), move[2]));
    line.DoExceptionMove(step);
}

// Names rather than numbers, so that the two models need not number their enumerators alike.
template <typename TType>
std::string_view typeName(TType type)
{
    return type == TType::Issue ? "Issue" : "Assumption";
}

template <typename TStatus>
std::string_view justificationName(TStatus status)
{
    return status == TStatus::Justified     ? "Justified"
           : status == TStatus::Unjustified ? "Unjustified"
                                            : "Undecided";
}

template <typename TStatus>
std::string_view defeatName(TStatus status)
{
    return status == TStatus::Undefeated ? "Undefeated"
           : status == TStatus::Defeated ? "Defeated"
                                         : "Undecided";
}

template <typename TArgument>
void appendTree(std::string &out, const TArgument &node, std::size_t depth)
{
    out.append(2 * depth, ' ');
    out += inQuotes(node.Conclusion->Text);
    out += ' ';
    out += typeName(node.Conclusion->StatementType);
    out += ' ';
    out += defeatName(node.DefeatStatus);
    out += ' ';
    out += justificationName(node.Conclusion->JustificationStatus);
    out += '\n';
    for (const auto *child : node.InitialArguments)
        appendTree(out, *child, depth + 1);
}

// Everything korvane-eval --json reports about the line, as one string for either model.
template <typename Line>
std::string snapshot(const Line &line, const std::string &questions)
{
    const auto &stage = *line.CurrentStage;
    std::string out = "moves " + std::to_string(line.ArgumentationMoves.Count()) + '\n' + questions;
    for (const auto *statement : stage.Statements) {
        out += "statement " + statement->Id + ' ' + inQuotes(statement->Text) + ' ';
        out += typeName(statement->StatementType);
        out += ' ';
        out += justificationName(statement->JustificationStatus);
        out += '\n';
    }
    for (const auto *step : stage.ReasonConclusions) {
        out += "reason " + inQuotes(step->Reason->Text) + " therefore " +
               inQuotes(step->Conclusion->Text) + '\n';
        for (const auto *exception : step->Exceptions) {
            out += "  however " + inQuotes(exception->Text) + ' ';
            out += typeName(exception->StatementType);
            out += '\n';
        }
    }
    for (const auto *root : stage.Arguments)
        appendTree(out, *root, 0);
    for (int i = 0; i < line.ArgumentationMoves.Count(); ++i) {
        for (const std::string &text : line.ArgumentationMoves[i]->Move)
            out += "memo " + inQuotes(text) + '\n';
    }
    return out;
}

// What the random lines are meant to reach, counted on the reference's stages: a generator that
// stops reaching one fails here instead of quietly testing less.
struct TReach {
    int warnings = 0;
    int confirmed = 0;
    int declined = 0;
    int selfSteps = 0;
    int ownConclusionExceptions = 0;
    int stepWarrants = 0;
    int exceptionWarrants = 0;
    int cycles = 0;
    std::array<int, 4> exceptionDepths{}; // Excepted steps met at tree depth 0, 1, 2 and below.
};

bool leadsTo(const reference::TReasonConclusions &steps, const std::string &from,
             const std::string &to)
{
    std::set<std::string> seen{from};
    std::vector<std::string> open{from};
    while (!open.empty()) {
        const std::string text = open.back();
        open.pop_back();
        if (text == to)
            return true;
        for (const reference::TReasonConclusion *step : steps) {
            if (step->Reason->Text == text && seen.insert(step->Conclusion->Text).second)
                open.push_back(step->Conclusion->Text);
        }
    }
    return false;
}

void noteDepths(TReach &reach, const reference::TReasonConclusions &steps,
                const reference::TArgument &node, std::size_t depth)
{
    for (const reference::TArgument *child : node.InitialArguments) {
        for (const reference::TReasonConclusion *step : steps) {
            if (step->Reason->Text == child->Conclusion->Text &&
                step->Conclusion->Text == node.Conclusion->Text && !step->Exceptions.IsEmpty())
                ++reach.exceptionDepths[std::min<std::size_t>(depth, 3)];
        }
        noteDepths(reach, steps, *child, depth + 1);
    }
}

void note(TReach &reach, const reference::TArgumentationStage &stage)
{
    std::set<std::string> texts;
    for (const reference::TStatement *statement : stage.Statements)
        texts.insert(statement->Text);
    for (const reference::TReasonConclusion *step : stage.ReasonConclusions) {
        const std::string &reason = step->Reason->Text;
        const std::string &conclusion = step->Conclusion->Text;
        reach.selfSteps += reason == conclusion;
        reach.cycles +=
            reason != conclusion && leadsTo(stage.ReasonConclusions, conclusion, reason);
        reach.stepWarrants += texts.contains(StepWarrant(reason, conclusion));
        for (const reference::TStatement *exception : step->Exceptions) {
            reach.ownConclusionExceptions += exception->Text == conclusion;
            reach.exceptionWarrants +=
                texts.contains(ExceptionWarrant(exception->Text, reason, conclusion));
        }
    }
    for (const reference::TArgument *root : stage.Arguments)
        noteDepths(reach, stage.ReasonConclusions, *root, 0);
}

// Replays line `seed` through both models; false at the first difference or engine failure.
bool replay(unsigned seed, TReach &reach)
{
    TLineMaker maker(seed);
    TLoggingBoxes engineBoxes(seed);
    TLoggingBoxes referenceBoxes(seed);
    TLineOfArgumentation engine(engineBoxes);
    reference::TLineOfArgumentation model(referenceBoxes);
    const int length = maker.length();
    for (int index = 1; index <= length; ++index) {
        const TMove move = maker.next();
        engineBoxes.move = referenceBoxes.move = index;
        play(model, move);
        try {
            play(engine, move);
        } catch (const std::exception &failure) {
            ADD_FAILURE() << "seed " << seed << ", move " << index
                          << ": the engine threw: " << failure.what();
            return false;
        }
        const std::string expected = snapshot(model, referenceBoxes.log);
        const std::string actual = snapshot(engine, engineBoxes.log);
        if (actual != expected) {
            ADD_FAILURE() << "seed " << seed << ", move " << index << "\n--- engine:\n"
                          << actual << "--- reference:\n"
                          << expected;
            return false;
        }
        note(reach, *model.CurrentStage);
        if (expected.size() > SnapshotLimit)
            break;
    }
    reach.warnings += referenceBoxes.warnings;
    reach.confirmed += referenceBoxes.confirmed;
    reach.declined += referenceBoxes.declined;
    return true;
}

// KORVANE_DIFF_LINES, when set, replays that many lines (seeds 1 to N) instead of CI's count.
int lineCount()
{
    const char *text = std::getenv("KORVANE_DIFF_LINES");
    if (text == nullptr)
        return DefaultLines;
    int count = 0;
    const char *end = text + std::strlen(text);
    const auto [last, error] = std::from_chars(text, end, count);
    if (error != std::errc() || last != end || count < 1) {
        ADD_FAILURE() << "KORVANE_DIFF_LINES is not a positive count: " << text;
        return 0;
    }
    return count;
}

TEST(DifferentialTest, EngineMatchesReferenceAfterEveryMove)
{
    const int lines = lineCount();
    TReach reach;
    int failed = 0;
    for (int seed = 1; seed <= lines && failed < ReportedLines; ++seed)
        failed += replay(static_cast<unsigned>(seed), reach) ? 0 : 1;
    if (failed > 0 || lines < DefaultLines)
        return;
    EXPECT_GT(reach.warnings, 0);
    EXPECT_GT(reach.confirmed, 0);
    EXPECT_GT(reach.declined, 0);
    EXPECT_GT(reach.selfSteps, 0);
    EXPECT_GT(reach.ownConclusionExceptions, 0);
    EXPECT_GT(reach.stepWarrants, 0);
    EXPECT_GT(reach.exceptionWarrants, 0);
    EXPECT_GT(reach.cycles, 0);
    for (const int count : reach.exceptionDepths)
        EXPECT_GT(count, 0);
}

} // namespace
