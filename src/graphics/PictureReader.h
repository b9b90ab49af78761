#pragma once
// Makes bitmaps of the pictures of one content file, within a budget for all of them held at
// one time: a small file can name many well-compressed pictures.

#include <wx/bitmap.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <set>
#include <string>

namespace graphics {

class CPictureReader {
public:
    // All pictures of a content file together: 128 Mi pixels, 512 MiB as bitmaps.
    static constexpr std::int64_t kMaxTotalPixels = std::int64_t{128} << 20;

    explicit CPictureReader(std::int64_t budget = kMaxTotalPixels) : m_budget(budget) {}

    // The picture file as a bitmap of the given type (by the name's extension), or null. A
    // picture that does not decode, or would take the content file past its budget, is missing,
    // and the log says why: once for each name.
    std::unique_ptr<wxBitmap> Read(const std::wstring& name, wxBitmapType type,
                                   const std::uint8_t* data, std::size_t size);

    // A bitmap made by Read is gone: its pixels are free for others.
    void Forget(const wxBitmap& bitmap);

    // The pixels of the bitmaps made and not forgotten.
    std::int64_t GetPixels() const { return m_pixels; }
    // How many pictures were decoded so far, successfully or not.
    std::int64_t GetDecodeCount() const { return m_decodes; }

    // The named picture is refused before it is decoded: reported as Read reports a failure.
    void Refuse(const std::wstring& name, const std::string& reason) { Report(name, reason); }

    // Logs that the named picture is shown as missing, and why.
    static void WarnMissing(const std::wstring& name, const std::string& reason);

private:
    void Report(const std::wstring& name, const std::string& reason);

    std::int64_t m_budget;
    std::int64_t m_pixels = 0;
    std::int64_t m_decodes = 0;
    std::set<std::wstring> m_reported;
};

}  // namespace graphics
