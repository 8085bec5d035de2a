#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

using TTextId = std::uint32_t;

// Gives every distinct text of a line of argumentation one number, so that the stages compare
// and index texts as numbers. Equal numbers mean byte-for-byte equal texts.
//
// Open addressing over one flat array of (hash bits, number) pairs, and the texts end to end in
// one buffer: a lookup touches one or two cache lines of the table and then the text, where a
// node-based map touches a bucket, a node and a string of its own.
class TTextTable {
public:
    // The text's number, made when the text is new.
    TTextId Intern(std::string_view text);
    // The text's number, or nothing when no text like it was ever interned.
    std::optional<TTextId> Find(std::string_view text) const;
    // One more than the largest number given so far.
    TTextId Size() const { return static_cast<TTextId>(m_starts.size()); }

private:
    struct TSlot {
        std::uint32_t hash = 0; // The hash's low bits, to skip most texts unread.
        TTextId id = 0;         // The number plus one; 0 for a free slot.
    };

    static std::uint64_t hashOf(std::string_view text);
    std::string_view textOf(TTextId id) const;
    // The slot holding the text, or the free slot where it would go.
    std::size_t probe(std::string_view text, std::uint64_t hash) const;
    void grow();

    std::vector<char> m_chars;               // Every text, end to end.
    std::vector<std::uint64_t> m_starts;     // Where each text starts in m_chars; it ends where the next starts.
    std::vector<TSlot> m_slots;              // A power of two long, at most half full.
};
