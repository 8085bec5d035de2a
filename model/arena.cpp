#include "arena.h"

#include "argumentationstage.h"
#include "movescope.h"

TArena::TArena() = default;
TArena::~TArena() = default;

TStatement *TArena::NewStatement()
{
    return &m_statements.emplace_back();
}

TReasonConclusion *TArena::NewReasonConclusion()
{
    TReasonConclusion &step = m_steps.emplace_back();
    step.Reason = NewStatement();
    step.Conclusion = NewStatement();
    step.Conclusion->StatementType = TStatementType::Assumption;
    return &step;
}

TArgument *TArena::NewArgument()
{
    return NewArgument(NewStatement());
}

TArgument *TArena::NewArgument(TStatement *conclusion)
{
    TArgument &argument = m_arguments.emplace_back();
    argument.Conclusion = conclusion;
    return &argument;
}

TArguments *TArena::NewArguments()
{
    return &m_argumentLists.emplace_back();
}

TArgumentationStage *TArena::NewStage()
{
    return m_stages.emplace_back(std::make_unique<TArgumentationStage>(*this)).get();
}

void TArena::SetComputedStage(const TArgumentationStage *stage)
{
    Overwrite(m_scope, m_computedStage, stage);
}

void TArena::DiscardStage(const TArgumentationStage *stage) noexcept
{
    // A compound move discards the stages it made last: the search ends within a few.
    for (auto it = m_stages.rbegin(); it != m_stages.rend(); ++it) {
        if (it->get() == stage) {
            it->reset();
            return;
        }
    }
}

void TArena::DiscardStagesFrom(std::size_t mark) noexcept
{
    while (m_stages.size() > mark)
        m_stages.pop_back();
}
