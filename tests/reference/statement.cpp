// The plain, unoptimised model, kept unchanged as the reference for the fast one.
#include "tests/reference/statement.h"

namespace reference {

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

std::string_view StatementTypeName(TStatementType type)
{
    return type == TStatementType::Issue ? "Issue" : "Assumption";
}

} // namespace reference
