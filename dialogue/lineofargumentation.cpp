#include "lineofargumentation.h"

#include "messageboxes.h"

#include "model/movescope.h"

#include <cassert>
#include <string_view>
#include <utility>

namespace {

constexpr std::string_view CrLf = "\r\n";
constexpr std::string_view Indent = "    ";

std::string sentenceLine(const TStatement &statement)
{
    std::string line;
    line.reserve(Indent.size() + statement.Text.size());
    line += Indent;
    line += statement.Text;
    return line;
}

std::string typeLine(const TStatement &statement)
{
    std::string line = "        TYPE: ";
    line += StatementTypeName(statement.StatementType);
    return line;
}

// The part of a confirmation that names one sentence whose type the move would overrule.
void appendOverruled(std::string &message, std::string_view head, const std::string &text)
{
    if (!message.empty())
        message += CrLf;
    message += head;
    message += text;
    message += "' already exists. ";
    message += CrLf;
    message += "Its type was different and ";
    message += "will be overruled. ";
}

// Puts the overrulings of a move to the user in one question; true when there were none or
// the answer was Yes.
bool confirmOverrulings(TMessageBoxes &boxes, std::string message, std::string_view sentences)
{
    if (message.empty())
        return true;
    message += CrLf;
    message += "Do you really want to add the ";
    message += sentences;
    return boxes.Confirm(message);
}

// True when the sentence is already held with another type, so the move would overrule it.
bool isOverruled(const TArgumentationStage &stage, const TStatement &statement)
{
    TStatement *held = nullptr;
    return !stage.IsNewStatement(statement, held) && held->StatementType != statement.StatementType;
}

} // namespace

TLineOfArgumentation::TLineOfArgumentation(TMessageBoxes &boxes)
    : m_arena(std::make_unique<TArena>()), m_boxes(&boxes)
{
    CurrentStage = m_arena->NewStage();
    ArgumentationStages.Add(CurrentStage);
}

TLineOfArgumentation::~TLineOfArgumentation() = default;

bool TLineOfArgumentation::DoStatementMove(TStatement *statement)
{
    TStatement *held = nullptr;
    if (!CurrentStage->IsNewStatement(*statement, held)) {
        std::string message;
        message += CrLf;
        message += "The statement '";
        message += statement->Text;
        message += "' already exists. ";
        message += CrLf;
        if (held->StatementType == statement->StatementType) {
            message += "It cannot be added again. ";
            m_boxes->Warning(message);
            return false;
        }
        message += "Its type was different and ";
        message += "will be overruled. ";
        message += CrLf;
        message += "Do you really want to add it again? ";
        if (!m_boxes->Confirm(message))
            return false;
    }
    makeMove([&] { return CurrentStage->DoStatementMove(statement); },
             [&] {
                 return std::vector<std::string>{"STATEMENT MOVE: ", sentenceLine(*statement),
                                                 typeLine(*statement)};
             });
    return true;
}

void TLineOfArgumentation::DoReasonConclusionMove(TReasonConclusion *step)
{
    std::string message;
    if (isOverruled(*CurrentStage, *step->Reason))
        appendOverruled(message, "The reason '", step->Reason->Text);
    if (isOverruled(*CurrentStage, *step->Conclusion))
        appendOverruled(message, "The conclusion '", step->Conclusion->Text);
    if (!confirmOverrulings(*m_boxes, std::move(message), "reason and the conclusion?"))
        return;
    makeMove([&] { return CurrentStage->DoReasonConclusionMove(step); },
             [&] {
                 return std::vector<std::string>{
                     "REASON/CONCLUSION MOVE: ", sentenceLine(*step->Reason),
                     typeLine(*step->Reason),    "    THEREFORE ",
                     sentenceLine(*step->Conclusion), typeLine(*step->Conclusion)};
             });
}

void TLineOfArgumentation::DoExceptionMove(TReasonConclusion *step)
{
    assert(!step->Exceptions.IsEmpty());
    TStatement *exception = step->Exceptions[0];
    std::string message;
    if (isOverruled(*CurrentStage, *exception))
        appendOverruled(message, "The exception '", exception->Text);
    if (isOverruled(*CurrentStage, *step->Reason))
        appendOverruled(message, "The reason '", step->Reason->Text);
    if (isOverruled(*CurrentStage, *step->Conclusion))
        appendOverruled(message, "The conclusion '", step->Conclusion->Text);
    if (!confirmOverrulings(*m_boxes, std::move(message),
                            "exception, the reason and the conclusion?"))
        return;
    makeMove([&] { return CurrentStage->DoExceptionMove(step); },
             [&] {
                 return std::vector<std::string>{
                     "EXCEPTION MOVE: ",   sentenceLine(*step->Reason),
                     typeLine(*step->Reason), "    THEREFORE ",
                     sentenceLine(*step->Conclusion), typeLine(*step->Conclusion),
                     "    HOWEVER ",       sentenceLine(*exception),
                     typeLine(*exception)};
             });
}

template <typename Apply, typename Lines>
void TLineOfArgumentation::makeMove(Apply apply, Lines lines)
{
    TMoveScope scope(*m_arena, m_cancel);
    TArgumentationStage *next = apply();
    Record(next, lines());
    scope.Commit();
    m_nodesBuilt += scope.NodesBuilt();
    m_framesComputed += scope.FramesComputed();
    // Only the current stage is shown: the trees of the one before can go.
    ArgumentationStages[ArgumentationStages.Count() - 2]->DropArguments();
}

void TLineOfArgumentation::Record(TArgumentationStage *next, std::vector<std::string> lines)
{
    TArgumentationMove &move = m_moves.emplace_back();
    try {
        ArgumentationMoves.Add(&move);
        try {
            ArgumentationStages.Add(next);
        } catch (...) {
            ArgumentationMoves.Truncate(ArgumentationMoves.Count() - 1);
            throw;
        }
    } catch (...) {
        m_moves.pop_back();
        throw;
    }
    move.PreStage = CurrentStage;
    move.PostStage = next;
    move.Move = std::move(lines);
    CurrentStage = next;
    Modified = true;
}

TArgumentationDiagram::TArgumentationDiagram() : m_arena(std::make_unique<TArena>())
{
    CurrentStage = m_arena->NewStage();
}

TArgumentationDiagram::~TArgumentationDiagram() = default;
