#pragma once

#include "reflist.h"

#include <cstdint>
#include <string>
#include <string_view>

enum class TStatementType : std::uint8_t { Assumption = 0, Issue = 1 };

enum class TJustificationStatus : std::uint8_t { Justified = 0, Unjustified = 1, Undecided = 2 };

// One sentence. Two statements are the same statement when their texts are equal byte for byte.
class TStatement {
public:
    std::string Text;
    std::string Id; // Empty until the statement first enters a stage.
    TStatementType StatementType = TStatementType::Issue;
    TJustificationStatus JustificationStatus = TJustificationStatus::Undecided;
};

class TStatements : public TRefList<TStatement> {};

// The claim that Reason supports Conclusion, with the exceptions that block it.
class TReasonConclusion {
public:
    TStatement *Reason = nullptr;     // Not owned.
    TStatement *Conclusion = nullptr; // Not owned.
    std::uint8_t ByReasonConclusionMove = 0;
    TStatements Exceptions;
};

class TReasonConclusions : public TRefList<TReasonConclusion> {};

// Byte-for-byte text equality: nothing is trimmed or folded.
inline bool SameText(const TStatement &a, const TStatement &b) { return a.Text == b.Text; }

// Returns "AS A RULE, IF (reason), THEN (conclusion)" with both texts unchanged.
std::string StepWarrant(std::string_view reason, std::string_view conclusion);

// Returns "IF (exception), THEN THE RULE THAT, IF (reason), THEN (conclusion), IS BLOCKED".
std::string ExceptionWarrant(std::string_view exception, std::string_view reason,
                             std::string_view conclusion);

// True when the text starts as a warrant sentence does: only such a statement can change what
// a step or an exception counts for.
bool MayBeWarrant(std::string_view text);

// The words that the user sees for a type: "Issue" or "Assumption".
std::string_view StatementTypeName(TStatementType type);

// The word that the reports and the exchange formats give a status: "Justified", "Unjustified"
// or "Undecided".
std::string_view JustificationName(TJustificationStatus status);
