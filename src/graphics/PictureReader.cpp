#include "graphics/PictureReader.h"

#include <wx/log.h>

#include <algorithm>

#include "graphics/PictureDecoding.h"

namespace graphics {

std::unique_ptr<wxBitmap> CPictureReader::Read(const std::wstring& name, wxBitmapType type,
                                               const std::uint8_t* data, std::size_t size) {
    ++m_decodes;
    tarn::win32::SPictureLimits limits;
    const std::int64_t left = m_budget - m_pixels;
    const bool tight = left < limits.maxPixels;
    limits.maxPixels = std::min(limits.maxPixels, left);
    wxImage image;
    std::string error;
    if (!DecodePicture(data, size, type, limits, image, error)) {
        if (tight) {
            error += " (what is left of the " + std::to_string(m_budget) +
                     " pixels all pictures of a content file may take)";
        }
        Report(name, error);
        return nullptr;
    }
    auto bitmap = std::make_unique<wxBitmap>(image, -1);
    if (!bitmap->IsOk()) {
        Report(name, "cannot be made into a bitmap");
        return nullptr;
    }
    m_pixels += std::int64_t{image.GetWidth()} * image.GetHeight();
    return bitmap;
}

void CPictureReader::Forget(const wxBitmap& bitmap) {
    const std::int64_t pixels = std::int64_t{bitmap.GetWidth()} * bitmap.GetHeight();
    m_pixels = std::max<std::int64_t>(m_pixels - pixels, 0);
}

void CPictureReader::Report(const std::wstring& name, const std::string& reason) {
    if (m_reported.insert(name).second) WarnMissing(name, reason);
}

void CPictureReader::WarnMissing(const std::wstring& name, const std::string& reason) {
    wxLogWarning("Picture '%s' %s; it is shown as missing.", wxString(name),
                 wxString::FromUTF8(reason));
}

}  // namespace graphics
