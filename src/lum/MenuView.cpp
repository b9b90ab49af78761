#include "lum/MenuView.h"

#include <wx/settings.h>

#include <algorithm>
#include <cmath>

namespace lum {

void ConfigureMenuView(graphics::components::CViewControl& view) {
    view.SetZoomMode(graphics::EZoomMode::Fixed);
    view.SetPlacementMode(graphics::components::EPlacementMode::TopLeft);
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

}  // namespace lum
