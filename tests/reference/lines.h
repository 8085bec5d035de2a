#pragma once

// Random lines of argumentation and a snapshot of everything a line shows, for either model.

#include "dialogue/messageboxes.h"
#include "model/statement.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <random>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lines {

constexpr int LongestLine = 25;

const std::array<std::string_view, 6> Alphabet = {"a", "b", "c", "d", "e", "f"};

struct TSentence {
    std::string text;
    bool issue = false;
};

// A statement; a reason and its conclusion; or those two and an exception.
using TMove = std::vector<TSentence>;

// The numbers a line maker draws, from a seed.
class TSeededDraws {
public:
    explicit TSeededDraws(unsigned seed) : m_random(seed) {}

    int between(int low, int high)
    {
        return std::uniform_int_distribution<int>(low, high)(m_random);
    }
    bool coin() { return (m_random() & 1U) != 0; }
    std::size_t pick(std::size_t count)
    {
        return std::uniform_int_distribution<std::size_t>(0, count - 1)(m_random);
    }

private:
    std::mt19937 m_random;
};

// The numbers a line maker draws, one byte each from a fuzzer's input, so that changing one byte
// changes one choice; zeros once the bytes are used up. The bytes must outlive the draws.
class TByteDraws {
public:
    explicit TByteDraws(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    int between(int low, int high) { return low + static_cast<int>(next() % (high - low + 1)); }
    bool coin() { return (next() & 1U) != 0; }
    std::size_t pick(std::size_t count) { return next() % count; }
    bool exhausted() const { return m_bytes.empty(); }

private:
    unsigned next()
    {
        if (m_bytes.empty())
            return 0;
        const unsigned byte = m_bytes.front();
        m_bytes = m_bytes.subspan(1);
        return byte;
    }

    std::span<const std::uint8_t> m_bytes;
};

// Draws the moves of one line. Texts come from a small alphabet and from the warrant sentences of
// the steps made so far, so texts repeat, steps form cycles and warrants meet their steps.
template <typename Draws>
class TBasicLineMaker {
public:
    // Takes what constructs the draws: a seed, or the bytes.
    template <typename Source>
    explicit TBasicLineMaker(Source &&source) : m_draws(std::forward<Source>(source))
    {
    }

    // How many moves the line has.
    int length() { return m_draws.between(1, LongestLine); }
    const Draws &draws() const { return m_draws; }

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
    int percent() { return m_draws.between(0, 99); }
    bool coin() { return m_draws.coin(); }
    std::size_t pick(std::size_t count) { return m_draws.pick(count); }

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

    Draws m_draws;
    std::vector<std::array<std::string, 2>> m_steps;  // Reason, conclusion.
    std::vector<std::array<std::string, 3>> m_blocks; // Exception, reason, conclusion.
};

using TLineMaker = TBasicLineMaker<TSeededDraws>;

inline std::string inQuotes(std::string_view text)
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
    explicit TLoggingBoxes(unsigned seed)
        : m_answer([random = std::mt19937(~seed)]() mutable { return (random() & 1U) != 0; })
    {
    }
    // Answers each confirmation with what answer() returns, for callers that choose the answers.
    explicit TLoggingBoxes(std::function<bool()> answer) : m_answer(std::move(answer)) {}

    void Warning(const std::string &text) override
    {
        ++warnings;
        log += "move " + std::to_string(move) + " warning " + inQuotes(text) + " ok\n";
    }
    bool Confirm(const std::string &text) override
    {
        const bool yes = m_answer();
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
    std::function<bool()> m_answer;
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


} // namespace lines
