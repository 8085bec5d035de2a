#include "texttable.h"

#include <functional>

std::uint64_t TTextTable::hashOf(std::string_view text)
{
    // The library's string hash, its bits mixed once more: slots are chosen by the low bits.
    std::uint64_t h = std::hash<std::string_view>{}(text);
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdULL;
    h ^= h >> 33;
    return h;
}

std::string_view TTextTable::textOf(TTextId id) const
{
    const std::uint64_t start = m_starts[id];
    const std::uint64_t end = id + 1 < m_starts.size() ? m_starts[id + 1] : m_chars.size();
    return {m_chars.data() + start, static_cast<std::size_t>(end - start)};
}

std::size_t TTextTable::probe(std::string_view text, std::uint64_t hash) const
{
    const std::size_t mask = m_slots.size() - 1;
    const auto bits = static_cast<std::uint32_t>(hash >> 32);
    for (std::size_t at = static_cast<std::size_t>(hash) & mask;; at = (at + 1) & mask) {
        const TSlot &slot = m_slots[at];
        if (slot.id == 0 || (slot.hash == bits && textOf(slot.id - 1) == text))
            return at;
    }
}

void TTextTable::grow()
{
    std::vector<TSlot> slots(m_slots.empty() ? 64 : m_slots.size() * 2);
    const std::size_t mask = slots.size() - 1;
    for (const TSlot &slot : m_slots) {
        if (slot.id == 0)
            continue;
        std::size_t at = static_cast<std::size_t>(hashOf(textOf(slot.id - 1))) & mask;
        while (slots[at].id != 0)
            at = (at + 1) & mask;
        slots[at] = slot;
    }
    m_slots.swap(slots);
}

TTextId TTextTable::Intern(std::string_view text)
{
    if ((m_starts.size() + 1) * 2 > m_slots.size())
        grow();
    const std::uint64_t hash = hashOf(text);
    const std::size_t at = probe(text, hash);
    if (m_slots[at].id != 0)
        return m_slots[at].id - 1;
    const auto id = static_cast<TTextId>(m_starts.size());
    m_starts.push_back(m_chars.size());
    try {
        m_chars.insert(m_chars.end(), text.begin(), text.end());
    } catch (...) {
        m_starts.pop_back(); // A failed allocation leaves the table as it was.
        throw;
    }
    m_slots[at] = {static_cast<std::uint32_t>(hash >> 32), id + 1};
    return id;
}

std::optional<TTextId> TTextTable::Find(std::string_view text) const
{
    if (m_slots.empty())
        return std::nullopt;
    const std::size_t at = probe(text, hashOf(text));
    if (m_slots[at].id == 0)
        return std::nullopt;
    return m_slots[at].id - 1;
}
