#pragma once

#include "argument.h"
#include "explanation.h"
#include "texttable.h"

#include <cstdint>
#include <span>
#include <unordered_map>
#include <vector>

class TArgumentationStage;
class TMoveScope;
class TStageIndex;
class TStatement;

// One computation of defeat statuses on one stage. It makes the calls and the writes that the
// plainly recursive reading of the rules makes, in the same order, but
// - without recursing on the call stack: each nested ComputeDefeatStatus, warrant test and
//   attack test is a frame of its own, so trees of any depth are safe;
// - with the stage's texts, steps and roots looked up by text number, and the attack search
//   visiting only the roots and initial arguments whose text some exception of the step has;
// - computing again no argument whose Undecided result cannot change: one whose whole nested
//   computation met no argument in progress. Meeting it again only repeats the writes that its
//   computation made, all of them Undecided, so they are made again without the computation.
//
// Cycles: an argument in progress that is met again is not computed again; the nested call
// returns at once, writes nothing, and the argument stays Undecided for its caller. What is in
// progress is this object's own state, gone with it however the computation ends.
class TStatusComputation {
public:
    // With explain, the computation records there the fact behind every status it decides; it
    // then takes no shortcut, so that every argument is decided by the rules themselves.
    explicit TStatusComputation(TArgumentationStage &stage, TExplanations *explain = nullptr);
    ~TStatusComputation();
    TStatusComputation(const TStatusComputation &) = delete;
    TStatusComputation &operator=(const TStatusComputation &) = delete;

    // The status the rules give an argument whose initial arguments are computed, when its
    // computation looks outside its own tree for nothing: no warrant of its steps is stated and
    // no exception can attack it.
    static TDefeatStatus StatusWithoutReferences(const TArgument &a);

    // Every defeat status of the stage's trees and every justification status of its statements.
    void ComputeStatuses();
    void ComputeDefeatStatus(TArgument &a);
    bool StepIsWarranted(const TStatement &conclusion, TArgument &s);
    bool IsExceptionAttack(const TArgument &t, TArgument &b);

private:
    enum class TProgress : std::uint8_t { NotComputed, InProgress, Decided, KnownUndecided };
    enum class TTask : std::uint8_t { Defeat, Warrant, Attack };
    enum class TPhase : std::uint8_t {
        // Defeat
        ComputeSupports, Decide, TryReason, AfterWarrant, SearchAttackers, AfterAttack,
        AttackSearched, Settle, Conclude,
        // Warrant
        FirstRoot, AfterRoot,
        // Attack
        NextMatch, AfterExceptionWarrant, AfterAttacker,
    };

    // A node of the trees as the computation meets it.
    struct TSlot {
        TArgument *node;
        TTextId text;
        int step;         // The step from this node to its parent, or -1 when unknown.
        int firstChild;   // Into m_children.
        int childCount;
        TProgress progress;
        int firstCallee;  // Into m_remembered, once KnownUndecided.
        int calleeCount;
    };
    // Where an attacker stands: a root, or one of its initial arguments.
    struct TPlace {
        int root;
        int child; // -1 for the root itself.
    };
    struct TFrame {
        TTask task;
        TPhase phase;
        bool metInProgress = false;
        // Defeat: the argument; Attack: the attacker; Warrant, when explaining: a root met in
        // progress.
        int slot = -1;
        int reason = 0;      // Defeat: index of the initial argument tried.
        int calleeBase = 0;  // Defeat: where its callees start in m_callees.
        bool someUndefeated = false, someWarranted = false, found = false, attacked = false;
        const std::vector<TPlace> *attackers = nullptr;
        std::size_t nextAttacker = 0;
        int skipRoot = -1; // Defeat; Attack, when explaining: the exception warrant's root.
        TPlace place{};
        TTextId sentence = 0;                        // Warrant
        const std::vector<int> *sentenceRoots = nullptr;
        std::size_t nextRoot = 0;
        int matchBase = 0, matchCount = 0, match = 0; // Attack: its (step, exception) pairs.
        bool answer = false;
    };

    // What a warrant test or an attack test found, for the explanation of its caller.
    struct TWarrantFact {
        TWarrantState state = TWarrantState::NotStated;
        int root = -1;
        TTextId sentence = 0;
    };
    struct TAttackFact {
        TBlockState state = TBlockState::NotFound;
        int attacker = -1;
        TDefeatStatus attackerStatus = TDefeatStatus::Undecided;
        TWarrantFact warrant;
    };
    // What an open Defeat frame has met so far, while explaining.
    struct TNotes {
        int other = -1; // The first initial argument not undefeated, one in progress first.
        TDefeatStatus otherStatus = TDefeatStatus::Undecided;
        bool otherInProgress = false;
        int unwarranted = -1; // The first undefeated one whose step was not warranted.
        TWarrantFact unwarrantedFact;
        TWarrantFact warrant; // Of the reason tried now.
        bool missed = false;  // Of the reason tried now: the first attacker that did not attack.
        TAttackFact miss;
        int blocked = -1; // The first reason whose step was blocked, and by what.
        TWarrantFact blockedWarrant;
        TAttackFact block;
        int blockedCount = 0;
    };

    // ComputeStatuses for a stage where nothing refers to anything else; false when it has to
    // be the whole computation.
    bool computeWithoutReferences();
    void buildSlots();
    int addTree(TArgument *root);
    // The slot of an argument given from outside, its tree added when the stage's trees lack it.
    int slotFor(TArgument &node);
    void prepareAttacks();

    bool run(std::size_t base);
    template <bool Explain>
    bool runFrames(std::size_t base);
    template <bool Explain>
    void stepDefeat(TFrame &f);
    template <bool Explain>
    void stepWarrant(TFrame &f);
    template <bool Explain>
    void stepAttack(TFrame &f);

    // The reading's "if it is Undecided, compute it": true when a frame was pushed.
    bool computeIfUndecided(int slot);
    void pushDefeat(int slot);
    // Pushes a warrant test, or gives its answer at once when the sentence is no statement.
    bool pushWarrant(TTextId sentence);
    void pushAttack(TTextId conclusion, std::span<const TTextId> reasons, int attacker);
    void finishDefeat();
    void finish(bool result);
    void repeatKnownUndecided(int slot);

    TDefeatStatus status(int slot) const { return m_slots[static_cast<std::size_t>(slot)].node->DefeatStatus; }
    void setStatus(int slot, TDefeatStatus status);
    void setJustification(TStatement &statement, TJustificationStatus status);
    int childSlot(int slot, int index) const;
    int placeSlot(TPlace place) const;
    TTextId warrantText(int a, int s);
    TTextId exceptionWarrantText(int step, int exception);
    const std::vector<TPlace> &attackersFor(int a, int s);
    void charge();

    // Explaining only.
    bool inProgress(int slot) const { return m_slots[static_cast<std::size_t>(slot)].progress == TProgress::InProgress; }
    void explain(int slot, const TFrame &f, TWhy why);
    void explainWarrant(TWhy &why, const TWarrantFact &fact);
    void explainAttack(TWhy &why, const TAttackFact &fact);
    const TStatement *statementWithText(TTextId text);
    bool stepListsExceptions(int a, int s) const;

    TArgumentationStage &m_stage;
    TStageIndex &m_index;
    TTextTable &m_texts;
    TMoveScope *m_scope;     // Not owned; null outside a line's move.
    TExplanations *m_explain; // Not owned; null unless explaining.
    bool m_journalNodes;     // False when the trees were built in this very move.
    int m_statementCount;
    int m_stepCount;

    std::vector<TSlot> m_slots;
    std::vector<int> m_children;
    std::vector<int> m_rootSlots;
    std::unordered_map<const TArgument *, int> m_slotOf; // Only for trees the stage did not build.
    bool m_slotsBuilt = false;

    std::unordered_map<TTextId, std::vector<int>> m_rootsByText;
    std::vector<std::vector<TTextId>> m_exceptionTexts; // By step position.
    std::unordered_map<TTextId, std::vector<TPlace>> m_placesByText; // Of exception texts only.
    std::unordered_map<std::uint64_t, std::vector<TPlace>> m_attackers;
    std::unordered_map<std::uint64_t, TTextId> m_exceptionWarrants;
    bool m_anyException = false;
    bool m_attacksPrepared = false;

    std::vector<TFrame> m_frames;
    std::vector<int> m_callees;    // The Undecided arguments each open Defeat frame met.
    std::vector<int> m_remembered; // Their lists, for the arguments known to stay Undecided.
    std::vector<std::pair<int, int>> m_matches;
    std::vector<std::uint32_t> m_seen;
    std::uint32_t m_epoch = 0;
    bool m_result = false;

    std::vector<TNotes> m_notes; // One per open Defeat frame, while explaining.
    TWarrantFact m_warrantFact;  // Of the warrant test that ended last.
    TAttackFact m_attackFact;    // Of the attack test that ended last.
    std::unordered_map<TTextId, const TStatement *> m_statementOfText;
};
