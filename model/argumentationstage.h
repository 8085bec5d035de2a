#pragma once

#include "argument.h"
#include "reflist.h"
#include "statement.h"

#include <memory>
#include <string>

class TArena;
class TArgumentForest;
class TExplanations;
class TStageIndex;

// The state of the argumentation after one move. A move never changes the stage it is applied to:
// it returns a new stage (owned by the arena) that shares this stage's statements, steps and
// arguments. Changes to those shared objects (types, exceptions, statuses) show in every stage.
class TArgumentationStage {
public:
    explicit TArgumentationStage(TArena &arena);

    TArguments Arguments;
    TArguments LinearArguments; // Stays empty: nothing fills it.
    TStatements Statements;
    TReasonConclusions ReasonConclusions;

    // The stage after a statement move; keeps the statement object when its text is new.
    TArgumentationStage *DoStatementMove(TStatement *statement);
    // The stage after a reason/conclusion move, arguments rebuilt and statuses computed.
    TArgumentationStage *DoReasonConclusionMove(TReasonConclusion *step);
    // The stage after an exception move; needs step->Exceptions to hold the exception first.
    TArgumentationStage *DoExceptionMove(TReasonConclusion *step);
    void DoProsConsMove() {}

    // True when no statement has the text; otherwise writes the last such statement to held.
    bool IsNewStatement(const TStatement &statement, TStatement *&held) const;
    // True when no step has reason and conclusion of equal texts; otherwise writes the first.
    bool IsNewReasonConclusion(const TReasonConclusion &step, TReasonConclusion *&held) const;
    // Writes the smallest positive number that no statement has as its id.
    void GetNewId(std::string &id) const;
    // Gives the step's statements the ids of the stage's statements of equal text, or new ones.
    void AttachIds(TReasonConclusion &step) const;

    // Rebuilds Arguments from Statements and ReasonConclusions.
    void RecomputeArguments();
    // True when no step of steps has a reason with the statement's text.
    bool IsFinalConclusion(const TStatement &statement, const TReasonConclusions &steps) const;
    // True when some node of the trees of arguments concludes the statement's text.
    bool OccursInArgument(const TStatement &statement, const TArguments &arguments) const;
    // Appends to supports one argument per step of steps concluding the statement, each with its
    // own supports; along each path a step is used at most once.
    void ComputeSupportingArguments(TStatement *statement, TArguments &supports,
                                    const TReasonConclusions &steps);

    // Whether some root has equal structure with, has as initial argument, or is narrowed to a.
    bool IsArgument(const TArgument &a) const;
    bool IsInitial(const TArgument &a) const;
    bool IsNarrowing(const TArgument &a) const;
    void CleanUp() {}

    // Computes every argument's defeat status and every statement's justification status.
    void ComputeStatuses();
    // Computes them again, by the rules alone, recording why each status is what it is. The
    // statuses come out as they were.
    void ExplainStatuses(TExplanations &explanations);
    // Sets a and every argument below it to Undecided.
    void ResetDefeatStatus(TArgument &a);
    // Computes a's defeat status (and those below it still Undecided) and its conclusion's status.
    // An argument already being computed is left Undecided for its caller.
    void ComputeDefeatStatus(TArgument &a);
    // Whether the step from s's conclusion to the conclusion is warranted.
    bool StepIsWarranted(const TStatement &conclusion, TArgument &s);
    // Whether b attacks the one-step argument t by an exception.
    bool IsExceptionAttack(const TArgument &t, TArgument &b);
    void ComputeJustificationStatus() {}
    void SupportedByUndefeatedArgument() {}

    TArena &Arena() const { return *m_arena; }

    // Forgets this stage's trees, so that they go once no later stage shows them. For stages
    // that nothing shows any more: earlier stages of a line, the steps inside a compound move.
    void DropArguments();

private:
    friend class TStatusComputation;

    TArgumentationStage *NewStageFromThis() const;
    // overruled, when given, is set when the move changes a held statement's type.
    TArgumentationStage *applyStatementMove(TStatement *statement, bool compute,
                                            bool *overruled = nullptr);
    TArgumentationStage *applyReasonConclusionMove(TReasonConclusion *step, bool compute);
    // Computes the statuses after a statement move that added one root which nothing else can
    // refer to, when the shared objects hold this stage's statuses but for that root; false when
    // a whole computation is needed.
    bool computeNewRootOnly(const TStatement &statement);
    // Grows the trees of before, the stage this move was applied to, by the move's new step and
    // computes the new nodes, when that gives what rebuilding and computing all would give;
    // false when the trees must be rebuilt.
    bool growTreesByStep(const TArgumentationStage &before, const TReasonConclusion &step);
    // True when no step has an exception and no statement may be a warrant sentence, so that
    // no status computation looks outside its own tree.
    bool RefersToNothing() const;
    // In a checking build, computes this stage again in full (its trees rebuilt too, when
    // rebuilt) and ends the program unless that gives what the path gave.
    void checkAgainstFullComputation(bool rebuilt, const char *path);
    // The stage's lookups, brought up to its lists.
    TStageIndex &Index() const;
    // True when Arguments are the trees this stage (or the one before it) built, untouched.
    bool HasOwnForest() const;

    TArena *m_arena; // Not owned.
    mutable std::shared_ptr<TStageIndex> m_index;   // Shared with the stages after this one.
    std::shared_ptr<TArgumentForest> m_forest;      // Owns the nodes of Arguments it built.
    TArguments m_forestRoots;                       // Arguments as they were built.
};

class TArgumentationStages : public TRefList<TArgumentationStage> {};
