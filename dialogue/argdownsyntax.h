#pragma once

#include "model/statement.h"

#include <optional>
#include <string_view>

// The parts of Argdown that Korvane's writer and reader share, so that what one writes the other
// reads.
namespace argdown {

// Characters that start markup, mentions, tags, titles, data or comments wherever they stand in a
// statement's text; a backslash makes any of them plain. '/' (comments), '.' and ':' (shortcodes)
// are markup only in pairs and are escaped only there; escaping them alone is harmless.
constexpr std::string_view Markup = "\\[]<>*_#@{}`";
constexpr std::string_view PairMarkup = "/.:";

// True when the character after a backslash is one that the backslash makes plain.
inline bool IsEscapable(char each)
{
    return Markup.find(each) != std::string_view::npos
           || PairMarkup.find(each) != std::string_view::npos;
}

// A word holding "://" is a link, which Argdown keeps verbatim, escapes and all.
inline bool IsLinkWord(std::string_view word)
{
    return word.find("://") != std::string_view::npos;
}

// The tags of a type and of a status, as the writer gives them and the reader takes the type.
constexpr std::string_view TypeTag(TStatementType type)
{
    return type == TStatementType::Issue ? "issue" : "assumption";
}
constexpr std::string_view StatusTag(TJustificationStatus status)
{
    switch (status) {
    case TJustificationStatus::Justified:
        return "justified";
    case TJustificationStatus::Unjustified:
        return "unjustified";
    case TJustificationStatus::Undecided:
        break;
    }
    return "undecided";
}
inline std::optional<TStatementType> TypeOfTag(std::string_view tag)
{
    if (tag == TypeTag(TStatementType::Issue))
        return TStatementType::Issue;
    if (tag == TypeTag(TStatementType::Assumption))
        return TStatementType::Assumption;
    return std::nullopt;
}
inline bool IsStatusTag(std::string_view tag)
{
    return tag == StatusTag(TJustificationStatus::Justified)
           || tag == StatusTag(TJustificationStatus::Unjustified)
           || tag == StatusTag(TJustificationStatus::Undecided);
}

} // namespace argdown
