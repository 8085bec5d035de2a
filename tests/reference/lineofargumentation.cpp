// The plain, unoptimised model, kept unchanged as the reference for the fast one.
#include "tests/reference/lineofargumentation.h"

#include "dialogue/messageboxes.h"

#include <cassert>
#include <string_view>
#include <utility>

namespace reference {

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
    TArgumentationStage *next = CurrentStage->DoStatementMove(statement);
    Record(next, {"STATEMENT MOVE: ", sentenceLine(*statement), typeLine(*statement)});
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
    TArgumentationStage *next = CurrentStage->DoReasonConclusionMove(step);
    // The stage may have pointed the step at held statements: the lines show those.
    Record(next, {"REASON/CONCLUSION MOVE: ", sentenceLine(*step->Reason), typeLine(*step->Reason),
                  "    THEREFORE ", sentenceLine(*step->Conclusion), typeLine(*step->Conclusion)});
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
    TArgumentationStage *next = CurrentStage->DoExceptionMove(step);
    Record(next, {"EXCEPTION MOVE: ", sentenceLine(*step->Reason), typeLine(*step->Reason),
                  "    THEREFORE ", sentenceLine(*step->Conclusion), typeLine(*step->Conclusion),
                  "    HOWEVER ", sentenceLine(*exception), typeLine(*exception)});
}

void TLineOfArgumentation::Record(TArgumentationStage *next, std::vector<std::string> lines)
{
    TArgumentationMove &move = m_moves.emplace_back();
    move.PreStage = CurrentStage;
    move.PostStage = next;
    move.Move = std::move(lines);
    ArgumentationMoves.Add(&move);
    ArgumentationStages.Add(next);
    CurrentStage = next;
    Modified = true;
}

TArgumentationDiagram::TArgumentationDiagram() : m_arena(std::make_unique<TArena>())
{
    CurrentStage = m_arena->NewStage();
}

TArgumentationDiagram::~TArgumentationDiagram() = default;

} // namespace reference
