#pragma once
// A small cache of owned objects keyed by an integer and a flag.

#include <cstdint>
#include <map>
#include <memory>
#include <utility>

namespace graphics {

template <class T>
class TResourceBuffer {
public:
    using Key = std::pair<std::int64_t, bool>;

    T* Find(std::int64_t key, bool flag) const {
        const auto found = m_items.find({key, flag});
        return found == m_items.end() ? nullptr : found->second.get();
    }
    // Stores the object, releasing an earlier one under the same key.
    T* Put(std::int64_t key, bool flag, std::unique_ptr<T> item) {
        auto& slot = m_items[{key, flag}];
        slot = std::move(item);
        return slot.get();
    }
    void Clear() { m_items.clear(); }
    std::size_t Size() const { return m_items.size(); }

private:
    std::map<Key, std::unique_ptr<T>> m_items;
};

}  // namespace graphics
