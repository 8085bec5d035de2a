#include "statuscomputation.h"

#include "arena.h"
#include "argumentationstage.h"
#include "argumentforest.h"
#include "movescope.h"
#include "stageindex.h"

#include <algorithm>
#include <cassert>

namespace {

std::uint64_t pairKey(std::uint32_t high, std::uint32_t low)
{
    return (static_cast<std::uint64_t>(high) << 32) | low;
}

// The room of a work vector of the last computation on this thread, kept for the next one: deep
// trees need deep frame stacks, and asking the system for them anew on every move costs more than
// the computation. Only capacity is kept; every computation starts empty.
template <typename T>
std::vector<T> &spare()
{
    thread_local std::vector<T> kept;
    return kept;
}

template <typename T>
void takeSpare(std::vector<T> &items)
{
    items.swap(spare<T>());
    items.clear();
}

template <typename T>
void keepSpare(std::vector<T> &items) noexcept
{
    items.clear();
    if (items.capacity() > spare<T>().capacity())
        items.swap(spare<T>());
}

} // namespace

TStatusComputation::TStatusComputation(TArgumentationStage &stage, TExplanations *explain)
    : m_stage(stage), m_index(stage.Index()), m_texts(stage.Arena().Texts()),
      m_scope(stage.Arena().Scope()), m_explain(explain), m_statementCount(stage.Statements.Count()),
      m_stepCount(stage.ReasonConclusions.Count())
{
    // Trees built in the open move are new objects that a rollback discards whole.
    m_journalNodes = m_scope == nullptr || !stage.HasOwnForest() || !stage.m_forest
                     || stage.m_forest->MadeInMove() != m_scope->Serial();
    takeSpare(m_frames);
    takeSpare(m_slots);
    takeSpare(m_children);
    takeSpare(m_callees);
}

TStatusComputation::~TStatusComputation()
{
    keepSpare(m_frames);
    keepSpare(m_slots);
    keepSpare(m_children);
    keepSpare(m_callees);
}

// --- The stage's trees as slots ---

void TStatusComputation::buildSlots()
{
    if (m_slotsBuilt)
        return;
    m_slotsBuilt = true;
    const TArguments &roots = m_stage.Arguments;
    m_rootSlots.reserve(static_cast<std::size_t>(roots.Count()));
    for (TArgument *root : roots)
        m_rootSlots.push_back(addTree(root));
    for (int r = 0; r < roots.Count(); ++r)
        m_rootsByText[m_slots[static_cast<std::size_t>(m_rootSlots[static_cast<std::size_t>(r)])].text]
            .push_back(r);
}

int TStatusComputation::addTree(TArgument *root)
{
    const bool own = m_stage.HasOwnForest();
    // Trees that the stage built hold every node once; others may share one, and a shared node
    // is one argument with one status.
    const auto newSlot = [&](TArgument *node) {
        if (!own) {
            if (const auto it = m_slotOf.find(node); it != m_slotOf.end())
                return std::pair{it->second, false};
        }
        const int slot = static_cast<int>(m_slots.size());
        TSlot entry{node, 0, -1, 0, 0, TProgress::NotComputed, 0, 0};
        if (own) {
            const auto *built = static_cast<const TForestNode *>(node);
            entry.text = built->Text;
            entry.step = built->Step;
        } else {
            entry.text = m_texts.Intern(node->Conclusion->Text);
            m_slotOf.emplace(node, slot);
        }
        m_slots.push_back(entry);
        return std::pair{slot, true};
    };
    const auto [top, added] = newSlot(root);
    if (!added)
        return top;
    std::vector<int> pending{top};
    while (!pending.empty()) {
        const int slot = pending.back();
        pending.pop_back();
        TArgument *node = m_slots[static_cast<std::size_t>(slot)].node;
        const int first = static_cast<int>(m_children.size());
        for (TArgument *child : node->InitialArguments) {
            const auto [childSlot, childAdded] = newSlot(child);
            m_children.push_back(childSlot);
            if (childAdded)
                pending.push_back(childSlot);
        }
        m_slots[static_cast<std::size_t>(slot)].firstChild = first;
        m_slots[static_cast<std::size_t>(slot)].childCount = node->InitialArguments.Count();
    }
    return top;
}

int TStatusComputation::childSlot(int slot, int index) const
{
    return m_children[static_cast<std::size_t>(m_slots[static_cast<std::size_t>(slot)].firstChild + index)];
}

int TStatusComputation::placeSlot(TPlace place) const
{
    const int root = m_rootSlots[static_cast<std::size_t>(place.root)];
    return place.child < 0 ? root : childSlot(root, place.child);
}

// --- What the attack search looks at ---

void TStatusComputation::prepareAttacks()
{
    if (m_attacksPrepared)
        return;
    m_attacksPrepared = true;
    m_exceptionTexts.resize(static_cast<std::size_t>(m_stepCount));
    std::unordered_map<TTextId, bool> exceptionText;
    for (int j = 0; j < m_stepCount; ++j) {
        for (const TStatement *exception : m_stage.ReasonConclusions[j]->Exceptions) {
            const TTextId text = m_texts.Intern(exception->Text);
            m_exceptionTexts[static_cast<std::size_t>(j)].push_back(text);
            exceptionText[text] = true;
            m_anyException = true;
        }
    }
    if (!m_anyException)
        return;
    // Only a root or an initial argument of a root can attack, and only with an exception's text.
    for (int r = 0; r < static_cast<int>(m_rootSlots.size()); ++r) {
        const TSlot &root = m_slots[static_cast<std::size_t>(m_rootSlots[static_cast<std::size_t>(r)])];
        if (exceptionText.contains(root.text))
            m_placesByText[root.text].push_back({r, -1});
        for (int c = 0; c < root.childCount; ++c) {
            const TTextId text = m_slots[static_cast<std::size_t>(childSlot(m_rootSlots[static_cast<std::size_t>(r)], c))].text;
            if (exceptionText.contains(text))
                m_placesByText[text].push_back({r, c});
        }
    }
}

const std::vector<TStatusComputation::TPlace> &TStatusComputation::attackersFor(int a, int s)
{
    static const std::vector<TPlace> none;
    prepareAttacks();
    if (!m_anyException)
        return none;
    const TTextId reason = m_slots[static_cast<std::size_t>(s)].text;
    const TTextId conclusion = m_slots[static_cast<std::size_t>(a)].text;
    const auto [it, added] = m_attackers.try_emplace(pairKey(reason, conclusion));
    if (!added)
        return it->second;
    // The places whose text is an exception of a step from the reason to the conclusion, in the
    // order of the search: root by root, each root before its initial arguments.
    std::vector<TPlace> &places = it->second;
    std::vector<TTextId> texts;
    for (const int j : m_index.StepsBetween(reason, conclusion)) {
        if (j >= m_stepCount)
            break;
        for (const TTextId text : m_exceptionTexts[static_cast<std::size_t>(j)]) {
            if (std::find(texts.begin(), texts.end(), text) != texts.end())
                continue;
            texts.push_back(text);
            if (const auto found = m_placesByText.find(text); found != m_placesByText.end())
                places.insert(places.end(), found->second.begin(), found->second.end());
        }
    }
    std::sort(places.begin(), places.end(), [](TPlace x, TPlace y) {
        return x.root != y.root ? x.root < y.root : x.child < y.child;
    });
    return places;
}

TTextId TStatusComputation::warrantText(int a, int s)
{
    const TSlot &support = m_slots[static_cast<std::size_t>(s)];
    if (support.step >= 0)
        return m_index.WarrantText(support.step);
    const TSlot &argument = m_slots[static_cast<std::size_t>(a)];
    return m_texts.Intern(StepWarrant(support.node->Conclusion->Text, argument.node->Conclusion->Text));
}

TTextId TStatusComputation::exceptionWarrantText(int step, int exception)
{
    const auto [it, added] = m_exceptionWarrants.try_emplace(
        pairKey(static_cast<std::uint32_t>(step), static_cast<std::uint32_t>(exception)));
    if (added) {
        const TReasonConclusion &r = *m_stage.ReasonConclusions[step];
        it->second = m_texts.Intern(ExceptionWarrant(r.Exceptions[exception]->Text, r.Reason->Text,
                                                     r.Conclusion->Text));
    }
    return it->second;
}

// --- Writes ---

void TStatusComputation::setStatus(int slot, TDefeatStatus status)
{
    TArgument &node = *m_slots[static_cast<std::size_t>(slot)].node;
    if (m_journalNodes)
        Overwrite(m_scope, node.DefeatStatus, status);
    else
        node.DefeatStatus = status;
}

void TStatusComputation::setJustification(TStatement &statement, TJustificationStatus status)
{
    Overwrite(m_scope, statement.JustificationStatus, status);
}

void TStatusComputation::charge()
{
    if (m_scope)
        m_scope->ChargeFrames(1);
}

// --- Entry points ---

void TStatusComputation::ComputeStatuses()
{
    if (computeWithoutReferences())
        return;
    buildSlots();
    for (std::size_t slot = 0; slot < m_slots.size(); ++slot)
        setStatus(static_cast<int>(slot), TDefeatStatus::Undecided);
    for (TStatement *statement : m_stage.Statements)
        setJustification(*statement, TJustificationStatus::Undecided);
    for (const int root : m_rootSlots) {
        // An earlier root's computation may already have computed this one.
        if (computeIfUndecided(root))
            run(0);
    }
}

TDefeatStatus TStatusComputation::StatusWithoutReferences(const TArgument &a)
{
    // An assumption is undefeated; an issue is undefeated by an undefeated reason, whose step
    // is warranted and unattacked, and undecided without one.
    bool undefeated = a.Conclusion->StatementType == TStatementType::Assumption;
    for (int i = 0; i < a.InitialArguments.Count() && !undefeated; ++i)
        undefeated = a.InitialArguments[i]->DefeatStatus == TDefeatStatus::Undefeated;
    return undefeated ? TDefeatStatus::Undefeated : TDefeatStatus::Undecided;
}

bool TStatusComputation::computeWithoutReferences()
{
    // Without exceptions and without warrant sentences no computation looks outside its own
    // tree: every step is warranted, nothing attacks, and the rules come down to this walk.
    // Trees the stage built hold no node twice, so no argument is met in progress.
    if (m_explain || !m_stage.HasOwnForest() || !m_stage.RefersToNothing())
        return false;
    struct TVisit {
        TArgument *node;
        int next;
    };
    std::vector<TVisit> stack;
    const auto write = [&](TArgument &node, TDefeatStatus status) {
        if (m_journalNodes)
            Overwrite(m_scope, node.DefeatStatus, status);
        else
            node.DefeatStatus = status;
    };
    if (m_journalNodes) {
        for (TArgument *root : m_stage.Arguments) {
            stack.push_back({root, 0});
            while (!stack.empty()) {
                TArgument *node = stack.back().node;
                stack.pop_back();
                write(*node, TDefeatStatus::Undecided);
                for (TArgument *child : node->InitialArguments)
                    stack.push_back({child, 0});
            }
        }
    }
    for (TStatement *statement : m_stage.Statements)
        setJustification(*statement, TJustificationStatus::Undecided);
    for (TArgument *root : m_stage.Arguments) {
        if (root->DefeatStatus != TDefeatStatus::Undecided)
            continue;
        stack.push_back({root, 0});
        while (!stack.empty()) {
            TVisit &top = stack.back();
            TArgument &node = *top.node;
            if (top.next < node.InitialArguments.Count()) {
                TArgument *support = node.InitialArguments[top.next++];
                if (support->DefeatStatus == TDefeatStatus::Undecided)
                    stack.push_back({support, 0});
                continue;
            }
            charge();
            const TDefeatStatus status = StatusWithoutReferences(node);
            write(node, status);
            setJustification(*node.Conclusion, JustificationFor(status));
            stack.pop_back();
        }
    }
    return true;
}

int TStatusComputation::slotFor(TArgument &node)
{
    // Asked once per call from outside, so a plain search will do.
    buildSlots();
    for (std::size_t i = 0; i < m_slots.size(); ++i) {
        if (m_slots[i].node == &node)
            return static_cast<int>(i);
    }
    return addTree(&node);
}

void TStatusComputation::ComputeDefeatStatus(TArgument &a)
{
    pushDefeat(slotFor(a));
    run(0);
}

bool TStatusComputation::StepIsWarranted(const TStatement &conclusion, TArgument &s)
{
    buildSlots();
    if (!pushWarrant(m_texts.Intern(StepWarrant(s.Conclusion->Text, conclusion.Text))))
        return m_result;
    return run(0);
}

bool TStatusComputation::IsExceptionAttack(const TArgument &t, TArgument &b)
{
    const int slot = slotFor(b);
    std::vector<TTextId> reasons;
    for (const TArgument *initial : t.InitialArguments)
        reasons.push_back(m_texts.Intern(initial->Conclusion->Text));
    pushAttack(m_texts.Intern(t.Conclusion->Text), reasons, slot);
    return run(0);
}

// --- Frames ---

bool TStatusComputation::run(std::size_t base)
{
    // Compiled twice, so that the computation pays nothing for explanations it does not record.
    return m_explain ? runFrames<true>(base) : runFrames<false>(base);
}

template <bool Explain>
bool TStatusComputation::runFrames(std::size_t base)
{
    while (m_frames.size() > base) {
        TFrame &f = m_frames.back();
        switch (f.task) {
        case TTask::Defeat:
            stepDefeat<Explain>(f);
            break;
        case TTask::Warrant:
            stepWarrant<Explain>(f);
            break;
        case TTask::Attack:
            stepAttack<Explain>(f);
            break;
        }
    }
    return m_result;
}

bool TStatusComputation::computeIfUndecided(int slot)
{
    if (status(slot) != TDefeatStatus::Undecided)
        return false;
    switch (m_slots[static_cast<std::size_t>(slot)].progress) {
    case TProgress::InProgress:
        m_frames.back().metInProgress = true;
        return false;
    case TProgress::KnownUndecided:
        repeatKnownUndecided(slot);
        m_callees.push_back(slot);
        return false;
    case TProgress::NotComputed:
    case TProgress::Decided:
        break;
    }
    pushDefeat(slot);
    return true;
}

void TStatusComputation::pushDefeat(int slot)
{
    charge();
    m_slots[static_cast<std::size_t>(slot)].progress = TProgress::InProgress;
    if (m_explain)
        m_notes.emplace_back();
    TFrame frame{TTask::Defeat, TPhase::ComputeSupports};
    frame.slot = slot;
    frame.calleeBase = static_cast<int>(m_callees.size());
    m_frames.push_back(frame);
}

bool TStatusComputation::pushWarrant(TTextId sentence)
{
    // A warrant that is no statement counts.
    if (!m_index.HasStatementWithText(sentence, m_statementCount)) {
        if (m_explain)
            m_warrantFact = {TWarrantState::NotStated, -1, sentence};
        m_result = true;
        return false;
    }
    charge();
    TFrame frame{TTask::Warrant, TPhase::FirstRoot};
    frame.sentence = sentence;
    const auto it = m_rootsByText.find(sentence);
    frame.sentenceRoots = it != m_rootsByText.end() ? &it->second : nullptr;
    m_frames.push_back(frame);
    return true;
}

void TStatusComputation::pushAttack(TTextId conclusion, std::span<const TTextId> reasons,
                                    int attacker)
{
    charge();
    // Every step concluding t's conclusion, every exception of it with b's text, every initial
    // argument of t concluding the step's reason: in the moves' stages, one pair at most.
    prepareAttacks();
    TFrame frame{TTask::Attack, TPhase::NextMatch};
    frame.slot = attacker;
    frame.matchBase = static_cast<int>(m_matches.size());
    const TTextId text = m_slots[static_cast<std::size_t>(attacker)].text;
    for (const int j : m_index.StepsConcluding(conclusion)) {
        if (j >= m_stepCount)
            break;
        const std::vector<TTextId> &exceptions = m_exceptionTexts[static_cast<std::size_t>(j)];
        for (std::size_t k = 0; k < exceptions.size(); ++k) {
            if (exceptions[k] != text)
                continue;
            for (const TTextId reason : reasons) {
                if (reason == m_index.ReasonText(j))
                    m_matches.emplace_back(j, static_cast<int>(k));
            }
        }
    }
    frame.matchCount = static_cast<int>(m_matches.size()) - frame.matchBase;
    m_frames.push_back(frame);
}

void TStatusComputation::finish(bool result)
{
    const bool metInProgress = m_frames.back().metInProgress;
    m_result = result;
    m_frames.pop_back();
    if (!m_frames.empty() && metInProgress)
        m_frames.back().metInProgress = true;
}

void TStatusComputation::finishDefeat()
{
    TFrame &f = m_frames.back();
    TSlot &slot = m_slots[static_cast<std::size_t>(f.slot)];
    const int self = f.slot;
    const auto base = static_cast<std::size_t>(f.calleeBase);
    const bool undecided = slot.node->DefeatStatus == TDefeatStatus::Undecided;
    if (!undecided) {
        slot.progress = TProgress::Decided;
    } else if (f.metInProgress) {
        slot.progress = TProgress::NotComputed; // Met again, it is computed again.
    } else {
        // Its result cannot change any more: remember which Undecided arguments it met, whose
        // writes meeting it again repeats.
        slot.progress = TProgress::KnownUndecided;
        slot.firstCallee = static_cast<int>(m_remembered.size());
        slot.calleeCount = static_cast<int>(m_callees.size() - base);
        m_remembered.insert(m_remembered.end(), m_callees.begin() + static_cast<std::ptrdiff_t>(base),
                            m_callees.end());
    }
    m_callees.resize(base);
    if (m_explain)
        m_notes.pop_back();
    finish(false);
    if (undecided)
        m_callees.push_back(self);
}

void TStatusComputation::repeatKnownUndecided(int slot)
{
    // Computing it again would compute again every Undecided argument it met, each of which
    // ends Undecided and writes Undecided into its conclusion: the same writes, in any order.
    if (m_seen.size() < m_slots.size())
        m_seen.resize(m_slots.size(), 0);
    ++m_epoch;
    std::vector<int> pending{slot};
    m_seen[static_cast<std::size_t>(slot)] = m_epoch;
    while (!pending.empty()) {
        const TSlot &met = m_slots[static_cast<std::size_t>(pending.back())];
        pending.pop_back();
        assert(met.progress == TProgress::KnownUndecided);
        charge();
        setJustification(*met.node->Conclusion, TJustificationStatus::Undecided);
        if (m_explain)
            m_explain->m_lastComputed[met.node->Conclusion] = met.node;
        for (int i = 0; i < met.calleeCount; ++i) {
            const int callee = m_remembered[static_cast<std::size_t>(met.firstCallee + i)];
            if (m_seen[static_cast<std::size_t>(callee)] != m_epoch) {
                m_seen[static_cast<std::size_t>(callee)] = m_epoch;
                pending.push_back(callee);
            }
        }
    }
}

// ComputeDefeatStatus of one argument A, phase by phase in the order of the rules.
template <bool Explain>
void TStatusComputation::stepDefeat(TFrame &f)
{
    const TSlot &a = m_slots[static_cast<std::size_t>(f.slot)];
    TArgument &argument = *a.node;
    for (;;) {
        switch (f.phase) {
        case TPhase::ComputeSupports: // The initial arguments are computed first.
            while (f.reason < a.childCount) {
                if (computeIfUndecided(childSlot(f.slot, f.reason++)))
                    return;
            }
            f.phase = TPhase::Decide;
            break;
        case TPhase::Decide:
            if (argument.DefeatStatus != TDefeatStatus::Undecided) { // Computed meanwhile.
                finishDefeat();
                return;
            }
            if (argument.Conclusion->StatementType == TStatementType::Assumption) {
                setStatus(f.slot, TDefeatStatus::Undefeated);
                if (Explain)
                    explain(f.slot, f, {.Kind = TWhyKind::Assumption});
                f.phase = TPhase::Conclude;
                break;
            }
            f.reason = 0;
            f.phase = TPhase::TryReason;
            break;
        case TPhase::TryReason: { // Initial argument S as a one-step argument T = A <- S.
            if (f.reason >= a.childCount) {
                f.phase = TPhase::Settle;
                break;
            }
            const int s = childSlot(f.slot, f.reason);
            if (status(s) != TDefeatStatus::Undefeated) {
                if (Explain) {
                    TNotes &notes = m_notes.back();
                    if (notes.other < 0 || (!notes.otherInProgress && inProgress(s)))
                        notes.other = s, notes.otherStatus = status(s), notes.otherInProgress = inProgress(s);
                }
                ++f.reason;
                break;
            }
            f.someUndefeated = true;
            f.phase = TPhase::AfterWarrant;
            if (pushWarrant(warrantText(f.slot, s)))
                return;
            break;
        }
        case TPhase::AfterWarrant:
            if (Explain) {
                TNotes &notes = m_notes.back();
                notes.warrant = m_warrantFact;
                notes.missed = false;
                if (!m_result && notes.unwarranted < 0)
                    notes.unwarranted = childSlot(f.slot, f.reason), notes.unwarrantedFact = m_warrantFact;
            }
            if (!m_result) {
                ++f.reason;
                f.phase = TPhase::TryReason;
                break;
            }
            f.someWarranted = true;
            f.attacked = false;
            f.attackers = &attackersFor(f.slot, childSlot(f.slot, f.reason));
            f.nextAttacker = 0;
            f.skipRoot = -1;
            f.phase = TPhase::SearchAttackers;
            break;
        case TPhase::SearchAttackers: { // Roots, and below each root its initial arguments.
            while (f.nextAttacker < f.attackers->size()
                   && (*f.attackers)[f.nextAttacker].root == f.skipRoot)
                ++f.nextAttacker;
            if (f.nextAttacker == f.attackers->size()) {
                f.phase = TPhase::AttackSearched;
                break;
            }
            f.place = (*f.attackers)[f.nextAttacker++];
            f.phase = TPhase::AfterAttack;
            const TTextId conclusion = a.text;
            const TTextId reason = m_slots[static_cast<std::size_t>(childSlot(f.slot, f.reason))].text;
            pushAttack(conclusion, std::span(&reason, 1), placeSlot(f.place));
            return;
        }
        case TPhase::AfterAttack:
            if (Explain) {
                TNotes &notes = m_notes.back();
                if (!m_result && !notes.missed)
                    notes.missed = true, notes.miss = m_attackFact;
                if (m_result && !f.attacked && notes.blocked < 0) {
                    notes.blocked = childSlot(f.slot, f.reason);
                    notes.blockedWarrant = notes.warrant;
                    notes.block = m_attackFact;
                }
            }
            if (!m_result) {
                f.phase = TPhase::SearchAttackers;
                break;
            }
            f.attacked = true;
            if (f.place.child < 0) { // A root attacks: the whole search ends.
                f.phase = TPhase::AttackSearched;
                break;
            }
            f.skipRoot = f.place.root; // On with the next root.
            f.phase = TPhase::SearchAttackers;
            break;
        case TPhase::AttackSearched:
            if (!f.attacked) {
                f.found = true;
                setStatus(f.slot, TDefeatStatus::Undefeated);
                if (Explain) {
                    const TNotes &notes = m_notes.back();
                    const int s = childSlot(f.slot, f.reason);
                    TWhy why{.Kind = TWhyKind::Unblocked, .Reason = m_slots[static_cast<std::size_t>(s)].node,
                             .ReasonStatus = status(s)};
                    explainWarrant(why, notes.warrant);
                    if (notes.missed)
                        explainAttack(why, notes.miss);
                    else
                        why.Block = stepListsExceptions(f.slot, s) ? TBlockState::NotFound
                                                                   : TBlockState::NoException;
                    explain(f.slot, f, why);
                }
                f.phase = TPhase::Settle;
                break;
            }
            if (Explain)
                ++m_notes.back().blockedCount;
            ++f.reason;
            f.phase = TPhase::TryReason;
            break;
        case TPhase::Settle:
            if (!f.found)
                setStatus(f.slot, TDefeatStatus::Defeated);
            if (!f.someUndefeated || !f.someWarranted)
                setStatus(f.slot, TDefeatStatus::Undecided);
            if (Explain && !f.found) {
                const TNotes &notes = m_notes.back();
                TWhy why;
                if (!f.someUndefeated && a.childCount == 0) {
                    why.Kind = TWhyKind::NoReasons;
                } else if (!f.someUndefeated) {
                    why = {.Kind = TWhyKind::NoUndefeatedReason,
                           .Reason = m_slots[static_cast<std::size_t>(notes.other)].node,
                           .ReasonStatus = notes.otherStatus, .ReasonInProgress = notes.otherInProgress};
                } else if (!f.someWarranted) {
                    why = {.Kind = TWhyKind::NoWarrantedStep,
                           .Reason = m_slots[static_cast<std::size_t>(notes.unwarranted)].node,
                           .ReasonStatus = TDefeatStatus::Undefeated};
                    explainWarrant(why, notes.unwarrantedFact);
                } else {
                    why = {.Kind = TWhyKind::Blocked,
                           .Reason = m_slots[static_cast<std::size_t>(notes.blocked)].node,
                           .ReasonStatus = TDefeatStatus::Undefeated};
                    explainWarrant(why, notes.blockedWarrant);
                    explainAttack(why, notes.block);
                    why.OtherBlocked = notes.blockedCount - 1;
                }
                explain(f.slot, f, why);
            }
            f.phase = TPhase::Conclude;
            break;
        case TPhase::Conclude:
            setJustification(*argument.Conclusion, JustificationFor(argument.DefeatStatus));
            if (Explain)
                m_explain->m_lastComputed[argument.Conclusion] = &argument;
            finishDefeat();
            return;
        default:
            assert(false);
            return;
        }
    }
}

// Does a warrant sentence that is a statement have an undefeated root? Roots Undecided so far
// are computed on the spot.
template <bool Explain>
void TStatusComputation::stepWarrant(TFrame &f)
{
    for (;;) {
        switch (f.phase) {
        case TPhase::FirstRoot: {
            if (!f.sentenceRoots || f.nextRoot >= f.sentenceRoots->size()) {
                if (Explain)
                    m_warrantFact = {f.slot >= 0 ? TWarrantState::InProgress : TWarrantState::Unsupported,
                                     f.slot, f.sentence};
                finish(false);
                return;
            }
            const int root = m_rootSlots[static_cast<std::size_t>((*f.sentenceRoots)[f.nextRoot])];
            f.phase = TPhase::AfterRoot;
            if (computeIfUndecided(root))
                return;
            break;
        }
        case TPhase::AfterRoot: {
            const int root = m_rootSlots[static_cast<std::size_t>((*f.sentenceRoots)[f.nextRoot])];
            if (status(root) == TDefeatStatus::Undefeated) {
                if (Explain)
                    m_warrantFact = {TWarrantState::Supported, root, f.sentence};
                finish(true);
                return;
            }
            if (Explain && f.slot < 0 && inProgress(root))
                f.slot = root;
            ++f.nextRoot;
            f.phase = TPhase::FirstRoot;
            break;
        }
        default:
            assert(false);
            return;
        }
    }
}

// Does attacker B attack T? For each matching step and exception: the exception warrant must
// count, and B must be undefeated. No match ends the walk early.
template <bool Explain>
void TStatusComputation::stepAttack(TFrame &f)
{
    for (;;) {
        switch (f.phase) {
        case TPhase::NextMatch: {
            if (f.match >= f.matchCount) {
                if (Explain && f.matchCount == 0)
                    m_attackFact = {TBlockState::NotFound, f.slot, TDefeatStatus::Undecided, {}};
                m_matches.resize(static_cast<std::size_t>(f.matchBase));
                finish(f.answer);
                return;
            }
            const auto [step, exception] = m_matches[static_cast<std::size_t>(f.matchBase + f.match)];
            f.phase = TPhase::AfterExceptionWarrant;
            if (pushWarrant(exceptionWarrantText(step, exception)))
                return;
            break;
        }
        case TPhase::AfterExceptionWarrant:
            if (Explain) {
                if (!m_result)
                    m_attackFact = {m_warrantFact.state == TWarrantState::InProgress
                                        ? TBlockState::WarrantInProgress
                                        : TBlockState::WarrantUnsupported,
                                    f.slot, status(f.slot), m_warrantFact};
                else
                    f.skipRoot = m_warrantFact.root;
            }
            if (!m_result) {
                ++f.match;
                f.phase = TPhase::NextMatch;
                break;
            }
            f.phase = TPhase::AfterAttacker;
            if (computeIfUndecided(f.slot))
                return;
            break;
        case TPhase::AfterAttacker:
            if (status(f.slot) == TDefeatStatus::Undefeated)
                f.answer = true;
            if (Explain) {
                const TBlockState state = f.answer      ? TBlockState::Blocks
                                          : inProgress(f.slot) ? TBlockState::AttackerInProgress
                                                              : TBlockState::AttackerNotUndefeated;
                const TWarrantState warrant = f.skipRoot >= 0 ? TWarrantState::Supported : TWarrantState::NotStated;
                m_attackFact = {state, f.slot, status(f.slot), {warrant, f.skipRoot, 0}};
            }
            ++f.match;
            f.phase = TPhase::NextMatch;
            break;
        default:
            assert(false);
            return;
        }
    }
}

// --- Explanations ---

void TStatusComputation::explain(int slot, const TFrame &f, TWhy why)
{
    why.Settled = !f.metInProgress;
    m_explain->m_arguments[m_slots[static_cast<std::size_t>(slot)].node] = why;
}

void TStatusComputation::explainWarrant(TWhy &why, const TWarrantFact &fact)
{
    why.Warrant = fact.state;
    if (fact.root >= 0)
        why.WarrantRoot = m_slots[static_cast<std::size_t>(fact.root)].node;
    if (fact.state != TWarrantState::NotStated)
        why.WarrantStatement = statementWithText(fact.sentence);
}

void TStatusComputation::explainAttack(TWhy &why, const TAttackFact &fact)
{
    why.Block = fact.state;
    why.Attacker = fact.attacker >= 0 ? m_slots[static_cast<std::size_t>(fact.attacker)].node : nullptr;
    why.AttackerStatus = fact.attackerStatus;
    if (fact.warrant.root >= 0)
        why.ExceptionWarrantRoot = m_slots[static_cast<std::size_t>(fact.warrant.root)].node;
    if (fact.state == TBlockState::WarrantUnsupported || fact.state == TBlockState::WarrantInProgress)
        why.ExceptionWarrant = statementWithText(fact.warrant.sentence);
}

const TStatement *TStatusComputation::statementWithText(TTextId text)
{
    if (m_statementOfText.empty()) {
        for (int i = 0; i < m_statementCount; ++i)
            m_statementOfText.try_emplace(m_texts.Intern(m_stage.Statements[i]->Text), m_stage.Statements[i]);
    }
    const auto it = m_statementOfText.find(text);
    return it == m_statementOfText.end() ? nullptr : it->second;
}

bool TStatusComputation::stepListsExceptions(int a, int s) const
{
    const TTextId reason = m_slots[static_cast<std::size_t>(s)].text;
    const TTextId conclusion = m_slots[static_cast<std::size_t>(a)].text;
    for (const int j : m_index.StepsBetween(reason, conclusion)) {
        if (j < m_stepCount && m_stage.ReasonConclusions[j]->Exceptions.Count() > 0)
            return true;
    }
    return false;
}
