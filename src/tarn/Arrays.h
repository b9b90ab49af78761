#pragma once
// The three array kinds that hold objects.

#include <algorithm>
#include <cstddef>
#include <vector>

#include "tarn/Pointer.h"

namespace tarn {

// Growable array of elements of one of the pointer kinds.
template <class E>
class TSimpleArray {
public:
    using iterator = typename std::vector<E>::iterator;
    using const_iterator = typename std::vector<E>::const_iterator;

    void Add(E element) { m_items.push_back(std::move(element)); }
    void Insert(std::size_t index, E element) {
        m_items.insert(m_items.begin() + static_cast<std::ptrdiff_t>(std::min(index, Size())),
                       std::move(element));
    }
    void RemoveAt(std::size_t index) {
        if (index < Size()) m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(index));
    }
    // Removes the first element equal to the given one; false when there is none.
    bool Remove(const E& element) {
        const auto found = std::find(m_items.begin(), m_items.end(), element);
        if (found == m_items.end()) return false;
        m_items.erase(found);
        return true;
    }
    bool Contains(const E& element) const {
        return std::find(m_items.begin(), m_items.end(), element) != m_items.end();
    }
    void Clear() { m_items.clear(); }

    std::size_t Size() const { return m_items.size(); }
    bool IsEmpty() const { return m_items.empty(); }
    const E& operator[](std::size_t index) const { return m_items[index]; }
    E& operator[](std::size_t index) { return m_items[index]; }

    iterator begin() { return m_items.begin(); }
    iterator end() { return m_items.end(); }
    const_iterator begin() const { return m_items.begin(); }
    const_iterator end() const { return m_items.end(); }

private:
    std::vector<E> m_items;
};

// An array of counted references: every element is released when the array is cleared or
// destroyed (P<T> does this by itself).
template <class T>
using TCleaningSimpleArray = TSimpleArray<P<T>>;

// Non-counting references, as listener lists keep them.
template <class T>
using TFrailArray = TSimpleArray<PFrail<T>>;

}  // namespace tarn
