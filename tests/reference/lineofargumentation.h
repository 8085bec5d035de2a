// The plain, unoptimised model, kept unchanged as the reference for the fast one.
#pragma once

#include "tests/reference/arena.h"
#include "tests/reference/argumentationstage.h"
#include "tests/reference/reflist.h"
#include "tests/reference/statement.h"

#include <deque>
#include <memory>
#include <string>
#include <vector>

class TMessageBoxes;

namespace reference {

// One recorded move: the stages around it and its text lines.
class TArgumentationMove {
public:
    TArgumentationStage *PreStage = nullptr;  // Not owned.
    TArgumentationStage *PostStage = nullptr; // Not owned.
    std::vector<std::string> Move;
};

class TArgumentationMoves : public TRefList<TArgumentationMove> {};

// The record of one dialogue. It owns the arena that holds every statement, step, argument and
// stage, and its moves; all live as long as the line. Moves and stages are only appended.
class TLineOfArgumentation {
public:
    explicit TLineOfArgumentation(TMessageBoxes &boxes);
    ~TLineOfArgumentation();
    TLineOfArgumentation(const TLineOfArgumentation &) = delete;
    TLineOfArgumentation &operator=(const TLineOfArgumentation &) = delete;

    // Where the objects handed to the move operations are to be created.
    TArena &Arena() { return *m_arena; }

private:
    std::unique_ptr<TArena> m_arena; // Declared first: outlives everything that points into it.

public:
    TArgumentationMoves ArgumentationMoves;
    TArgumentationStages ArgumentationStages;
    TArgumentationStage *CurrentStage = nullptr; // Not owned.
    bool Modified = false;
    std::string FileName;

    // True when the move was recorded; false when refused or declined.
    bool DoStatementMove(TStatement *statement);
    void DoReasonConclusionMove(TReasonConclusion *step);
    // Needs step->Exceptions to hold the exception as its first element.
    void DoExceptionMove(TReasonConclusion *step);
    void DoProsConsMove() {}

private:
    void Record(TArgumentationStage *next, std::vector<std::string> lines);

    TMessageBoxes *m_boxes; // Not owned.
    std::deque<TArgumentationMove> m_moves;
};

// Kept for its shape only: every operation does nothing.
class TArgumentationDiagram {
public:
    TArgumentationDiagram();
    ~TArgumentationDiagram();

private:
    std::unique_ptr<TArena> m_arena;

public:
    TArgumentationMoves ArgumentationMoves;
    TArgumentationStages ArgumentationStages;
    TArgumentationStage *CurrentStage = nullptr; // Not owned.

    void DoStatementMove(TStatement *) {}
    void DoReasonConclusionMove(TReasonConclusion *) {}
    void DoExceptionMove(TReasonConclusion *) {}
    void DoProsConsMove() {}
};

} // namespace reference
