#pragma once

#include <cassert>
#include <cstddef>
#include <new>
#include <utility>

// An ordered list of references. It owns nothing: the objects belong to a TArena.
//
// Copies share their storage, so that every stage can hold the lists of the stage before it
// without copying them. A list sees the first Count() references of its storage; appending at the
// end of the storage leaves every other list's view as it was, and any other change (an append
// behind the end, Remove) first copies the list to storage of its own. The references below a
// list's count therefore never change, which is what the stage's indexes rely on.
template <typename T>
class TRefList {
public:
    using iterator = T *const *;

    TRefList() = default;
    TRefList(const TRefList &other) : m_block(other.m_block), m_count(other.m_count) { hold(); }
    TRefList(TRefList &&other) noexcept
        : m_block(std::exchange(other.m_block, nullptr)), m_count(std::exchange(other.m_count, 0))
    {
    }
    TRefList &operator=(const TRefList &other)
    {
        Assign(other);
        return *this;
    }
    TRefList &operator=(TRefList &&other) noexcept
    {
        if (&other != this) {
            release();
            m_block = std::exchange(other.m_block, nullptr);
            m_count = std::exchange(other.m_count, 0);
        }
        return *this;
    }
    ~TRefList() { release(); }

    int Count() const { return m_count; }
    bool IsEmpty() const { return m_count == 0; }

    // Needs 0 <= index < Count().
    T *Items(int index) const
    {
        assert(index >= 0 && index < Count());
        return m_block->items()[index];
    }
    T *operator[](int index) const { return Items(index); }

    // Returns the index the reference was appended at.
    int Add(T *item)
    {
        if (!m_block || m_block->size != m_count || m_block->size == m_block->capacity)
            reallocate(m_count < 2 ? m_count + 1 : m_count * 2);
        m_block->items()[m_count] = item;
        ++m_block->size;
        return m_count++;
    }

    // Removes the first occurrence of item; returns its former index, or -1.
    int Remove(const T *item)
    {
        int index = 0;
        while (index < m_count && m_block->items()[index] != item)
            ++index;
        if (index == m_count)
            return -1;
        TBlock *copy = allocate(m_count);
        T **to = copy->items();
        for (int i = 0; i < m_count; ++i) {
            if (i != index)
                to[copy->size++] = m_block->items()[i];
        }
        release();
        m_block = copy;
        --m_count;
        return index;
    }

    // Forgets the references from count on, as if they had never been appended; never fails.
    void Truncate(int count) noexcept
    {
        assert(count >= 0 && count <= m_count);
        m_count = count;
    }

    void Clear()
    {
        release();
        m_block = nullptr;
        m_count = 0;
    }

    // Makes this list hold the source's references in the source's order; copies no element.
    void Assign(const TRefList &source)
    {
        if (&source == this)
            return;
        TBlock *block = source.m_block;
        if (block)
            ++block->refs;
        release();
        m_block = block;
        m_count = source.m_count;
    }

    void Reserve(int count)
    {
        if (count > m_count && (!m_block || m_block->size != m_count || m_block->capacity < count))
            reallocate(count);
    }

    // True when both lists see the same storage, so that the shorter is a prefix of the longer.
    bool SharesStorageWith(const TRefList &other) const
    {
        return m_block != nullptr && m_block == other.m_block;
    }

    iterator begin() const { return m_block ? m_block->items() : nullptr; }
    iterator end() const { return m_block ? m_block->items() + m_count : nullptr; }

private:
    // Shared storage with its count of holders; the references follow the header.
    struct TBlock {
        std::size_t refs;
        int size;
        int capacity;
        T **items() { return reinterpret_cast<T **>(this + 1); }
    };
    static_assert(sizeof(TBlock) % alignof(T *) == 0);

    // Trees are built and dropped a node at a time, most nodes with one or two initial
    // arguments: small blocks are kept for reuse instead of going back to the heap each time.
    // The lists are per thread, as they have no lock: a move builds trees on a thread of its own
    // while the window's thread may drop lists. A block freed on another thread than the one that
    // made it joins the freeing thread's list; a thread's lists go back to the heap as it ends.
    static constexpr int PooledCapacity = 4;
    struct TFreeBlock {
        TFreeBlock *next;
    };
    struct TFreeLists {
        TFreeBlock *heads[PooledCapacity + 1] = {};
        ~TFreeLists()
        {
            for (TFreeBlock *&head : heads)
                while (TFreeBlock *block = std::exchange(head, nullptr)) {
                    head = block->next;
                    ::operator delete(static_cast<void *>(block));
                }
            s_threadEnded = true;
        }
    };
    // Set once this thread's lists are gone: a list dropped later (a static one, as the thread
    // ends) returns its block to the heap.
    static inline thread_local bool s_threadEnded = false;
    static TFreeLists &freeLists()
    {
        thread_local TFreeLists lists;
        return lists;
    }

    static int pooledCapacity(int capacity) { return capacity <= 1 ? 1 : capacity <= 2 ? 2 : 4; }

    static TBlock *allocate(int capacity)
    {
        if (capacity <= PooledCapacity) {
            capacity = pooledCapacity(capacity);
            if (!s_threadEnded) {
                TFreeBlock *&head = freeLists().heads[capacity];
                if (TFreeBlock *reused = head) {
                    head = reused->next;
                    return new (static_cast<void *>(reused)) TBlock{1, 0, capacity};
                }
            }
        }
        void *raw = ::operator new(sizeof(TBlock) + sizeof(T *) * static_cast<std::size_t>(capacity));
        return new (raw) TBlock{1, 0, capacity};
    }

    static void deallocate(TBlock *block) noexcept
    {
        const int capacity = block->capacity;
        if (capacity <= PooledCapacity && capacity == pooledCapacity(capacity) && !s_threadEnded) {
            block->~TBlock();
            TFreeBlock *&head = freeLists().heads[capacity];
            head = new (static_cast<void *>(block)) TFreeBlock{head};
            return;
        }
        ::operator delete(block);
    }

    void reallocate(int capacity)
    {
        TBlock *copy = allocate(capacity);
        for (int i = 0; i < m_count; ++i)
            copy->items()[i] = m_block->items()[i];
        copy->size = m_count;
        release();
        m_block = copy;
    }

    void hold()
    {
        if (m_block)
            ++m_block->refs;
    }

    void release()
    {
        if (m_block && --m_block->refs == 0)
            deallocate(m_block);
    }

    TBlock *m_block = nullptr; // Shared with the lists copied from this one.
    int m_count = 0;
};
