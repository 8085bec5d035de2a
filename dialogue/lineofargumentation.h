#pragma once

#include "model/arena.h"
#include "model/argumentationstage.h"
#include "model/reflist.h"
#include "model/statement.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

class TMessageBoxes;
struct TAifExtras;

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
    // What the AIF file the line was opened from holds beyond its stages, for the AIF export.
    std::shared_ptr<const TAifExtras> AifExtras;

    // True when the move was recorded; false when refused or declined. Each move operation
    // makes its move whole or not at all: when it throws (TWorkBudgetExceeded for a move that
    // would take more work than one move may, std::bad_alloc, ...), the line and every stage
    // are exactly as they were before it.
    bool DoStatementMove(TStatement *statement);
    void DoReasonConclusionMove(TReasonConclusion *step);
    // Needs step->Exceptions to hold the exception as its first element.
    void DoExceptionMove(TReasonConclusion *step);
    void DoProsConsMove() {}

    // Where the line's questions go from now on; the boxes must outlive the line or the next call.
    void SetMessageBoxes(TMessageBoxes &boxes) { m_boxes = &boxes; }

    // While *cancel is set, a move in progress stops and is undone with TMoveCancelled; another
    // thread may set it. Null (the default) for moves that run to their end.
    void SetCancelFlag(const std::atomic<bool> *cancel) { m_cancel = cancel; }

    // The work of the moves recorded so far: argument nodes built and status frames computed.
    std::uint64_t NodesBuilt() const { return m_nodesBuilt; }
    std::uint64_t FramesComputed() const { return m_framesComputed; }

private:
    // Applies the move to the current stage inside one move scope and records it.
    // The lines are made after the stage operation, which may point the move at held statements.
    template <typename Apply, typename Lines>
    void makeMove(Apply apply, Lines lines);
    void Record(TArgumentationStage *next, std::vector<std::string> lines);

    TMessageBoxes *m_boxes;                      // Not owned.
    const std::atomic<bool> *m_cancel = nullptr; // Not owned.
    std::deque<TArgumentationMove> m_moves;
    std::uint64_t m_nodesBuilt = 0;
    std::uint64_t m_framesComputed = 0;
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
