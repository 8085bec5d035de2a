#include "dialogue/movereader.h"
#include "dialogue/replay.h"

#include "dialogue/lineofargumentation.h"
#include "dialogue/textfile.h"
#include "testboxes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using T = TStatementType;

std::string errorOf(std::string_view text)
{
    try {
        ReadMoveText(text, "f.loa");
    } catch (const TFileError &error) {
        return error.what();
    }
    return "no error";
}

std::vector<TMoveText> read(std::string_view text) { return ReadMoveText(text, "f.loa"); }

const std::string Statement = "STATEMENT MOVE: \r\n    a\r\n        TYPE: Issue\r\n";
const std::string Step = "REASON/CONCLUSION MOVE: \r\n    r\r\n        TYPE: Assumption\r\n"
                         "    THEREFORE \r\n    c\r\n        TYPE: Issue\r\n";
const std::string Exception =
    "EXCEPTION MOVE: \r\n    r\r\n        TYPE: Assumption\r\n    THEREFORE \r\n    c\r\n"
    "        TYPE: Issue\r\n    HOWEVER \r\n    e\r\n        TYPE: Assumption\r\n";

// The stage as text, ids, types and statuses, to compare two replays.
std::vector<std::string> describe(const TArgumentationStage &stage)
{
    std::vector<std::string> result;
    for (const TStatement *s : stage.Statements)
        result.push_back(s->Id + " " + s->Text + " " + std::to_string(int(s->StatementType)) + " "
                         + std::to_string(int(s->JustificationStatus)));
    for (const TReasonConclusion *step : stage.ReasonConclusions) {
        std::string each = step->Reason->Text + " => " + step->Conclusion->Text;
        for (const TStatement *e : step->Exceptions)
            each += " except " + e->Text;
        result.push_back(each);
    }
    for (const TArgument *a : stage.Arguments)
        result.push_back("root " + a->Conclusion->Text + " "
                         + std::to_string(int(a->DefeatStatus)) + " "
                         + std::to_string(a->InitialArguments.Count()));
    return result;
}

} // namespace

TEST(MoveReaderTest, ReadsEachShape)
{
    const std::vector<TMoveText> moves = read(Statement + Step + Exception);
    ASSERT_EQ(moves.size(), 3u);
    EXPECT_EQ(moves[0].Kind, TMoveKind::Statement);
    EXPECT_EQ(moves[0].Line, 1);
    ASSERT_EQ(moves[0].Sentences.size(), 1u);
    EXPECT_EQ(moves[0].Sentences[0].Text, "a");
    EXPECT_EQ(moves[0].Sentences[0].StatementType, T::Issue);

    EXPECT_EQ(moves[1].Kind, TMoveKind::ReasonConclusion);
    EXPECT_EQ(moves[1].Line, 4);
    ASSERT_EQ(moves[1].Sentences.size(), 2u);
    EXPECT_EQ(moves[1].Sentences[0].Text, "r");
    EXPECT_EQ(moves[1].Sentences[0].StatementType, T::Assumption);
    EXPECT_EQ(moves[1].Sentences[1].Text, "c");
    EXPECT_EQ(moves[1].Sentences[1].StatementType, T::Issue);

    EXPECT_EQ(moves[2].Kind, TMoveKind::Exception);
    EXPECT_EQ(moves[2].Line, 10);
    ASSERT_EQ(moves[2].Sentences.size(), 3u);
    EXPECT_EQ(moves[2].Sentences[2].Text, "e");
    EXPECT_EQ(moves[2].Sentences[2].StatementType, T::Assumption);
}

TEST(MoveReaderTest, ReadsLinesByTheirPlaceInTheShape)
{
    struct TCase {
        const char *name;
        std::string text;
        std::string sentence;
        T type;
    };
    const TCase cases[] = {
        {"sentence blanks kept", "STATEMENT MOVE: \n      a  \n        TYPE: Assumption\n", "  a  ",
         T::Assumption},
        {"empty sentence", "STATEMENT MOVE: \n    \n        TYPE: Issue\n", "", T::Issue},
        {"type line as a sentence",
         "STATEMENT MOVE: \n        TYPE: Issue\n        TYPE: Assumption", "    TYPE: Issue",
         T::Assumption},
        {"heading as a sentence", "STATEMENT MOVE: \n    STATEMENT MOVE: \n        TYPE: Issue",
         "STATEMENT MOVE: ", T::Issue},
        {"trailing blanks after markers",
         "STATEMENT MOVE:\r\n    a\r\n        TYPE: Issue     \r\n", "a", T::Issue},
        {"lone CRs", "STATEMENT MOVE: \r    a\r        TYPE: Issue\r", "a", T::Issue},
        {"blank lines around moves", "\r\n   \r\nSTATEMENT MOVE: \r\n    a\r\n        TYPE: Issue\r\n  \r\n",
         "a", T::Issue},
        {"control bytes kept", "STATEMENT MOVE: \n    " + std::string("\0\t\x1b", 3) + "\n        TYPE: Issue",
         std::string("\0\t\x1b", 3), T::Issue},
    };
    for (const TCase &each : cases) {
        SCOPED_TRACE(each.name);
        const std::vector<TMoveText> moves = read(each.text);
        ASSERT_EQ(moves.size(), 1u);
        EXPECT_EQ(moves[0].Sentences[0].Text, each.sentence);
        EXPECT_EQ(moves[0].Sentences[0].StatementType, each.type);
    }
    EXPECT_TRUE(read("").empty());
    EXPECT_TRUE(read("\r\r\r\n \n").empty());
}

TEST(MoveReaderTest, NamesTheFirstLineThatDoesNotFit)
{
    const std::string heading = "f.loa:%: expected a move heading (\"STATEMENT MOVE:\", "
                                "\"REASON/CONCLUSION MOVE:\" or \"EXCEPTION MOVE:\")";
    const std::string sentence = "f.loa:%: expected a sentence line (four blanks, then the sentence)";
    const std::string type = "f.loa:%: expected a type line (eight blanks, then \"TYPE: Issue\" or "
                             "\"TYPE: Assumption\")";
    const std::string therefore = "f.loa:%: expected \"THEREFORE\" after four blanks";
    const std::string however = "f.loa:%: expected \"HOWEVER\" after four blanks";
    const std::string atEnd = ", found the end of the file";
    const auto at = [](std::string message, int line) {
        return message.replace(message.find('%'), 1, std::to_string(line));
    };
    struct TCase {
        const char *name;
        std::string text;
        std::string error;
    };
    const TCase cases[] = {
        {"not a heading", "hello\r\n", at(heading, 1)},
        {"heading with leading blank", " STATEMENT MOVE: \r\n", at(heading, 1)},
        {"lower case heading", "statement move: \r\n", at(heading, 1)},
        {"tab is no blank", "\t\r\n" + Statement, at(heading, 1)},
        {"stray line after a move", Statement + "    a\r\n", at(heading, 4)},
        {"sentence with three blanks", "STATEMENT MOVE: \r\n   a\r\n", at(sentence, 2)},
        {"empty line as a sentence", "STATEMENT MOVE: \r\n\r\n", at(sentence, 2)},
        {"type misspelt", "STATEMENT MOVE: \n    a\n        TYPE: issue\n", at(type, 3)},
        {"type with seven blanks", "STATEMENT MOVE: \n    a\n       TYPE: Issue\n", at(type, 3)},
        {"therefore missing", "REASON/CONCLUSION MOVE: \n    r\n        TYPE: Issue\n    c\n",
         at(therefore, 4)},
        {"however missing", "EXCEPTION MOVE: \n    r\n        TYPE: Issue\n    THEREFORE \n    c\n"
                            "        TYPE: Issue\n    e\n",
         at(however, 7)},
        {"ends after the heading", "STATEMENT MOVE: ", at(sentence, 2) + atEnd},
        {"ends inside a step", "\n\nREASON/CONCLUSION MOVE: \n    r\n        TYPE: Issue\n",
         at(therefore, 6) + atEnd},
        {"ends before the exception's type",
         Exception.substr(0, Exception.size() - std::string("        TYPE: Assumption\r\n").size()),
         at(type, 9) + atEnd},
        {"lone CRs count as lines", "\r\r\rSTATEMENT MOVE: \r    a\rx\r", at(type, 6)},
        {"binary", std::string("\x7f" "ELF\x02\x01\x01\0\0\0", 10), at(heading, 1)},
    };
    for (const TCase &each : cases) {
        SCOPED_TRACE(each.name);
        EXPECT_EQ(errorOf(each.text), each.error);
    }
}

TEST(MoveReaderTest, ReplayedFileGivesTheSameStage)
{
    TTestBoxes boxes;
    TLineOfArgumentation original(boxes);
    const std::string text = Step + Exception + Statement
                             + "STATEMENT MOVE: \r\n    a\r\n        TYPE: Assumption\r\n"
                             + "STATEMENT MOVE: \r\n    caf\xc3\xa9 \r\n        TYPE: Assumption\r\n";
    for (const TMoveText &move : read(text))
        EXPECT_TRUE(ReplayMove(original, move));
    ASSERT_EQ(boxes.confirmations.size(), 1u);
    EXPECT_EQ(JoinTextLines(MoveTextLines(original)), text);

    const std::string written = JoinTextLines(MoveTextLines(original));
    TLineOfArgumentation copy(boxes);
    for (const TMoveText &move : read(DecodeFileText(written)))
        EXPECT_TRUE(ReplayMove(copy, move));
    EXPECT_EQ(MoveTextLines(copy), MoveTextLines(original));
    EXPECT_EQ(describe(*copy.CurrentStage), describe(*original.CurrentStage));
}

TEST(MoveReaderTest, ReplayBuildsStepsAsTheDialogsDo)
{
    TTestBoxes boxes;
    TLineOfArgumentation line(boxes);
    for (const TMoveText &move : read(Step))
        ReplayMove(line, move);
    TLineOfArgumentation other(boxes);
    for (const TMoveText &move : read(Exception))
        ReplayMove(other, move);
    ASSERT_EQ(line.CurrentStage->ReasonConclusions.Count(), 1);
    EXPECT_EQ(line.CurrentStage->ReasonConclusions[0]->ByReasonConclusionMove, 1);
    EXPECT_TRUE(line.CurrentStage->ReasonConclusions[0]->Exceptions.IsEmpty());
    ASSERT_EQ(other.CurrentStage->ReasonConclusions.Count(), 1);
    const TReasonConclusion *step = other.CurrentStage->ReasonConclusions[0];
    EXPECT_EQ(step->ByReasonConclusionMove, 0);
    ASSERT_EQ(step->Exceptions.Count(), 1);
    EXPECT_EQ(step->Exceptions[0]->Text, "e");
}

TEST(MoveReaderTest, ReplayReportsRefusedAndDeclinedMoves)
{
    TTestBoxes boxes;
    boxes.answer = false;
    TLineOfArgumentation line(boxes);
    const std::vector<TMoveText> moves =
        read(Statement + Statement + "STATEMENT MOVE: \n    a\n        TYPE: Assumption\n" + Step
             + "REASON/CONCLUSION MOVE: \n    r\n        TYPE: Issue\n    THEREFORE \n    c\n"
               "        TYPE: Issue\n");
    std::vector<bool> recorded;
    for (const TMoveText &move : moves)
        recorded.push_back(ReplayMove(line, move));
    EXPECT_EQ(recorded, (std::vector<bool>{true, false, false, true, false}));
}
