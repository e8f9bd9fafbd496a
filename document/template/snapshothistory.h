#pragma once
// A fixed-depth history of owned snapshots, newest first (slot 0), empty
// slots null. Used for the area and module-marking undo and redo of a
// template.
#include <array>
#include <cstddef>
#include <memory>
#include <utility>

template <class T, size_t N>
class SnapshotHistory {
public:
    static constexpr size_t kSlots = N;

    const T* At(size_t i) const { return i < N ? m_slots[i].get() : nullptr; }
    T* At(size_t i) { return i < N ? m_slots[i].get() : nullptr; }
    const T* Newest() const { return m_slots[0].get(); }

    // Number of leading non-empty slots.
    size_t LeadingCount() const
    {
        size_t n = 0;
        while (n < N && m_slots[n])
            ++n;
        return n;
    }

    // Pushes at slot 0 keeping at most `depth` (1..N) snapshots: the one in
    // slot depth - 1 is deleted and slots 0..depth - 2 move one down.
    void Push(std::unique_ptr<T> snapshot, size_t depth = N)
    {
        if (depth < 1)
            depth = 1;
        if (depth > N)
            depth = N;
        m_slots[depth - 1].reset();
        for (size_t i = depth - 1; i > 0; --i)
            m_slots[i] = std::move(m_slots[i - 1]);
        m_slots[0] = std::move(snapshot);
    }

    // Takes the newest snapshot out; the later ones move up and the last
    // slot becomes empty. Null when the history is empty.
    std::unique_ptr<T> Pop()
    {
        std::unique_ptr<T> newest = std::move(m_slots[0]);
        for (size_t i = 0; i + 1 < N; ++i)
            m_slots[i] = std::move(m_slots[i + 1]);
        m_slots[N - 1].reset();
        return newest;
    }

    void Clear()
    {
        for (auto& s : m_slots)
            s.reset();
    }

    bool IsEmpty() const { return !m_slots[0]; }

private:
    std::array<std::unique_ptr<T>, N> m_slots;
};
