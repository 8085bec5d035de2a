// The plain, unoptimised model, kept unchanged as the reference for the fast one.
#pragma once

#include "tests/reference/argument.h"
#include "tests/reference/statement.h"

#include <deque>
#include <memory>
#include <vector>

namespace reference {

class TArgumentationStage;

// Owns every statement, step, argument and stage of one line of argumentation. Objects are
// shared by plain pointers and live exactly as long as the arena: nothing is released earlier,
// because earlier stages keep referring to everything that was ever made.
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

private:
    std::deque<TStatement> m_statements;
    std::deque<TReasonConclusion> m_steps;
    std::deque<TArgument> m_arguments;
    std::deque<TArguments> m_argumentLists;
    std::vector<std::unique_ptr<TArgumentationStage>> m_stages;
};

} // namespace reference
