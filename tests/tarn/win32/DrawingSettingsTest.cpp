#include "tarn/win32/DrawingSettings.h"

#include <gtest/gtest.h>
#include <wx/graphics.h>
#include <wx/image.h>

#include <memory>
#include <utility>

namespace {

TEST(DrawingSettingsTest, SavedStateRestoresEverySetting) {
    wxImage image(10, 10);
    std::unique_ptr<wxGraphicsContext> context(wxGraphicsContext::Create(image));
    ASSERT_TRUE(context);
    context->SetAntialiasMode(wxANTIALIAS_DEFAULT);
    // Not every renderer keeps an interpolation quality; check it where it does.
    const bool keepsQuality = context->SetInterpolationQuality(wxINTERPOLATION_GOOD);
    const wxInterpolationQuality before = context->GetInterpolationQuality();
    {
        tarn::win32::drawing::CSavedState saved(*context);
        tarn::win32::drawing::SetSmoothingMode(*context, 3);
        EXPECT_EQ(context->GetAntialiasMode(), wxANTIALIAS_NONE);
        tarn::win32::drawing::SetSmoothingMode(*context, 4);
        EXPECT_EQ(context->GetAntialiasMode(), wxANTIALIAS_DEFAULT);
        tarn::win32::drawing::SetSmoothingMode(*context, 1);
        EXPECT_EQ(context->GetAntialiasMode(), wxANTIALIAS_NONE);
        const std::pair<int, wxInterpolationQuality> modes[] = {{5, wxINTERPOLATION_NONE},
                                                                {7, wxINTERPOLATION_BEST},
                                                                {1, wxINTERPOLATION_FAST},
                                                                {4, wxINTERPOLATION_GOOD}};
        for (const auto& [gdiplus, quality] : modes) {
            tarn::win32::drawing::SetInterpolationMode(*context, gdiplus);
            if (keepsQuality) {
                EXPECT_EQ(context->GetInterpolationQuality(), quality) << gdiplus;
            }
        }
    }
    EXPECT_EQ(context->GetAntialiasMode(), wxANTIALIAS_DEFAULT);
    EXPECT_EQ(context->GetInterpolationQuality(), before);
}

}  // namespace
