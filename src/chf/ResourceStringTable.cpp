#include "chf/ResourceStringTable.h"

#include "chf/DataIO.h"

namespace chf {

CResourceStringTable::CResourceStringTable() : m_buckets(kInitialBucketCount, kNone) {}

std::uint32_t CResourceStringTable::Hash(std::wstring_view key) {
    std::uint32_t hash = 0;
    for (const char16_t unit : ToUtf16(key)) {
        const auto shiftedDown = static_cast<std::uint32_t>(static_cast<std::int32_t>(hash) >> 2);
        hash ^= (hash << 5) + shiftedDown + unit;
    }
    return hash;
}

void CResourceStringTable::Add(CEntry entry) {
    entry.hash = Hash(entry.key);
    const std::size_t bucket = entry.hash % m_buckets.size();
    m_entries.push_back(CNode{std::move(entry), m_buckets[bucket]});
    m_buckets[bucket] = m_entries.size() - 1;
    // Past a load of 0.8 (entries * 5 > buckets * 4 keeps it in whole numbers).
    if (m_entries.size() * 5 > m_buckets.size() * 4) Grow();
}

void CResourceStringTable::Grow() {
    std::vector<std::size_t> buckets(m_buckets.size() * 2, kNone);
    std::vector<std::size_t> tails(buckets.size(), kNone);
    // Each chain is walked from its head and appended in that order, so entries that share a
    // key keep their order and the one added last is still found first.
    for (const std::size_t head : m_buckets) {
        std::size_t index = head;
        while (index != kNone) {
            CNode& node = m_entries[index];
            const std::size_t next = node.next;
            const std::size_t bucket = node.entry.hash % buckets.size();
            node.next = kNone;
            if (tails[bucket] == kNone) {
                buckets[bucket] = index;
            } else {
                m_entries[tails[bucket]].next = index;
            }
            tails[bucket] = index;
            index = next;
        }
    }
    m_buckets = std::move(buckets);
}

const CResourceStringTable::CEntry* CResourceStringTable::Find(const std::wstring& key) const {
    const std::size_t bucket = Hash(key) % m_buckets.size();
    for (std::size_t index = m_buckets[bucket]; index != kNone; index = m_entries[index].next) {
        if (m_entries[index].entry.key == key) return &m_entries[index].entry;
    }
    return nullptr;
}

void CResourceStringTable::ForEach(const std::function<void(const CEntry&)>& visit) const {
    for (const std::size_t head : m_buckets) {
        for (std::size_t index = head; index != kNone; index = m_entries[index].next) {
            visit(m_entries[index].entry);
        }
    }
}

}  // namespace chf
