#pragma once

#include "argument.h"
#include "statement.h"
#include "texttable.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <utility>
#include <vector>

class TArgumentationStage;
class TMoveScope;

// Owns every statement, step, argument and stage of one line of argumentation. Objects are
// shared by plain pointers and live as long as the arena, with one exception: the argument
// trees that the stages build belong to the stages that show them (TArgumentForest), so that
// trees nothing can show any more are released.
class TArena {
public:
    TArena();
    ~TArena();
    TArena(const TArena &) = delete;
    TArena &operator=(const TArena &) = delete;

    // A statement with empty text and id, typed Issue, Undecided.
    TStatement *NewStatement();
    // A step with two new statements, the conclusion typed Assumption, and no exceptions.
    TReasonConclusion *NewReasonConclusion();
    // An argument with a placeholder conclusion of its own.
    TArgument *NewArgument();
    // An argument concluding the given statement, with no initial arguments, Undecided.
    TArgument *NewArgument(TStatement *conclusion);
    TArguments *NewArguments();
    // An empty stage that allocates in this arena.
    TArgumentationStage *NewStage();

    // Destroys a stage that nothing refers to any more: the steps inside a compound move.
    void DiscardStage(const TArgumentationStage *stage) noexcept;

    // The numbers of the texts of this line's statements.
    TTextTable &Texts() { return m_texts; }
    // The move being made, when a line of argumentation makes one: it journals changes and
    // counts work. Null otherwise.
    TMoveScope *Scope() const { return m_scope; }

    // Makes scope the open move's and returns the one before; for the incremental check only.
    TMoveScope *SwapScope(TMoveScope *scope) { return std::exchange(m_scope, scope); }

    // The stage whose statuses the shared objects hold now, or null when unknown: a statement
    // move on it may then compute only what it adds.
    const TArgumentationStage *ComputedStage() const { return m_computedStage; }
    void SetComputedStage(const TArgumentationStage *stage);

private:
    friend class TMoveScope;
    std::size_t StageCount() const { return m_stages.size(); }
    // Destroys the stages made since the count was mark; nothing may refer to them.
    void DiscardStagesFrom(std::size_t mark) noexcept;

    std::deque<TStatement> m_statements;
    std::deque<TReasonConclusion> m_steps;
    std::deque<TArgument> m_arguments;
    std::deque<TArguments> m_argumentLists;
    std::vector<std::unique_ptr<TArgumentationStage>> m_stages; // Null where one was discarded.
    TTextTable m_texts;
    TMoveScope *m_scope = nullptr; // Not owned.
    std::uint64_t m_moveSerial = 0;
    const TArgumentationStage *m_computedStage = nullptr; // Not owned.
};
