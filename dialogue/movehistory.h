#pragma once

#include "dialogue/movereader.h"

#include <cstddef>
#include <vector>

// The moves of a line of argumentation with a position in them, as an editor keeps its edits:
// the line shows moves 1..Position(); those after it can be redone until a new move discards
// them. Moves are grouped in undo steps, one per command, so a dialog that made two moves is
// undone at once. Knows which position a file holds, for the question before work is lost.
class TMoveHistory {
public:
    const std::vector<TMoveText> &Moves() const { return m_moves; }
    std::size_t Count() const { return m_moves.size(); }
    std::size_t Position() const { return positionAfter(m_step); }

    bool CanUndo() const { return m_step > 0; }
    bool CanRedo() const { return m_step < m_ends.size(); }
    // The position Undo and Redo go to. Need CanUndo() or CanRedo().
    std::size_t UndoPosition() const { return positionAfter(m_step - 1); }
    std::size_t RedoPosition() const { return positionAfter(m_step + 1); }
    void Undo() { --m_step; }
    void Redo() { ++m_step; }

    // The moves one command made at Position(): one undo step; the moves after the position go.
    // No moves, no step.
    void Record(std::vector<TMoveText> moves);
    // Starts again from these moves (an opened file), one undo step each, all made.
    void Reset(std::vector<TMoveText> moves);

    // A file now holds the moves up to Position().
    void MarkSaved() { m_savedStep = m_step; }
    // No file holds the moves up to Position(), as after opening only part of a file.
    void MarkUnsaved() { m_savedStep = Nowhere; }
    // True when the moves shown are not the ones the file holds; with no file, when there are any.
    bool IsModified() const { return m_savedStep != m_step; }

private:
    std::size_t positionAfter(std::size_t step) const { return step == 0 ? 0 : m_ends[step - 1]; }

    std::vector<TMoveText> m_moves;
    std::vector<std::size_t> m_ends; // Position after each undo step, rising.
    std::size_t m_step = 0;          // Undo steps made.
    // The undo step the file holds; Nowhere once the moves that it holds are discarded.
    static constexpr std::size_t Nowhere = static_cast<std::size_t>(-1);
    std::size_t m_savedStep = 0;
};
