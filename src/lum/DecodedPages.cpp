#include "lum/DecodedPages.h"

#include <algorithm>
#include <set>

#include "graphics/GraphicImage.h"

namespace lum {
namespace {

bool Holds(const std::vector<tarn::P<data::CPage>>& pages, const tarn::P<data::CPage>& page) {
    return std::find(pages.begin(), pages.end(), page) != pages.end();
}

std::vector<graphics::CGraphicImage*> ImagesOf(const data::CPage& page) {
    std::vector<graphics::CGraphicImage*> images;
    const tarn::P<graphics::CGraphicDocument> document = page.GetDocument();
    if (!document) return images;
    for (std::size_t i = 0; i < document->GetCount(); ++i) {
        if (auto* image = dynamic_cast<graphics::CGraphicImage*>(document->GetAt(i).Get())) {
            images.push_back(image);
        }
    }
    return images;
}

// The pages in from that are not in to give back what they decoded and prepared.
void GiveBack(const std::vector<tarn::P<data::CPage>>& from,
              const std::vector<tarn::P<data::CPage>>& to) {
    std::set<const graphics::CStoredPicture*> shown;
    for (const tarn::P<data::CPage>& page : to) {
        for (const graphics::CGraphicImage* image : ImagesOf(*page)) {
            shown.insert(image->GetPicture().Get());
        }
    }
    for (const tarn::P<data::CPage>& page : from) {
        if (Holds(to, page)) continue;
        for (graphics::CGraphicImage* image : ImagesOf(*page)) {
            image->ForgetPrepared();
            const tarn::P<graphics::CStoredPicture>& picture = image->GetPicture();
            if (picture && shown.count(picture.Get()) == 0) picture->GiveBack();
        }
    }
}

}  // namespace

void CDecodedPages::Show(const tarn::P<data::CPage>& page,
                         const std::vector<tarn::P<data::CPage>>& linked) {
    if (!page) return;
    m_recent.erase(std::remove(m_recent.begin(), m_recent.end(), page), m_recent.end());
    m_recent.push_back(page);
    if (m_recent.size() > m_recentPages) {
        m_recent.erase(m_recent.begin(), m_recent.end() - static_cast<std::ptrdiff_t>(m_recentPages));
    }
    std::vector<tarn::P<data::CPage>> kept = m_recent;
    for (const tarn::P<data::CPage>& next : linked) {
        if (next && !Holds(kept, next)) kept.push_back(next);
    }
    GiveBack(m_kept, kept);
    m_kept.swap(kept);
}

void CDecodedPages::Clear() {
    GiveBack(m_kept, {});
    m_kept.clear();
    m_recent.clear();
}

}  // namespace lum
