#include "stageindex.h"

#include <string>

namespace {

const std::vector<int> NoPositions;

template <typename T>
void growTo(std::vector<T> &byText, TTextId text, T empty)
{
    if (text >= byText.size())
        byText.resize(static_cast<std::size_t>(text) + 1, empty);
}

} // namespace

bool TStageIndex::Update(const TStatements &statements, const TReasonConclusions &steps,
                         TTextTable &texts)
{
    // A list of the same storage is a prefix of the longest one seen, or extends it.
    const auto extends = [](const auto &list, const auto &seen) {
        return list.IsEmpty() || seen.IsEmpty() || list.SharesStorageWith(seen);
    };
    if (m_broken || !extends(statements, m_statements) || !extends(steps, m_steps))
        return false;
    // A failure half way leaves the index unusable; every stage that shares it then makes its own.
    m_broken = true;
    m_texts = &texts;

    for (int i = m_statements.Count(); i < statements.Count(); ++i) {
        const TStatement &statement = *statements[i];
        const TTextId text = texts.Intern(statement.Text);
        m_statementText.push_back(text);
        growTo(m_firstStatement, text, -1);
        if (m_firstStatement[text] < 0)
            m_firstStatement[text] = i;
        else
            m_laterStatements[text].push_back(i);
        if (m_sequentialIds == i && statement.Id == std::to_string(i + 1))
            ++m_sequentialIds;
        if (m_firstWarrantLike < 0 && MayBeWarrant(statement.Text))
            m_firstWarrantLike = i;
    }
    if (statements.Count() > m_statements.Count())
        m_statements.Assign(statements);

    for (int j = m_steps.Count(); j < steps.Count(); ++j) {
        const TReasonConclusion &step = *steps[j];
        const TTextId reason = texts.Intern(step.Reason->Text);
        const TTextId conclusion = texts.Intern(step.Conclusion->Text);
        m_reasonText.push_back(reason);
        m_conclusionText.push_back(conclusion);
        m_warrantText.push_back(NoWarrantText);
        if (m_firstExcepted < 0 && !step.Exceptions.IsEmpty())
            m_firstExcepted = j;
        growTo(m_stepsConcluding, conclusion, {});
        m_stepsConcluding[conclusion].push_back(j);
        growTo(m_firstReason, reason, -1);
        if (m_firstReason[reason] < 0)
            m_firstReason[reason] = j;
        if (const auto [first, added] = m_firstBetween.try_emplace(pairKey(reason, conclusion), j); !added) {
            std::vector<int> &all = m_allBetween[first->first];
            if (all.empty())
                all.push_back(first->second);
            all.push_back(j);
        }
        if (!m_stepObjects.insert(&step).second)
            m_distinctSteps = false;
    }
    if (steps.Count() > m_steps.Count())
        m_steps.Assign(steps);
    m_broken = false;
    return true;
}

TTextId TStageIndex::WarrantText(int step)
{
    TTextId &text = m_warrantText[static_cast<std::size_t>(step)];
    if (text == NoWarrantText) {
        const TReasonConclusion &held = *m_steps[step];
        text = m_texts->Intern(StepWarrant(held.Reason->Text, held.Conclusion->Text));
    }
    return text;
}

int TStageIndex::LastStatementWithText(TTextId text, int count) const
{
    if (text >= m_firstStatement.size() || m_firstStatement[text] < 0 || m_firstStatement[text] >= count)
        return -1;
    int last = m_firstStatement[text];
    if (const auto it = m_laterStatements.find(text); it != m_laterStatements.end()) {
        for (const int position : it->second) {
            if (position < count)
                last = position;
        }
    }
    return last;
}

bool TStageIndex::HasStatementWithText(TTextId text, int count) const
{
    return text < m_firstStatement.size() && m_firstStatement[text] >= 0
           && m_firstStatement[text] < count;
}

const std::vector<int> &TStageIndex::StepsConcluding(TTextId text) const
{
    return text < m_stepsConcluding.size() ? m_stepsConcluding[text] : NoPositions;
}

std::span<const int> TStageIndex::StepsBetween(TTextId reason, TTextId conclusion) const
{
    const std::uint64_t key = pairKey(reason, conclusion);
    const auto first = m_firstBetween.find(key);
    if (first == m_firstBetween.end())
        return {};
    if (const auto all = m_allBetween.find(key); all != m_allBetween.end())
        return all->second;
    return {&first->second, 1};
}

bool TStageIndex::IsReason(TTextId text, int count) const
{
    return text < m_firstReason.size() && m_firstReason[text] >= 0 && m_firstReason[text] < count;
}
