#pragma once
// Makes bitmaps of the pictures of one content file, within a budget for all of them: a
// small file can name one well-compressed picture many times over.

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

    // The pixels of every bitmap made so far.
    std::int64_t GetPixels() const { return m_pixels; }

private:
    void Report(const std::wstring& name, const std::string& reason);

    std::int64_t m_budget;
    std::int64_t m_pixels = 0;
    std::set<std::wstring> m_reported;
};

}  // namespace graphics
