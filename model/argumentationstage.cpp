#include "argumentationstage.h"

#include "arena.h"
#include "argumentforest.h"
#include "incrementalcheck.h"
#include "movescope.h"
#include "stageindex.h"
#include "statuscomputation.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

TArgumentationStage::TArgumentationStage(TArena &arena) : m_arena(&arena) {}

TArgumentationStage *TArgumentationStage::NewStageFromThis() const
{
    TArgumentationStage *stage = m_arena->NewStage();
    stage->Arguments.Assign(Arguments);
    stage->Statements.Assign(Statements);
    stage->ReasonConclusions.Assign(ReasonConclusions);
    stage->m_index = m_index;
    stage->m_forest = m_forest;
    stage->m_forestRoots.Assign(m_forestRoots);
    return stage;
}

TStageIndex &TArgumentationStage::Index() const
{
    if (!m_index || !m_index->Update(Statements, ReasonConclusions, m_arena->Texts())) {
        auto fresh = std::make_shared<TStageIndex>();
        fresh->Update(Statements, ReasonConclusions, m_arena->Texts());
        m_index = std::move(fresh);
    }
    return *m_index;
}

bool TArgumentationStage::RefersToNothing() const
{
    const TStageIndex &index = Index();
    return !index.HasWarrantLikeStatement(Statements.Count())
           && !index.HasExceptedStep(ReasonConclusions.Count());
}

bool TArgumentationStage::HasOwnForest() const
{
    return Arguments.Count() == m_forestRoots.Count()
           && (Arguments.IsEmpty() || Arguments.SharesStorageWith(m_forestRoots));
}

void TArgumentationStage::DropArguments()
{
    Arguments.Clear();
    m_forestRoots.Clear();
    m_forest.reset();
}

TArgumentationStage *TArgumentationStage::DoStatementMove(TStatement *statement)
{
    return applyStatementMove(statement, true);
}

TArgumentationStage *TArgumentationStage::applyStatementMove(TStatement *statement, bool compute,
                                                            bool *overruled)
{
    TMoveScope *scope = m_arena->Scope();
    TArgumentationStage *next = NewStageFromThis();
    TStatement *held = nullptr;
    const bool isNew = IsNewStatement(*statement, held);
    if (isNew) {
        std::string id;
        GetNewId(id);
        Overwrite(scope, statement->Id, id);
        if (!next->m_forest)
            next->m_forest = std::make_shared<TArgumentForest>();
        const TTextId text = m_arena->Texts().Intern(statement->Text);
        next->Arguments.Add(next->m_forest->NewNode(statement, text, -1));
        if (scope)
            scope->ChargeNodes(1);
        if (HasOwnForest())
            next->m_forestRoots.Assign(next->Arguments);
        next->Statements.Add(statement);
    } else {
        if (overruled && held->StatementType != statement->StatementType)
            *overruled = true;
        Overwrite(scope, held->StatementType, statement->StatementType);
    }
    if (!compute)
        return next;
    if (isNew && m_arena->ComputedStage() == this && next->computeNewRootOnly(*statement)) {
        ++IncrementalPathHits().NewRootOnly;
        next->checkAgainstFullComputation(false, "a new root alone");
        return next;
    }
    next->ComputeStatuses();
    return next;
}

bool TArgumentationStage::computeNewRootOnly(const TStatement &statement)
{
    // A root that no warrant test and no attack search can meet changes no other status, and a
    // whole computation would give the others the values they hold.
    if (MayBeWarrant(statement.Text))
        return false;
    if (Index().HasExceptedStep(ReasonConclusions.Count())) {
        for (const TReasonConclusion *step : ReasonConclusions) {
            for (const TStatement *exception : step->Exceptions) {
                if (exception->Text == statement.Text)
                    return false;
            }
        }
    }
    TMoveScope *scope = m_arena->Scope();
    if (scope)
        scope->ChargeFrames(1);
    // A root alone refers to nothing.
    TArgument &root = *Arguments[Arguments.Count() - 1];
    const TDefeatStatus status = TStatusComputation::StatusWithoutReferences(root);
    root.DefeatStatus = status; // The root is new: nothing to journal.
    Overwrite(scope, root.Conclusion->JustificationStatus, JustificationFor(status));
    m_arena->SetComputedStage(this);
    return true;
}

bool TArgumentationStage::growTreesByStep(const TArgumentationStage &before,
                                          const TReasonConclusion &step)
{
    // A new conclusion above a reason that was a root of its own, or new as well, in a stage
    // where nothing refers to anything else: no exceptions, no warrant sentences, no text in two
    // roots' trees. Rebuilding would give the same roots with the reason's tree under the new
    // root at the end, and computing them would give every other node and statement the status
    // it holds: so the reason's tree is reused and only the new nodes are computed.
    if (m_arena->ComputedStage() != &before || !before.HasOwnForest() || !before.m_forest
        || before.m_forest->TextsShared() || MayBeWarrant(step.Conclusion->Text)
        || MayBeWarrant(step.Reason->Text) || step.Reason->Text == step.Conclusion->Text)
        return false;
    if (!RefersToNothing())
        return false;
    const TStageIndex &index = Index();
    const TStageIndex &earlier = before.Index();
    const int earlierSteps = before.ReasonConclusions.Count();
    const TArguments &roots = before.Arguments;
    // Roots are the statements that are no reason, in order, then those that only cycles reach
    // (and after a statement move, its root): with roots of the first kind alone, the new root
    // goes last.
    for (const TArgument *root : roots) {
        if (earlier.IsReason(static_cast<const TForestNode *>(root)->Text, earlierSteps))
            return false;
    }
    const TTextId reasonText = index.ReasonText(ReasonConclusions.Count() - 1);
    const TTextId conclusionText = index.ConclusionText(ReasonConclusions.Count() - 1);
    int reasonRoot = -1;
    if (earlier.HasStatementWithText(reasonText, before.Statements.Count())) {
        for (int i = 0; i < roots.Count() && reasonRoot < 0; ++i) {
            if (static_cast<const TForestNode *>(roots[i])->Text == reasonText)
                reasonRoot = i;
        }
        if (reasonRoot < 0)
            return false;
    }

    TMoveScope *scope = m_arena->Scope();
    TArgumentForest &forest = *m_forest;
    TArgument *support = reasonRoot >= 0 ? roots[reasonRoot] : nullptr;
    if (!support) {
        support = forest.NewNode(step.Reason, reasonText, ReasonConclusions.Count() - 1);
        support->DefeatStatus = TStatusComputation::StatusWithoutReferences(*support);
        if (scope)
            scope->ChargeNodes(1);
    }
    TForestNode *root = forest.NewNode(step.Conclusion, conclusionText, -1);
    if (scope) {
        scope->ChargeNodes(1);
        scope->ChargeFrames(reasonRoot >= 0 ? 1 : 2);
    }
    root->InitialArguments.Add(support);
    root->DefeatStatus = TStatusComputation::StatusWithoutReferences(*root);

    TArguments grown;
    grown.Reserve(roots.Count() + 1);
    for (int i = 0; i < roots.Count(); ++i) {
        if (i != reasonRoot)
            grown.Add(roots[i]);
    }
    grown.Add(root);
    if (reasonRoot < 0)
        Overwrite(scope, step.Reason->JustificationStatus, JustificationFor(support->DefeatStatus));
    Overwrite(scope, step.Conclusion->JustificationStatus, JustificationFor(root->DefeatStatus));
    Arguments = std::move(grown);
    m_forestRoots.Assign(Arguments);
    m_arena->SetComputedStage(this);
    return true;
}

TArgumentationStage *TArgumentationStage::DoReasonConclusionMove(TReasonConclusion *step)
{
    return applyReasonConclusionMove(step, true);
}

TArgumentationStage *TArgumentationStage::applyReasonConclusionMove(TReasonConclusion *step,
                                                                   bool compute)
{
    TMoveScope *scope = m_arena->Scope();
    // The stages in between show nothing: they get their ids and types but no statuses.
    const int statementsBefore = Statements.Count();
    bool overruled = false;
    TArgumentationStage *first = NewStageFromThis();
    TArgumentationStage *second = first->applyStatementMove(step->Conclusion, false, &overruled);
    TArgumentationStage *next = second->applyStatementMove(step->Reason, false, &overruled);
    m_arena->DiscardStage(first);
    m_arena->DiscardStage(second);
    const bool newConclusion = next->Statements.Count() > statementsBefore
                               && next->Statements[statementsBefore] == step->Conclusion;

    // Statements held before the move replace the move's own objects in the step; of several
    // with the text (lists the moves never build), the last.
    const TStageIndex &index = Index();
    const TTextTable &texts = m_arena->Texts();
    const int count = Statements.Count();
    if (const auto text = texts.Find(step->Reason->Text)) {
        if (const int held = index.LastStatementWithText(*text, count); held >= 0)
            Overwrite(scope, step->Reason, Statements[held]);
    }
    if (const auto text = texts.Find(step->Conclusion->Text)) {
        if (const int held = index.LastStatementWithText(*text, count); held >= 0)
            Overwrite(scope, step->Conclusion, Statements[held]);
    }

    TReasonConclusion *held = nullptr;
    const bool newStep = IsNewReasonConclusion(*step, held);
    if (newStep) {
        next->ReasonConclusions.Add(step);
    } else {
        Overwrite(scope, held->Reason->StatementType, step->Reason->StatementType);
        Overwrite(scope, held->Conclusion->StatementType, step->Conclusion->StatementType);
    }
    if (compute && newStep && newConclusion && !overruled && next->growTreesByStep(*this, *step)) {
        ++IncrementalPathHits().GrownByStep;
        next->checkAgainstFullComputation(true, "growing the trees by a step");
        return next;
    }
    next->RecomputeArguments();
    if (compute)
        next->ComputeStatuses();
    return next;
}

TArgumentationStage *TArgumentationStage::DoExceptionMove(TReasonConclusion *step)
{
    TMoveScope *scope = m_arena->Scope();
    TStatement *exception = step->Exceptions[0];
    TArgumentationStage *first = NewStageFromThis();
    TArgumentationStage *second = first->applyStatementMove(exception, false);
    TArgumentationStage *next = second->applyReasonConclusionMove(step, false);
    m_arena->DiscardStage(first);
    m_arena->DiscardStage(second);
    TReasonConclusion *held = nullptr;
    if (!IsNewReasonConclusion(*step, held)) {
        TStatement *listed = nullptr;
        for (TStatement *candidate : held->Exceptions) {
            if (SameText(*candidate, *exception)) {
                listed = candidate;
                break;
            }
        }
        if (listed) {
            Overwrite(scope, listed->StatementType, exception->StatementType);
        } else {
            if (scope)
                scope->Remember(held->Exceptions);
            held->Exceptions.Add(exception); // Shared: shows in every stage holding the step.
            // Every index that has seen the step read it without this exception.
            const TTextTable &texts = m_arena->Texts();
            const int position = Index().StepsBetween(*texts.Find(held->Reason->Text),
                                                      *texts.Find(held->Conclusion->Text)).front();
            Index().NoteException(position);
            next->Index().NoteException(position);
        }
    }
    next->ComputeStatuses();
    return next;
}

bool TArgumentationStage::IsNewStatement(const TStatement &statement, TStatement *&held) const
{
    const TStageIndex &index = Index();
    const auto text = m_arena->Texts().Find(statement.Text);
    const int position = text ? index.LastStatementWithText(*text, Statements.Count()) : -1;
    if (position < 0)
        return true;
    held = Statements[position]; // The last one with the text is given back.
    return false;
}

bool TArgumentationStage::IsNewReasonConclusion(const TReasonConclusion &step,
                                                TReasonConclusion *&held) const
{
    const TStageIndex &index = Index();
    const TTextTable &texts = m_arena->Texts();
    const auto reason = texts.Find(step.Reason->Text);
    const auto conclusion = texts.Find(step.Conclusion->Text);
    if (!reason || !conclusion)
        return true;
    const std::span<const int> between = index.StepsBetween(*reason, *conclusion);
    if (between.empty() || between.front() >= ReasonConclusions.Count())
        return true;
    held = ReasonConclusions[between.front()];
    return false;
}

void TArgumentationStage::GetNewId(std::string &id) const
{
    const int count = Statements.Count();
    if (const int known = Index().KnownNewId(count); known > 0) {
        id = std::to_string(known);
        return;
    }
    // The smallest free candidate lies in 1..count+1; marking the ids taken in that range gives
    // the same answer as trying each candidate against every id.
    const std::size_t limit = static_cast<std::size_t>(count) + 1;
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
    // Every root with its supports, as ComputeSupportingArguments and OccursInArgument would
    // give them, but with the steps looked up by text number and the texts that occur in the
    // trees so far kept in a table.
    const TStageIndex &index = Index();
    TMoveScope *scope = m_arena->Scope();
    const int statementCount = Statements.Count();
    const int stepCount = ReasonConclusions.Count();
    auto forest = std::make_shared<TArgumentForest>(scope ? scope->Serial() : 0);
    TArguments roots;
    std::vector<std::uint8_t> occurs(m_arena->Texts().Size(), 0);
    std::vector<int> rootOf(m_arena->Texts().Size(), -1); // The first root whose tree has the text.
    std::vector<std::uint8_t> used(static_cast<std::size_t>(stepCount), 0);
    const auto note = [&](TTextId text) {
        occurs[text] = 1;
        if (rootOf[text] < 0)
            rootOf[text] = roots.Count() - 1;
        else if (rootOf[text] != roots.Count() - 1)
            forest->SetTextsShared();
    };

    struct TFrame {
        TForestNode *node;
        const int *next; // The steps concluding the node's text not tried yet, ascending.
        const int *end;
        int removed;     // Position masked for the step that led here, or -1 at the top.
    };
    std::vector<TFrame> stack;
    const auto push = [&](TForestNode *node, int removed) {
        const std::vector<int> &concluding = index.StepsConcluding(node->Text);
        const int *first = concluding.data();
        const int *end = std::lower_bound(first, first + concluding.size(), stepCount);
        int supports = 0;
        for (const int *each = first; each != end; ++each)
            supports += used[static_cast<std::size_t>(*each)] == 0 ? 1 : 0;
        node->InitialArguments.Reserve(supports);
        stack.push_back({node, first, end, removed});
    };
    const auto addRoot = [&](TStatement *statement, TTextId text) {
        TForestNode *root = forest->NewNode(statement, text, -1);
        if (scope)
            scope->ChargeNodes(1);
        roots.Add(root);
        note(text);
        push(root, -1);
        while (!stack.empty()) {
            TFrame &top = stack.back();
            while (top.next != top.end && used[static_cast<std::size_t>(*top.next)] != 0)
                ++top.next;
            if (top.next == top.end) {
                if (top.removed >= 0)
                    used[static_cast<std::size_t>(top.removed)] = 0;
                stack.pop_back();
                continue;
            }
            const int position = *top.next++;
            TReasonConclusion *step = ReasonConclusions[position];
            int removed = position;
            if (!index.StepsAreDistinct()) { // The first unused occurrence of the step object.
                removed = 0;
                while (used[static_cast<std::size_t>(removed)] != 0 || ReasonConclusions[removed] != step)
                    ++removed;
            }
            const TTextId reason = index.ReasonText(position);
            TForestNode *support = forest->NewNode(step->Reason, reason, position);
            if (scope)
                scope->ChargeNodes(1);
            top.node->InitialArguments.Add(support);
            used[static_cast<std::size_t>(removed)] = 1;
            note(reason);
            push(support, removed);
        }
    };
    for (int i = 0; i < statementCount; ++i) {
        const TTextId text = index.StatementText(i);
        if (!index.IsReason(text, stepCount))
            addRoot(Statements[i], text);
    }
    // Reasons that every chain of steps onwards leads into a cycle occur in no tree yet.
    for (int i = 0; i < statementCount; ++i) {
        const TTextId text = index.StatementText(i);
        if (!occurs[text])
            addRoot(Statements[i], text);
    }
    Arguments = std::move(roots);
    m_forest = std::move(forest);
    m_forestRoots.Assign(Arguments);
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
    m_arena->SetComputedStage(nullptr);
    TStatusComputation(*this).ComputeStatuses();
    m_arena->SetComputedStage(this);
}

void TArgumentationStage::ExplainStatuses(TExplanations &explanations)
{
    explanations = TExplanations();
    explanations.IndexNodes(*this);
    m_arena->SetComputedStage(nullptr);
    TStatusComputation(*this, &explanations).ComputeStatuses();
    m_arena->SetComputedStage(this);
}

void TArgumentationStage::ResetDefeatStatus(TArgument &a)
{
    m_arena->SetComputedStage(nullptr);
    TMoveScope *scope = m_arena->Scope();
    std::vector<TArgument *> stack{&a};
    while (!stack.empty()) {
        TArgument *node = stack.back();
        stack.pop_back();
        Overwrite(scope, node->DefeatStatus, TDefeatStatus::Undecided);
        for (TArgument *child : node->InitialArguments)
            stack.push_back(child);
    }
}

void TArgumentationStage::ComputeDefeatStatus(TArgument &a)
{
    m_arena->SetComputedStage(nullptr);
    TStatusComputation(*this).ComputeDefeatStatus(a);
}

bool TArgumentationStage::StepIsWarranted(const TStatement &conclusion, TArgument &s)
{
    m_arena->SetComputedStage(nullptr);
    return TStatusComputation(*this).StepIsWarranted(conclusion, s);
}

bool TArgumentationStage::IsExceptionAttack(const TArgument &t, TArgument &b)
{
    m_arena->SetComputedStage(nullptr);
    return TStatusComputation(*this).IsExceptionAttack(t, b);
}
