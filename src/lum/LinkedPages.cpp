#include "lum/LinkedPages.h"

#include <algorithm>

#include "lum/data/Action.h"
#include "lum/data/GraphicActionButton.h"

namespace lum {
namespace {

tarn::P<data::CPage> Destination(const data::CProduct& product, const data::CAction& action) {
    if (action.GetType() != data::EActionType::ChangePage) return {};
    switch (action.GetChangePageKind()) {
        case data::EChangePageKind::GotoPage:
            return product.FindPage(action.GetPage());
        case data::EChangePageKind::GotoMainPage:
            return product.GetPageCount() > 0 ? product.GetPage(0) : tarn::P<data::CPage>();
        case data::EChangePageKind::GoBack:
            break;
    }
    return {};
}

}  // namespace

std::vector<tarn::P<data::CPage>> LinkedPages(const data::CProduct& product,
                                              const data::CPage& page) {
    std::vector<tarn::P<data::CPage>> pages;
    const tarn::P<graphics::CGraphicDocument> document = page.GetDocument();
    if (!document) return pages;
    for (std::size_t i = 0; i < document->GetCount(); ++i) {
        const auto* button = dynamic_cast<const data::CGraphicActionButton*>(
            document->GetAt(i).Get());
        if (!button || !button->GetAction()) continue;
        const tarn::P<data::CPage> target = Destination(product, *button->GetAction());
        if (!target || target.Get() == &page) continue;
        if (std::find(pages.begin(), pages.end(), target) == pages.end()) pages.push_back(target);
    }
    return pages;
}

}  // namespace lum
