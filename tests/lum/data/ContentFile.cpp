#include "ContentFile.h"

#include <wx/image.h>
#include <wx/mstream.h>
#include <wx/wfstream.h>
#include <wx/zipstrm.h>

#include <stdexcept>

namespace lumtest {

std::wstring WriteArchive(const testsupport::TempFolder& folder, const std::string& fileName,
                          const std::map<std::string, std::string>& entries) {
    const std::wstring path = (folder / fileName).wstring();
    wxFFileOutputStream file(path);
    if (!file.IsOk()) throw std::runtime_error("cannot create " + fileName);
    wxZipOutputStream zip(file);
    for (const auto& [name, bytes] : entries) {
        zip.PutNextEntry(wxString::FromUTF8(name));
        zip.Write(bytes.data(), bytes.size());
    }
    if (!zip.Close() || !file.Close()) throw std::runtime_error("cannot write " + fileName);
    return path;
}

std::unique_ptr<wxXmlDocument> ParseXml(const std::string& text) {
    wxMemoryInputStream in(text.data(), text.size());
    auto document = std::make_unique<wxXmlDocument>();
    if (!document->Load(in) || !document->GetRoot()) throw std::runtime_error("bad test XML");
    return document;
}

std::string PngBytes(int width, int height) {
    wxImage image(width, height);
    image.SetRGB(wxRect(0, 0, width, height), 10, 200, 30);
    wxMemoryOutputStream out;
    if (!image.SaveFile(out, wxBITMAP_TYPE_PNG)) throw std::runtime_error("cannot encode PNG");
    std::string bytes(out.GetSize(), '\0');
    out.CopyTo(bytes.data(), bytes.size());
    return bytes;
}

}  // namespace lumtest
