#include "lum/data/Music.h"

#include <wx/log.h>
#include <wx/wfstream.h>

#include "graphics/XmlValues.h"

namespace lum::data {

void CMusic::ReadXml(const wxXmlNode& node, graphics::IResourceInputStore* store) {
    wxString fileName;
    if (graphics::xml::GetAttribute(node, "filename", fileName)) m_fileName = wxFileName(fileName);
    graphics::xml::ReadBool(node, "loop", m_loop);
    const wxXmlNode* buffer = graphics::xml::FindChild(node, "buffer");
    if (!buffer) return;
    graphics::xml::ReadString(*buffer, "format", m_format);
    m_data = store ? store->LoadBuffer(*buffer, L"chunk", kMaxBytes) : nullptr;
}

bool CMusic::WriteTo(const wxFileName& fileName) const {
    if (!m_data) return false;
    wxLogNull quiet;
    wxFileOutputStream out(fileName.GetFullPath());
    if (!out.IsOk()) return false;
    const std::uint32_t length = m_data->GetLength();
    if (length > 0) out.Write(m_data->GetData(), length);
    return out.LastWrite() == length && out.Close();
}

}  // namespace lum::data
