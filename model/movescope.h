#pragma once

#include "statement.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

class TArena;

// Thrown when one move would take more work than TMoveScope::Budget allows.
class TWorkBudgetExceeded : public std::runtime_error {
public:
    TWorkBudgetExceeded();
};

// Thrown when the user stops a move before it is done.
class TMoveCancelled : public std::runtime_error {
public:
    TMoveCancelled();
};

// One move made as a whole or not at all. While a scope is open on an arena, the model writes
// every change to an object that existed before the move into the scope's journal first, and
// counts its work. A scope that is not committed undoes those changes in reverse order and
// forgets the stages the move made, so a failure anywhere (the budget, a failed allocation)
// leaves the line of argumentation exactly as it was.
class TMoveScope {
public:
    // Argument nodes built plus status frames computed in one move. Fixed, so that a file gives
    // the same answer on every machine; at some tens of nanoseconds a unit on this machine it
    // keeps a move under a second and its trees within a few hundred megabytes.
    static constexpr std::uint64_t Budget = 4'000'000;

    // While cancel, when given, is set, the next unit of work throws TMoveCancelled: another
    // thread may set it to stop the move.
    explicit TMoveScope(TArena &arena, const std::atomic<bool> *cancel = nullptr);
    ~TMoveScope();
    TMoveScope(const TMoveScope &) = delete;
    TMoveScope &operator=(const TMoveScope &) = delete;

    // Keeps the move's changes.
    void Commit() noexcept { m_committed = true; }

    // Remembers the field's value before the move changes it. Needs a small plain field.
    template <typename T>
    void Remember(T &field)
    {
        static_assert(std::is_trivially_copyable_v<T> && sizeof(T) <= sizeof(std::uint64_t));
        TPlainEntry entry{&field, sizeof(T), 0};
        std::memcpy(&entry.old, &field, sizeof(T));
        m_plain.push_back(entry);
    }
    void Remember(std::string &field) { m_texts.push_back({&field, field}); }
    void Remember(TStatements &list) { m_lists.push_back({&list, list}); }

    // Count work; throw TWorkBudgetExceeded once the move has done more than Budget.
    void ChargeNodes(std::uint64_t count) { charge(m_nodes, count); }
    void ChargeFrames(std::uint64_t count) { charge(m_frames, count); }

    // Tells this move apart from every other move of the arena.
    std::uint64_t Serial() const { return m_serial; }
    std::uint64_t NodesBuilt() const { return m_nodes; }
    std::uint64_t FramesComputed() const { return m_frames; }

private:
    void charge(std::uint64_t &counter, std::uint64_t count)
    {
        counter += count;
        if (m_nodes + m_frames > Budget)
            throw TWorkBudgetExceeded();
        if (m_cancel && m_cancel->load(std::memory_order_relaxed))
            throw TMoveCancelled();
    }
    void rollBack() noexcept;

    struct TPlainEntry {
        void *field;
        std::size_t size;
        std::uint64_t old;
    };
    struct TTextEntry {
        std::string *field;
        std::string old;
    };
    struct TListEntry {
        TStatements *field;
        TStatements old;
    };

    TArena &m_arena;
    const std::atomic<bool> *m_cancel; // Not owned.
    TMoveScope *m_outer;
    std::size_t m_stageMark;
    std::uint64_t m_serial;
    bool m_committed = false;
    std::uint64_t m_nodes = 0;
    std::uint64_t m_frames = 0;
    std::vector<TPlainEntry> m_plain;
    std::vector<TTextEntry> m_texts;
    std::vector<TListEntry> m_lists;
};

// Writes value into field, first telling the arena's open scope, if any, what it held. Every
// status write goes through here, so it is always inlined, however large its caller.
template <typename T>
[[gnu::always_inline]] inline void Overwrite(TMoveScope *scope, T &field, const T &value)
{
    if (field == value)
        return;
    if (scope)
        scope->Remember(field);
    field = value;
}
