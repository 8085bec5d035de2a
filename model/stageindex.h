#pragma once

#include "statement.h"
#include "texttable.h"

#include <cstdint>
#include <span>
#include <unordered_map>
#include <unordered_set>
#include <vector>

// Lookups over a stage's Statements and ReasonConclusions by text number, in list order, for
// the stage and every stage after it whose lists extend the same storage. Each answer takes the
// asking stage's count, so one index serves every prefix of the lists it has seen.
//
// It reads each statement's text and id, and each step's reason and conclusion, once, when they
// are first indexed: those do not change once they are in a stage.
class TStageIndex {
public:
    // Brings the index up to the lists; false when they do not extend what it has seen, and a
    // new index is needed.
    bool Update(const TStatements &statements, const TReasonConclusions &steps, TTextTable &texts);

    TTextId StatementText(int position) const { return m_statementText[static_cast<std::size_t>(position)]; }
    // The last of the first count statements with the text, or -1.
    int LastStatementWithText(TTextId text, int count) const;
    bool HasStatementWithText(TTextId text, int count) const;
    // The smallest positive number that none of the first count statements has as its id, when
    // it is known without reading the ids; 0 otherwise.
    int KnownNewId(int count) const { return count <= m_sequentialIds ? count + 1 : 0; }
    // True when one of the first count statements may be a warrant sentence.
    bool HasWarrantLikeStatement(int count) const
    {
        return m_firstWarrantLike >= 0 && m_firstWarrantLike < count;
    }

    TTextId ReasonText(int step) const { return m_reasonText[static_cast<std::size_t>(step)]; }
    TTextId ConclusionText(int step) const { return m_conclusionText[static_cast<std::size_t>(step)]; }
    // The number of the step's warrant sentence, made when first asked for: most stages never
    // ask, and the sentences would double the texts of a long line.
    TTextId WarrantText(int step);
    // True when one of the first count steps may have an exception: it had one when indexed, or
    // NoteException named it since.
    bool HasExceptedStep(int count) const
    {
        return m_firstExcepted >= 0 && m_firstExcepted < count;
    }
    // Tells the index that the step at the position, held already, has been given an exception.
    void NoteException(int step)
    {
        if (m_firstExcepted < 0 || step < m_firstExcepted)
            m_firstExcepted = step;
    }
    // The positions of the steps concluding the text, ascending (callers stop at their count).
    const std::vector<int> &StepsConcluding(TTextId text) const;
    // The positions of the steps from reason to conclusion, ascending.
    std::span<const int> StepsBetween(TTextId reason, TTextId conclusion) const;
    // True when one of the first count steps has the text as its reason.
    bool IsReason(TTextId text, int count) const;
    // True when no step object stands twice in the list.
    bool StepsAreDistinct() const { return m_distinctSteps; }

private:
    static constexpr TTextId NoWarrantText = ~TTextId{0};

    static std::uint64_t pairKey(TTextId reason, TTextId conclusion)
    {
        return (static_cast<std::uint64_t>(reason) << 32) | conclusion;
    }

    TStatements m_statements; // The longest list seen; holds its storage.
    TReasonConclusions m_steps;

    std::vector<TTextId> m_statementText;
    std::vector<int> m_firstStatement; // By text number; -1 for none.
    std::unordered_map<TTextId, std::vector<int>> m_laterStatements; // Lists the moves never make.
    int m_sequentialIds = 0;
    int m_firstWarrantLike = -1;

    std::vector<TTextId> m_reasonText;
    std::vector<TTextId> m_conclusionText;
    std::vector<TTextId> m_warrantText; // NoWarrantText until asked for.
    TTextTable *m_texts = nullptr;      // Not owned: the arena's, which outlives its stages.
    int m_firstExcepted = -1;
    std::vector<std::vector<int>> m_stepsConcluding; // By text number.
    std::vector<int> m_firstReason;                  // By text number; -1 for none.
    std::unordered_map<std::uint64_t, int> m_firstBetween;
    std::unordered_map<std::uint64_t, std::vector<int>> m_allBetween; // Pairs of two steps or more.
    std::unordered_set<const TReasonConclusion *> m_stepObjects;
    bool m_distinctSteps = true;
    bool m_broken = false;
};
