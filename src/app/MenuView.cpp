#include "app/MenuView.h"

#include <wx/settings.h>

#include <algorithm>
#include <cmath>

#include "graphics/GraphicElementTextReplacer.h"
#include "graphics/GraphicText.h"
#include "tarn/Text.h"

void ConfigureMenuView(graphics::components::CViewControl& view) {
    view.SetZoomMode(1);
    view.SetPlacementMode(1);
    view.InstallAccelerators();
    for (int margin = 0; margin < 4; ++margin) view.SetMargin(margin, 0);
    view.SetDefaultBackgroundStyle();
    view.SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE));
}

wxSize MenuClientSize(const lum::data::CProduct& product) {
    double width = 0;
    double height = 0;
    product.GetClientSize(width, height);
    const auto side = [](double value) {
        if (!(value > 0)) return 0;  // also NaN
        return static_cast<int>(std::trunc(std::min(value, static_cast<double>(kMaxClientSide))));
    };
    return wxSize(side(width), side(height));
}

bool ApplyBreadcrumb(graphics::CGraphicDocument& document, const std::wstring& text) {
    for (std::size_t i = 0; i < document.GetCount(); ++i) {
        const tarn::P<graphics::CGraphicElement> element = document.GetAt(i);
        if (!tarn::EqualsNoCase(element->GetName(), L"$breadcrumb")) continue;
        if (dynamic_cast<graphics::CGraphicText*>(element.Get()) == nullptr) return false;
        const auto replacer = tarn::New<graphics::CGraphicElementTextReplacer>();
        replacer->AddReplacement(L"*", text);
        replacer->Apply(*element);
        // A rewritten text takes its text as its name; keep the placeholder name so that
        // the next visit of the page finds the element again.
        element->SetName(L"$breadcrumb");
        return true;
    }
    return false;
}
