#pragma once
// The product's background music: the sound bytes as stored in the content archive.

#include <wx/filename.h>
#include <wx/xml/xml.h>

#include <cstddef>
#include <string>

#include "graphics/ResourceStore.h"
#include "graphics/SharedBuffer.h"
#include "tarn/Object.h"

namespace lum::data {

class CMusic : public tarn::CObject {
public:
    // Longer music is refused before any of it is read.
    static constexpr std::size_t kMaxBytes = std::size_t{128} << 20;

    // Without a store, or without a readable "buffer", the data stays empty.
    void ReadXml(const wxXmlNode& node, graphics::IResourceInputStore* store);
    // Writes the data to the file, replacing it. False when there is no data or the file
    // could not be written completely.
    bool WriteTo(const wxFileName& fileName) const;

    bool IsEmpty() const { return !m_data; }
    std::wstring GetFormat() const { return m_format; }
    bool IsLoop() const { return m_loop; }
    wxFileName GetFileName() const { return m_fileName; }
    tarn::P<graphics::CSharedBuffer> GetData() const { return m_data; }

private:
    wxFileName m_fileName;
    tarn::P<graphics::CSharedBuffer> m_data;
    std::wstring m_format;
    bool m_loop = false;
};

}  // namespace lum::data
