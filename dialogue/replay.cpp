#include "replay.h"

#include "lineofargumentation.h"
#include "textfile.h"

#include "model/movescope.h"

TStatement *NewStatement(TArena &arena, const TSentenceText &sentence)
{
    TStatement *statement = arena.NewStatement();
    statement->Text = sentence.Text;
    statement->StatementType = sentence.StatementType;
    return statement;
}

TReasonConclusion *NewStep(TArena &arena, const TSentenceText &reason,
                           const TSentenceText &conclusion)
{
    TReasonConclusion *step = arena.NewReasonConclusion();
    step->Reason->Text = reason.Text;
    step->Reason->StatementType = reason.StatementType;
    step->Conclusion->Text = conclusion.Text;
    step->Conclusion->StatementType = conclusion.StatementType;
    step->ByReasonConclusionMove = 1;
    return step;
}

TReasonConclusion *NewBlockedStep(TArena &arena, const TSentenceText &reason,
                                  const TSentenceText &conclusion, const TSentenceText &exception)
{
    TReasonConclusion *step = NewStep(arena, reason, conclusion);
    step->ByReasonConclusionMove = 0;
    step->Exceptions.Add(NewStatement(arena, exception));
    return step;
}

bool ReplayMove(TLineOfArgumentation &line, const TMoveText &move)
{
    TArena &arena = line.Arena();
    const int before = line.ArgumentationMoves.Count();
    const std::vector<TSentenceText> &sentences = move.Sentences;
    switch (move.Kind) {
    case TMoveKind::Statement:
        return line.DoStatementMove(NewStatement(arena, sentences[0]));
    case TMoveKind::ReasonConclusion:
        line.DoReasonConclusionMove(NewStep(arena, sentences[0], sentences[1]));
        break;
    case TMoveKind::Exception:
        line.DoExceptionMove(NewBlockedStep(arena, sentences[0], sentences[1], sentences[2]));
        break;
    }
    return line.ArgumentationMoves.Count() > before;
}

void ReplayMoves(TLineOfArgumentation &line, std::span<const TMoveText> moves,
                 const std::string &fileName, const std::function<void(std::size_t)> &beforeEach)
{
    std::size_t index = 0;
    for (const TMoveText &move : moves) {
        if (beforeEach)
            beforeEach(++index);
        try {
            ReplayMove(line, move);
        } catch (const TWorkBudgetExceeded &failure) {
            throw TFileError(fileName + ':' + std::to_string(move.Line) + ": " + failure.what());
        }
    }
}

std::string ReplayMovesThatFit(TLineOfArgumentation &line, std::span<const TMoveText> moves,
                               const std::string &fileName)
{
    try {
        ReplayMoves(line, moves, fileName);
    } catch (const TFileError &refusal) {
        return refusal.what();
    }
    return {};
}

std::vector<TMoveText> RecordedMoves(const TLineOfArgumentation &line, std::size_t from)
{
    std::vector<std::string> lines;
    for (std::size_t index = from;
         index < static_cast<std::size_t>(line.ArgumentationMoves.Count()); ++index)
        for (const std::string &each : line.ArgumentationMoves[static_cast<int>(index)]->Move)
            lines.push_back(each);
    return ReadMoveText(JoinTextLines(lines), line.FileName);
}
