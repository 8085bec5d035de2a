#include "movehistory.h"

#include <iterator>

void TMoveHistory::Record(std::vector<TMoveText> moves)
{
    if (moves.empty())
        return;
    m_moves.resize(Position());
    m_ends.resize(m_step);
    // A saved position among the discarded ones no longer exists.
    if (m_savedStep != Nowhere && m_savedStep > m_step)
        m_savedStep = Nowhere;
    m_moves.insert(m_moves.end(), std::make_move_iterator(moves.begin()),
                   std::make_move_iterator(moves.end()));
    m_ends.push_back(m_moves.size());
    ++m_step;
}

void TMoveHistory::Reset(std::vector<TMoveText> moves)
{
    m_moves = std::move(moves);
    m_ends.clear();
    for (std::size_t end = 1; end <= m_moves.size(); ++end)
        m_ends.push_back(end);
    m_step = m_ends.size();
    m_savedStep = m_step;
}
