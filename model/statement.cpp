#include "statement.h"

std::string StepWarrant(std::string_view reason, std::string_view conclusion)
{
    std::string text;
    text.reserve(reason.size() + conclusion.size() + 26);
    text += "AS A RULE, IF (";
    text += reason;
    text += "), THEN (";
    text += conclusion;
    text += ")";
    return text;
}

std::string ExceptionWarrant(std::string_view exception, std::string_view reason,
                             std::string_view conclusion)
{
    std::string text;
    text.reserve(exception.size() + reason.size() + conclusion.size() + 52);
    text += "IF (";
    text += exception;
    text += "), THEN THE RULE THAT, IF (";
    text += reason;
    text += "), THEN (";
    text += conclusion;
    text += "), IS BLOCKED";
    return text;
}

bool MayBeWarrant(std::string_view text)
{
    return text.starts_with("AS A RULE, IF (") || text.starts_with("IF (");
}

std::string_view StatementTypeName(TStatementType type)
{
    return type == TStatementType::Issue ? "Issue" : "Assumption";
}

std::string_view JustificationName(TJustificationStatus status)
{
    switch (status) {
    case TJustificationStatus::Justified:
        return "Justified";
    case TJustificationStatus::Unjustified:
        return "Unjustified";
    case TJustificationStatus::Undecided:
        break;
    }
    return "Undecided";
}
