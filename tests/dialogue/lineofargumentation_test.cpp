#include "dialogue/lineofargumentation.h"
#include "dialogue/replay.h"

#include "testboxes.h"

#include "model/movescope.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <tuple>
#include <vector>

namespace {

using T = TStatementType;
using Lines = std::vector<std::string>;

bool statementMove(TLineOfArgumentation &line, const std::string &text, T type)
{
    return line.DoStatementMove(NewStatement(line.Arena(), {text, type}));
}

TReasonConclusion *newStep(TLineOfArgumentation &line, const std::string &reason, T reasonType,
                           const std::string &conclusion, T conclusionType)
{
    return NewStep(line.Arena(), {reason, reasonType}, {conclusion, conclusionType});
}

void reasonConclusionMove(TLineOfArgumentation &line, const std::string &reason, T reasonType,
                          const std::string &conclusion, T conclusionType)
{
    TReasonConclusion *step = newStep(line, reason, reasonType, conclusion, conclusionType);
    step->ByReasonConclusionMove = 1;
    line.DoReasonConclusionMove(step);
}

void exceptionMove(TLineOfArgumentation &line, const std::string &exception, T exceptionType,
                   const std::string &reason, T reasonType, const std::string &conclusion,
                   T conclusionType)
{
    TReasonConclusion *step = newStep(line, reason, reasonType, conclusion, conclusionType);
    TStatement *blocker = line.Arena().NewStatement();
    blocker->Text = exception;
    blocker->StatementType = exceptionType;
    step->Exceptions.Add(blocker);
    line.DoExceptionMove(step);
}

// What a refused or declined move must leave exactly as it was.
struct TLineState {
    int moves;
    int stages;
    const TArgumentationStage *current;
    bool modified;
    std::vector<std::tuple<std::string, T>> statements;
    int steps;
    int exceptions;

    bool operator==(const TLineState &) const = default;
};

TLineState stateOf(const TLineOfArgumentation &line)
{
    TLineState state{line.ArgumentationMoves.Count(),
                     line.ArgumentationStages.Count(),
                     line.CurrentStage,
                     line.Modified,
                     {},
                     line.CurrentStage->ReasonConclusions.Count(),
                     0};
    for (const TStatement *statement : line.CurrentStage->Statements)
        state.statements.emplace_back(statement->Text, statement->StatementType);
    for (const TReasonConclusion *step : line.CurrentStage->ReasonConclusions)
        state.exceptions += step->Exceptions.Count();
    return state;
}

const Lines &lastMove(const TLineOfArgumentation &line)
{
    return line.ArgumentationMoves[line.ArgumentationMoves.Count() - 1]->Move;
}

} // namespace

TEST(TLineOfArgumentationTest, StartsWithOneEmptyStage)
{
    TTestBoxes boxes;
    TLineOfArgumentation line(boxes);
    EXPECT_EQ(line.ArgumentationMoves.Count(), 0);
    ASSERT_EQ(line.ArgumentationStages.Count(), 1);
    EXPECT_EQ(line.CurrentStage, line.ArgumentationStages[0]);
    EXPECT_TRUE(line.CurrentStage->Statements.IsEmpty());
    EXPECT_FALSE(line.Modified);
    EXPECT_EQ(line.FileName, "");
}

TEST(TLineOfArgumentationTest, WritesEachMoveKindsLines)
{
    struct TCase {
        const char *name;
        void (*move)(TLineOfArgumentation &);
        Lines lines;
    };
    const TCase cases[] = {
        {"statement issue", [](TLineOfArgumentation &l) { statementMove(l, "a", T::Issue); },
         {"STATEMENT MOVE: ", "    a", "        TYPE: Issue"}},
        {"statement assumption, blanks kept",
         [](TLineOfArgumentation &l) { statementMove(l, " a b ", T::Assumption); },
         {"STATEMENT MOVE: ", "     a b ", "        TYPE: Assumption"}},
        {"empty statement", [](TLineOfArgumentation &l) { statementMove(l, "", T::Issue); },
         {"STATEMENT MOVE: ", "    ", "        TYPE: Issue"}},
        {"reason/conclusion",
         [](TLineOfArgumentation &l) {
             reasonConclusionMove(l, "the road is wet", T::Assumption, "it has rained", T::Issue);
         },
         {"REASON/CONCLUSION MOVE: ", "    the road is wet", "        TYPE: Assumption",
          "    THEREFORE ", "    it has rained", "        TYPE: Issue"}},
        {"exception lists the step first",
         [](TLineOfArgumentation &l) {
             exceptionMove(l, "e", T::Assumption, "r", T::Issue, "c", T::Issue);
         },
         {"EXCEPTION MOVE: ", "    r", "        TYPE: Issue", "    THEREFORE ", "    c",
          "        TYPE: Issue", "    HOWEVER ", "    e", "        TYPE: Assumption"}},
    };
    for (const TCase &each : cases) {
        SCOPED_TRACE(each.name);
        TTestBoxes boxes;
        TLineOfArgumentation line(boxes);
        each.move(line);
        ASSERT_EQ(line.ArgumentationMoves.Count(), 1);
        EXPECT_EQ(lastMove(line), each.lines);
        EXPECT_TRUE(line.Modified);
        EXPECT_TRUE(boxes.warnings.empty());
        EXPECT_TRUE(boxes.confirmations.empty());
    }
}

TEST(TLineOfArgumentationTest, RefusesARepeatedStatementOfTheSameType)
{
    TTestBoxes boxes;
    TLineOfArgumentation line(boxes);
    ASSERT_TRUE(statementMove(line, "a", T::Issue));
    line.Modified = false; // Nothing in the line sets it back; the refusal must not set it either.
    const TLineState before = stateOf(line);

    EXPECT_FALSE(statementMove(line, "a", T::Issue));

    EXPECT_EQ(stateOf(line), before);
    EXPECT_EQ(boxes.warnings,
              Lines{"\r\nThe statement 'a' already exists. \r\nIt cannot be added again. "});
    EXPECT_TRUE(boxes.confirmations.empty());
}

TEST(TLineOfArgumentationTest, AsksBeforeAStatementChangesItsType)
{
    for (const bool yes : {true, false}) {
        SCOPED_TRACE(yes ? "yes" : "no");
        TTestBoxes boxes;
        TLineOfArgumentation line(boxes);
        statementMove(line, "a", T::Issue);
        const TLineState before = stateOf(line);
        boxes.answer = yes;

        EXPECT_EQ(statementMove(line, "a", T::Assumption), yes);

        EXPECT_EQ(boxes.confirmations,
                  Lines{"\r\nThe statement 'a' already exists. \r\nIts type was different and will "
                        "be overruled. \r\nDo you really want to add it again? "});
        if (!yes) {
            EXPECT_EQ(stateOf(line), before);
            continue;
        }
        ASSERT_EQ(line.ArgumentationMoves.Count(), 2);
        EXPECT_EQ(lastMove(line)[2], "        TYPE: Assumption");
        // The earlier move keeps the type it was written with; the shared statement does not.
        EXPECT_EQ(line.ArgumentationMoves[0]->Move[2], "        TYPE: Issue");
        EXPECT_EQ(line.ArgumentationStages[1]->Statements[0]->StatementType, T::Assumption);
    }
}

TEST(TLineOfArgumentationTest, LetterCaseMakesANewStatement)
{
    TTestBoxes boxes;
    TLineOfArgumentation line(boxes);
    statementMove(line, "a", T::Issue);
    EXPECT_TRUE(statementMove(line, "A", T::Issue));
    EXPECT_TRUE(statementMove(line, "a ", T::Issue));
    EXPECT_TRUE(boxes.warnings.empty());
    EXPECT_TRUE(boxes.confirmations.empty());
    EXPECT_EQ(line.CurrentStage->Statements.Count(), 3);
}

TEST(TLineOfArgumentationTest, TakesOverSentencesOfTheSameTypeSilently)
{
    TTestBoxes boxes;
    TLineOfArgumentation line(boxes);
    statementMove(line, "r", T::Assumption);
    statementMove(line, "c", T::Issue);
    reasonConclusionMove(line, "r", T::Assumption, "c", T::Issue);
    exceptionMove(line, "r", T::Assumption, "r", T::Assumption, "c", T::Issue);
    EXPECT_TRUE(boxes.confirmations.empty());
    EXPECT_EQ(line.ArgumentationMoves.Count(), 4);
}

TEST(TLineOfArgumentationTest, ConfirmationNamesEveryOverruledSentenceInOrder)
{
    const std::string reasonPart =
        "The reason 'r' already exists. \r\nIts type was different and will be overruled. ";
    const std::string conclusionPart =
        "The conclusion 'c' already exists. \r\nIts type was different and will be overruled. ";
    const std::string exceptionPart =
        "The exception 'e' already exists. \r\nIts type was different and will be overruled. ";
    const std::string askStep = "\r\nDo you really want to add the reason and the conclusion?";
    const std::string askException =
        "\r\nDo you really want to add the exception, the reason and the conclusion?";

    struct TCase {
        const char *name;
        void (*move)(TLineOfArgumentation &);
        std::string message;
    };
    // Held before each move: r and e assumptions, c an issue.
    const TCase cases[] = {
        {"conclusion alone",
         [](TLineOfArgumentation &l) { reasonConclusionMove(l, "r", T::Assumption, "c", T::Assumption); },
         conclusionPart + askStep},
        {"reason alone",
         [](TLineOfArgumentation &l) { reasonConclusionMove(l, "r", T::Issue, "c", T::Issue); },
         reasonPart + askStep},
        {"reason and conclusion",
         [](TLineOfArgumentation &l) { reasonConclusionMove(l, "r", T::Issue, "c", T::Assumption); },
         reasonPart + "\r\n" + conclusionPart + askStep},
        {"exception, reason, conclusion",
         [](TLineOfArgumentation &l) {
             exceptionMove(l, "e", T::Issue, "r", T::Issue, "c", T::Assumption);
         },
         exceptionPart + "\r\n" + reasonPart + "\r\n" + conclusionPart + askException},
        {"exception with a new step",
         [](TLineOfArgumentation &l) {
             exceptionMove(l, "e", T::Issue, "x", T::Issue, "y", T::Assumption);
         },
         exceptionPart + askException},
        {"conclusion of an exception move alone",
         [](TLineOfArgumentation &l) {
             exceptionMove(l, "e", T::Assumption, "r", T::Assumption, "c", T::Assumption);
         },
         conclusionPart + askException},
    };
    for (const TCase &each : cases) {
        for (const bool yes : {true, false}) {
            SCOPED_TRACE(std::string(each.name) + (yes ? ", yes" : ", no"));
            TTestBoxes boxes;
            TLineOfArgumentation line(boxes);
            statementMove(line, "r", T::Assumption);
            statementMove(line, "c", T::Issue);
            statementMove(line, "e", T::Assumption);
            const TLineState before = stateOf(line);
            boxes.answer = yes;

            each.move(line);

            EXPECT_EQ(boxes.confirmations, Lines{each.message});
            EXPECT_TRUE(boxes.warnings.empty());
            if (yes) {
                EXPECT_EQ(line.ArgumentationMoves.Count(), before.moves + 1);
            } else {
                EXPECT_EQ(stateOf(line), before);
            }
        }
    }
}

TEST(TLineOfArgumentationTest, LinesAreWrittenAfterTheStageHasMadeItsChanges)
{
    // A reason with the conclusion's text overrules the conclusion's type inside the stage,
    // and the lines show the statement as the stage left it.
    TTestBoxes boxes;
    TLineOfArgumentation line(boxes);
    reasonConclusionMove(line, "x", T::Issue, "x", T::Assumption);
    EXPECT_TRUE(boxes.confirmations.empty());
    EXPECT_EQ(lastMove(line), (Lines{"REASON/CONCLUSION MOVE: ", "    x", "        TYPE: Issue",
                                     "    THEREFORE ", "    x", "        TYPE: Issue"}));
}

TEST(TLineOfArgumentationTest, KeepsMovesAndStagesInStep)
{
    TTestBoxes boxes;
    boxes.answer = false;
    TLineOfArgumentation line(boxes);
    reasonConclusionMove(line, "r", T::Assumption, "c", T::Issue);
    statementMove(line, "c", T::Issue);                   // Refused.
    statementMove(line, "c", T::Assumption);              // Declined.
    exceptionMove(line, "e", T::Assumption, "r", T::Assumption, "c", T::Issue);
    statementMove(line, "", T::Issue);
    statementMove(line, "", T::Assumption);               // Declined.

    const int n = line.ArgumentationMoves.Count();
    ASSERT_EQ(n, 3);
    ASSERT_EQ(line.ArgumentationStages.Count(), n + 1);
    EXPECT_EQ(line.CurrentStage, line.ArgumentationStages[n]);
    for (int i = 0; i < n; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(line.ArgumentationMoves[i]->PreStage, line.ArgumentationStages[i]);
        EXPECT_EQ(line.ArgumentationMoves[i]->PostStage, line.ArgumentationStages[i + 1]);
        EXPECT_NE(line.ArgumentationStages[i], line.ArgumentationStages[i + 1]);
    }
}

TEST(TLineOfArgumentationTest, ProsConsMoveAndTheDiagramChangeNothing)
{
    TTestBoxes boxes;
    TLineOfArgumentation line(boxes);
    const TLineState before = stateOf(line);
    line.DoProsConsMove();
    EXPECT_EQ(stateOf(line), before);

    TArgumentationDiagram diagram;
    const TArgumentationStage *stage = diagram.CurrentStage;
    ASSERT_NE(stage, nullptr);
    EXPECT_TRUE(diagram.ArgumentationStages.IsEmpty());
    TStatement statement;
    TReasonConclusion step;
    diagram.DoStatementMove(&statement);
    diagram.DoReasonConclusionMove(&step);
    diagram.DoExceptionMove(&step);
    diagram.DoProsConsMove();
    EXPECT_EQ(diagram.CurrentStage, stage);
    EXPECT_TRUE(diagram.ArgumentationMoves.IsEmpty());
    EXPECT_TRUE(diagram.ArgumentationStages.IsEmpty());
    EXPECT_TRUE(stage->Statements.IsEmpty());
}

TEST(TLineOfArgumentationTest, ACancelledMoveLeavesTheLineAsItWas)
{
    TTestBoxes boxes;
    TLineOfArgumentation line(boxes);
    std::atomic<bool> cancel = true;
    line.SetCancelFlag(&cancel);
    EXPECT_THROW(statementMove(line, "a", T::Issue), TMoveCancelled);
    EXPECT_EQ(line.ArgumentationMoves.Count(), 0);
    EXPECT_EQ(line.ArgumentationStages.Count(), 1);
    EXPECT_TRUE(line.CurrentStage->Statements.IsEmpty());
    cancel = false;
    EXPECT_TRUE(statementMove(line, "a", T::Issue));
    EXPECT_EQ(line.CurrentStage->Statements.Count(), 1);
}

