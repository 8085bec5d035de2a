#include "movescope.h"

#include "arena.h"

TWorkBudgetExceeded::TWorkBudgetExceeded()
    : std::runtime_error("too large to evaluate: the move needs more than "
                         + std::to_string(TMoveScope::Budget)
                         + " argument nodes and status computations")
{
}

TMoveCancelled::TMoveCancelled() : std::runtime_error("the move was cancelled") {}

TMoveScope::TMoveScope(TArena &arena, const std::atomic<bool> *cancel)
    : m_arena(arena), m_cancel(cancel), m_outer(arena.m_scope), m_stageMark(arena.StageCount()),
      m_serial(++arena.m_moveSerial)
{
    arena.m_scope = this;
}

TMoveScope::~TMoveScope()
{
    if (!m_committed)
        rollBack();
    m_arena.m_scope = m_outer;
}

void TMoveScope::rollBack() noexcept
{
    for (auto it = m_lists.rbegin(); it != m_lists.rend(); ++it)
        *it->field = std::move(it->old);
    for (auto it = m_texts.rbegin(); it != m_texts.rend(); ++it)
        it->field->swap(it->old);
    for (auto it = m_plain.rbegin(); it != m_plain.rend(); ++it)
        std::memcpy(it->field, &it->old, it->size);
    m_arena.DiscardStagesFrom(m_stageMark);
}
