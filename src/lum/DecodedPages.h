#pragma once
// Which pages keep their pictures decoded: the page shown, the pages its buttons lead to (got
// ready ahead of a click) and the few pages shown last. A page that drops out gives its
// pictures back, unless a kept page shows the same picture, so that the player holds about
// as much of a menu of a hundred pages as of one of three.

#include <cstddef>
#include <vector>

#include "lum/data/Page.h"
#include "tarn/Pointer.h"

namespace lum {

class CDecodedPages {
public:
    static constexpr std::size_t kRecentPages = 3;

    explicit CDecodedPages(std::size_t recentPages = kRecentPages)
        : m_recentPages(recentPages > 0 ? recentPages : 1) {}

    // page is shown now and leads to linked.
    void Show(const tarn::P<data::CPage>& page, const std::vector<tarn::P<data::CPage>>& linked);
    // Every kept page gives its pictures back (the pages are about to go).
    void Clear();

    const std::vector<tarn::P<data::CPage>>& GetKept() const { return m_kept; }

private:
    std::size_t m_recentPages;
    std::vector<tarn::P<data::CPage>> m_recent;  // shown last, the page shown now at the end
    std::vector<tarn::P<data::CPage>> m_kept;
};

}  // namespace lum
