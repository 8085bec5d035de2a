// The plain, unoptimised model, kept unchanged as the reference for the fast one.
#include "tests/reference/argumentationstage.h"

#include "tests/reference/arena.h"
#include "tests/reference/statuscomputation.h"

#include <charconv>
#include <cstddef>
#include <vector>

namespace reference {

TArgumentationStage::TArgumentationStage(TArena &arena) : m_arena(&arena) {}

TArgumentationStage *TArgumentationStage::NewStageFromThis() const
{
    TArgumentationStage *stage = m_arena->NewStage();
    stage->Arguments.Assign(Arguments);
    stage->Statements.Assign(Statements);
    stage->ReasonConclusions.Assign(ReasonConclusions);
    return stage;
}

TArgumentationStage *TArgumentationStage::DoStatementMove(TStatement *statement)
{
    TArgumentationStage *next = NewStageFromThis();
    TStatement *held = nullptr;
    if (IsNewStatement(*statement, held)) {
        GetNewId(statement->Id);
        next->Arguments.Add(m_arena->NewArgument(statement));
        next->Statements.Add(statement);
    } else {
        held->StatementType = statement->StatementType;
    }
    next->ComputeStatuses();
    return next;
}

TArgumentationStage *TArgumentationStage::DoReasonConclusionMove(TReasonConclusion *step)
{
    TArgumentationStage *next = NewStageFromThis()
                                    ->DoStatementMove(step->Conclusion)
                                    ->DoStatementMove(step->Reason);
    // Statements held before the move replace the move's own objects in the step.
    for (TStatement *statement : Statements) {
        if (SameText(*statement, *step->Reason))
            step->Reason = statement;
        if (SameText(*statement, *step->Conclusion))
            step->Conclusion = statement;
    }
    TReasonConclusion *held = nullptr;
    if (IsNewReasonConclusion(*step, held)) {
        next->ReasonConclusions.Add(step);
    } else {
        held->Reason->StatementType = step->Reason->StatementType;
        held->Conclusion->StatementType = step->Conclusion->StatementType;
    }
    next->RecomputeArguments();
    next->ComputeStatuses();
    return next;
}

TArgumentationStage *TArgumentationStage::DoExceptionMove(TReasonConclusion *step)
{
    TStatement *exception = step->Exceptions[0];
    TArgumentationStage *next =
        NewStageFromThis()->DoStatementMove(exception)->DoReasonConclusionMove(step);
    TReasonConclusion *held = nullptr;
    if (!IsNewReasonConclusion(*step, held)) {
        TStatement *listed = nullptr;
        for (TStatement *candidate : held->Exceptions) {
            if (SameText(*candidate, *exception)) {
                listed = candidate;
                break;
            }
        }
        if (listed)
            listed->StatementType = exception->StatementType;
        else
            held->Exceptions.Add(exception); // Shared: shows in every stage holding the step.
    }
    next->ComputeStatuses();
    return next;
}

bool TArgumentationStage::IsNewStatement(const TStatement &statement, TStatement *&held) const
{
    bool found = false;
    for (TStatement *candidate : Statements) {
        if (SameText(*candidate, statement)) {
            held = candidate; // The last one found is given back.
            found = true;
        }
    }
    return !found;
}

bool TArgumentationStage::IsNewReasonConclusion(const TReasonConclusion &step,
                                                TReasonConclusion *&held) const
{
    for (TReasonConclusion *candidate : ReasonConclusions) {
        if (SameText(*candidate->Reason, *step.Reason) &&
            SameText(*candidate->Conclusion, *step.Conclusion)) {
            held = candidate;
            return false;
        }
    }
    return true;
}

void TArgumentationStage::GetNewId(std::string &id) const
{
    // The smallest free candidate lies in 1..count+1; marking the ids taken in that range gives
    // the same answer as trying each candidate against every id.
    const std::size_t limit = static_cast<std::size_t>(Statements.Count()) + 1;
    std::vector<bool> taken(limit + 1, false);
    for (const TStatement *statement : Statements) {
        const std::string &text = statement->Id;
        std::size_t value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error == std::errc() && end == text.data() + text.size() && value >= 1 &&
            value <= limit)
            taken[value] = true;
    }
    std::size_t candidate = 1;
    while (candidate < limit && taken[candidate])
        ++candidate;
    id = std::to_string(candidate);
}

void TArgumentationStage::AttachIds(TReasonConclusion &step) const
{
    bool conclusionFound = false;
    bool reasonFound = false;
    for (const TStatement *statement : Statements) {
        if (SameText(*statement, *step.Conclusion)) {
            step.Conclusion->Id = statement->Id;
            conclusionFound = true;
        }
        if (SameText(*statement, *step.Reason)) {
            step.Reason->Id = statement->Id;
            reasonFound = true;
        }
    }
    if (!conclusionFound)
        GetNewId(step.Conclusion->Id);
    if (!reasonFound)
        GetNewId(step.Reason->Id);
}

void TArgumentationStage::RecomputeArguments()
{
    Arguments.Clear();
    for (TStatement *statement : Statements) {
        if (IsFinalConclusion(*statement, ReasonConclusions)) {
            TArgument *root = m_arena->NewArgument(statement);
            ComputeSupportingArguments(statement, root->InitialArguments, ReasonConclusions);
            Arguments.Add(root);
        }
    }
    // Reasons that every chain of steps onwards leads into a cycle occur in no tree yet.
    for (TStatement *statement : Statements) {
        if (!OccursInArgument(*statement, Arguments)) {
            TArgument *root = m_arena->NewArgument(statement);
            ComputeSupportingArguments(statement, root->InitialArguments, ReasonConclusions);
            Arguments.Add(root);
        }
    }
}

bool TArgumentationStage::IsFinalConclusion(const TStatement &statement,
                                            const TReasonConclusions &steps) const
{
    for (const TReasonConclusion *step : steps) {
        if (SameText(*step->Reason, statement))
            return false;
    }
    return true;
}

bool TArgumentationStage::OccursInArgument(const TStatement &statement,
                                           const TArguments &arguments) const
{
    // Depth first, the node before its sub-arguments, on an explicit stack.
    std::vector<const TArgument *> stack;
    for (int i = arguments.Count() - 1; i >= 0; --i)
        stack.push_back(arguments[i]);
    while (!stack.empty()) {
        const TArgument *node = stack.back();
        stack.pop_back();
        if (SameText(*node->Conclusion, statement))
            return true;
        for (int i = node->InitialArguments.Count() - 1; i >= 0; --i)
            stack.push_back(node->InitialArguments[i]);
    }
    return false;
}

void TArgumentationStage::ComputeSupportingArguments(TStatement *statement, TArguments &supports,
                                                     const TReasonConclusions &steps)
{
    // The reduced step list of each level is the given list with the steps used on the path
    // from the top removed (each at its first remaining occurrence); a mask over the positions
    // stands for it, so no list is copied per node.
    const int count = steps.Count();
    std::vector<bool> used(static_cast<std::size_t>(count), false);
    struct TFrame {
        const TStatement *statement;
        TArguments *supports;
        int next;
        int removed; // Position masked for the step that led here, or -1 at the top.
    };
    std::vector<TFrame> stack{{statement, &supports, 0, -1}};
    while (!stack.empty()) {
        TFrame &top = stack.back();
        int position = top.next;
        while (position < count && (used[static_cast<std::size_t>(position)] ||
                                    !SameText(*steps[position]->Conclusion, *top.statement)))
            ++position;
        if (position == count) {
            if (top.removed >= 0)
                used[static_cast<std::size_t>(top.removed)] = false;
            stack.pop_back();
            continue;
        }
        top.next = position + 1;
        TReasonConclusion *step = steps[position];
        int removed = 0;
        while (used[static_cast<std::size_t>(removed)] || steps[removed] != step)
            ++removed;
        used[static_cast<std::size_t>(removed)] = true;
        TArgument *support = m_arena->NewArgument(step->Reason);
        top.supports->Add(support);
        stack.push_back({step->Reason, &support->InitialArguments, 0, removed});
    }
}

bool TArgumentationStage::IsArgument(const TArgument &a) const
{
    bool answer = false;
    for (const TArgument *root : Arguments)
        answer = root->HasEqualStructure(a) || answer;
    return answer;
}

bool TArgumentationStage::IsInitial(const TArgument &a) const
{
    bool answer = false;
    for (const TArgument *root : Arguments)
        answer = root->IsInitial(a) || answer;
    return answer;
}

bool TArgumentationStage::IsNarrowing(const TArgument &a) const
{
    bool answer = false;
    for (const TArgument *root : Arguments)
        answer = root->IsNarrowing(a) || answer;
    return answer;
}

void TArgumentationStage::ComputeStatuses()
{
    for (TArgument *root : Arguments)
        ResetDefeatStatus(*root);
    for (TStatement *statement : Statements)
        statement->JustificationStatus = TJustificationStatus::Undecided;
    for (TArgument *root : Arguments) {
        // An earlier root's computation may already have computed this one.
        if (root->DefeatStatus == TDefeatStatus::Undecided)
            ComputeDefeatStatus(*root);
    }
}

void TArgumentationStage::ResetDefeatStatus(TArgument &a)
{
    std::vector<TArgument *> stack{&a};
    while (!stack.empty()) {
        TArgument *node = stack.back();
        stack.pop_back();
        node->DefeatStatus = TDefeatStatus::Undecided;
        for (TArgument *child : node->InitialArguments)
            stack.push_back(child);
    }
}

void TArgumentationStage::ComputeDefeatStatus(TArgument &a)
{
    TStatusComputation(*this).ComputeDefeatStatus(a);
}

bool TArgumentationStage::StepIsWarranted(const TStatement &conclusion, TArgument &s)
{
    return TStatusComputation(*this).StepIsWarranted(conclusion, s);
}

bool TArgumentationStage::IsExceptionAttack(const TArgument &t, TArgument &b)
{
    return TStatusComputation(*this).IsExceptionAttack(t, b);
}

} // namespace reference
