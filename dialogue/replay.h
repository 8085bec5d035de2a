#pragma once

#include "dialogue/messageboxes.h"
#include "dialogue/movereader.h"

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <vector>

class TArena;
class TLineOfArgumentation;
class TReasonConclusion;
class TStatement;

// The objects of a move, new from the arena, made one way for the move dialogs, the move reader
// and the tests.
TStatement *NewStatement(TArena &arena, const TSentenceText &sentence);
// The step of a reason/conclusion move.
TReasonConclusion *NewStep(TArena &arena, const TSentenceText &reason,
                           const TSentenceText &conclusion);
// The step of an exception move, carrying its exception.
TReasonConclusion *NewBlockedStep(TArena &arena, const TSentenceText &reason,
                                  const TSentenceText &conclusion, const TSentenceText &exception);

// The answers for moves that were recorded once: every confirmation Yes, as it was answered
// then; the warnings, which a file made elsewhere may cause, are kept to be shown once.
class TReplayBoxes : public TMessageBoxes {
public:
    void Warning(const std::string &text) override { warnings.push_back(text); }
    bool Confirm(const std::string &) override { return true; }

    std::vector<std::string> warnings;
};

// Hands the move to the line as the move dialogs would. Returns whether the line recorded it.
bool ReplayMove(TLineOfArgumentation &line, const TMoveText &move);

// Hands the moves to the line in order, calling beforeEach, when given, with each move's 1-based
// index first. A move that needs more work than one move may throws
// TFileError "<fileName>:<line of its heading>: ..."; the moves before it stay made.
void ReplayMoves(TLineOfArgumentation &line, std::span<const TMoveText> moves,
                 const std::string &fileName,
                 const std::function<void(std::size_t)> &beforeEach = {});

// As ReplayMoves, but stops before the first move that needs more work than one move may and
// returns that TFileError's message; empty when every move was handed to the line.
std::string ReplayMovesThatFit(TLineOfArgumentation &line, std::span<const TMoveText> moves,
                               const std::string &fileName);

// The line's recorded moves from index `from` on, read back from their text. Replayed into a new
// line with every confirmation answered Yes, as they were when recorded, they give the same
// stages: a line is its moves.
std::vector<TMoveText> RecordedMoves(const TLineOfArgumentation &line, std::size_t from = 0);
