#pragma once
// The keyed texts of a resource file: a hash table with chained buckets that doubles its
// bucket count when the load passes 0.8.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace chf {

class CResourceStringTable {
public:
    struct CEntry {
        std::uint32_t hash = 0;
        std::wstring key, text, third, fourth;
        std::uint32_t value = 0;
    };

    static constexpr std::size_t kInitialBucketCount = 1000;

    CResourceStringTable();

    // Over the key's UTF-16 units; an empty key hashes to 0.
    static std::uint32_t Hash(std::wstring_view key);

    // Sets the entry's hash from its key and puts it at the head of its bucket's chain.
    void Add(CEntry entry);
    std::size_t GetBucketCount() const { return m_buckets.size(); }
    std::size_t GetEntryCount() const { return m_entries.size(); }
    // The entry added last for the key, or none.
    const CEntry* Find(const std::wstring& key) const;
    // Bucket by bucket, along each chain from its head.
    void ForEach(const std::function<void(const CEntry&)>& visit) const;

private:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    struct CNode {
        CEntry entry;
        std::size_t next = kNone;
    };

    void Grow();

    std::vector<CNode> m_entries;
    std::vector<std::size_t> m_buckets;  // index of each chain's head, or kNone
};

}  // namespace chf
