#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

using TTextId = std::uint32_t;

// Gives every distinct text of a line of argumentation one number, so that the stages compare
// and index texts as numbers. Equal numbers mean byte-for-byte equal texts.
class TTextTable {
public:
    // The text's number, made when the text is new.
    TTextId Intern(std::string_view text);
    // The text's number, or nothing when no text like it was ever interned.
    std::optional<TTextId> Find(std::string_view text) const;
    // One more than the largest number given so far.
    TTextId Size() const { return static_cast<TTextId>(m_texts.size()); }

private:
    std::deque<std::string> m_texts; // Stable addresses for the views that key m_ids.
    std::unordered_map<std::string_view, TTextId> m_ids;
};
