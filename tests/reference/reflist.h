// The plain, unoptimised model, kept unchanged as the reference for the fast one.
#pragma once

#include <algorithm>
#include <cassert>
#include <cstddef>
#include <vector>

namespace reference {

// An ordered list of references. It owns nothing: the objects belong to a TArena.
template <typename T>
class TRefList {
public:
    using iterator = typename std::vector<T *>::const_iterator;

    int Count() const { return static_cast<int>(m_items.size()); }
    bool IsEmpty() const { return m_items.empty(); }

    // Needs 0 <= index < Count().
    T *Items(int index) const
    {
        assert(index >= 0 && index < Count());
        return m_items[static_cast<std::size_t>(index)];
    }
    T *operator[](int index) const { return Items(index); }

    // Returns the index the reference was appended at.
    int Add(T *item)
    {
        m_items.push_back(item);
        return Count() - 1;
    }

    // Removes the first occurrence of item; returns its former index, or -1.
    int Remove(const T *item)
    {
        const auto it = std::find(m_items.begin(), m_items.end(), item);
        if (it == m_items.end())
            return -1;
        const auto index = static_cast<int>(it - m_items.begin());
        m_items.erase(it);
        return index;
    }

    void Clear() { m_items.clear(); }

    // Makes this list hold the source's references in the source's order; copies no element.
    void Assign(const TRefList &source)
    {
        if (&source != this)
            m_items = source.m_items;
    }

    void Reserve(int count) { m_items.reserve(static_cast<std::size_t>(count)); }

    iterator begin() const { return m_items.begin(); }
    iterator end() const { return m_items.end(); }

private:
    std::vector<T *> m_items; // Not owned.
};

} // namespace reference
