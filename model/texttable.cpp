#include "texttable.h"

TTextId TTextTable::Intern(std::string_view text)
{
    if (const auto it = m_ids.find(text); it != m_ids.end())
        return it->second;
    const auto id = static_cast<TTextId>(m_texts.size());
    const std::string &kept = m_texts.emplace_back(text);
    try {
        m_ids.emplace(kept, id);
    } catch (...) {
        m_texts.pop_back();
        throw;
    }
    return id;
}

std::optional<TTextId> TTextTable::Find(std::string_view text) const
{
    if (const auto it = m_ids.find(text); it != m_ids.end())
        return it->second;
    return std::nullopt;
}
