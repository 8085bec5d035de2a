#pragma once

#include "argument.h"
#include "texttable.h"

#include <cstdint>
#include <deque>

// A node of a tree that a stage built, with what the stage knew when it built it: the number of
// its conclusion's text and the position of the step that leads from it to its parent.
class TForestNode : public TArgument {
public:
    TTextId Text = 0;
    int Step = -1; // Position in the stage's ReasonConclusions; -1 for a root.
};

// Owns the argument trees that one stage built and that the stages after it share. Stages hold
// a forest by shared pointer, so a forest goes when the last stage that shows it drops it.
class TArgumentForest {
public:
    // Made during the move with the given serial (TMoveScope::Serial), or 0 outside moves.
    explicit TArgumentForest(std::uint64_t move = 0) : m_move(move) {}

    std::uint64_t MadeInMove() const { return m_move; }
    // False while no text occurs in the trees of two different roots, so that every statement
    // takes its status from its own root's tree alone.
    bool TextsShared() const { return m_textsShared; }
    void SetTextsShared() { m_textsShared = true; }
    // A new node, Undecided, with no initial arguments.
    TForestNode *NewNode(TStatement *conclusion, TTextId text, int step);
    std::size_t Size() const { return m_nodes.size(); }

private:
    std::uint64_t m_move;
    bool m_textsShared = false;
    std::deque<TForestNode> m_nodes;
};
