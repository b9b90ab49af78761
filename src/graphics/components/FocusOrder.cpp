#include "graphics/components/FocusOrder.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "graphics/GraphicStateButton.h"
#include "graphics/components/View.h"

namespace graphics::components {

namespace {

// Centres closer than this (document units) count as level or as in line.
constexpr double kSame = 1e-6;

std::ptrdiff_t IndexOf(const std::vector<tarn::P<CGraphicElement>>& list,
                       const CGraphicElement* element) {
    const auto found = std::find_if(list.begin(), list.end(),
                                    [&](const auto& item) { return item.Get() == element; });
    return found == list.end() ? -1 : found - list.begin();
}

}  // namespace

bool CFocusOrder::TakesFocus(const CGraphicElement& element) {
    return dynamic_cast<const CGraphicStateButton*>(&element) != nullptr && element.IsVisible() &&
           (element.GetFlags() & CView::kHitFlags) != 0;
}

std::vector<tarn::P<CGraphicElement>> CFocusOrder::ReadingOrder(const CGraphicDocument& document) {
    std::vector<tarn::P<CGraphicElement>> buttons;
    for (std::size_t i = 0; i < document.GetCount(); ++i) {
        const tarn::P<CGraphicElement> element = document.GetAt(i);
        if (element && TakesFocus(*element)) buttons.push_back(element);
    }
    std::stable_sort(buttons.begin(), buttons.end(), [](const auto& a, const auto& b) {
        const CDPoint p = a->GetCenter();
        const CDPoint q = b->GetCenter();
        if (std::abs(p.y - q.y) > kSame) return p.y < q.y;
        if (std::abs(p.x - q.x) > kSame) return p.x < q.x;
        return false;
    });
    return buttons;
}

tarn::P<CGraphicElement> CFocusOrder::Next(const CGraphicDocument& document,
                                           const tarn::P<CGraphicElement>& current, bool backward) {
    const auto buttons = ReadingOrder(document);
    if (buttons.empty()) return {};
    const std::ptrdiff_t count = static_cast<std::ptrdiff_t>(buttons.size());
    const std::ptrdiff_t at = current ? IndexOf(buttons, current.Get()) : -1;
    if (at < 0) return backward ? buttons.back() : buttons.front();
    return buttons[static_cast<std::size_t>((at + (backward ? count - 1 : 1)) % count)];
}

tarn::P<CGraphicElement> CFocusOrder::Nearest(const CGraphicDocument& document,
                                              const tarn::P<CGraphicElement>& current,
                                              EFocusDirection direction) {
    const auto buttons = ReadingOrder(document);
    if (buttons.empty()) return {};
    if (!current || IndexOf(buttons, current.Get()) < 0) return buttons.front();
    const CDPoint from = current->GetCenter();
    tarn::P<CGraphicElement> best;
    double bestScore = std::numeric_limits<double>::infinity();
    bool bestInCone = false;
    for (const auto& button : buttons) {
        if (button.Get() == current.Get()) continue;
        const CDPoint to = button->GetCenter();
        const double dx = to.x - from.x;
        const double dy = to.y - from.y;
        double along = 0;
        double aside = 0;
        switch (direction) {
            case EFocusDirection::Left:
                along = -dx, aside = dy;
                break;
            case EFocusDirection::Right:
                along = dx, aside = dy;
                break;
            case EFocusDirection::Up:
                along = -dy, aside = dx;
                break;
            case EFocusDirection::Down:
                along = dy, aside = dx;
                break;
        }
        if (along <= kSame) continue;
        aside = std::abs(aside);
        const bool inCone = aside <= along + kSame;
        const double score = inCone ? std::hypot(along, aside) : along + 2 * aside;
        // A button within the cone beats every button outside it.
        if ((inCone && !bestInCone) || (inCone == bestInCone && score < bestScore - kSame)) {
            best = button;
            bestScore = score;
            bestInCone = inCone;
        }
    }
    return best;
}

}  // namespace graphics::components
