#include "graphics/Catalogue.h"

#include <wx/log.h>
#include <wx/zipstrm.h>

#include <algorithm>
#include <limits>

#include "graphics/PictureDecoding.h"
#include "graphics/RichText.h"
#include "graphics/XmlValues.h"
#include "tarn/Exception.h"
#include "tarn/ScopeExit.h"
#include "tarn/Text.h"
#include "tarn/win32/PictureHeader.h"

namespace graphics {
namespace {

constexpr std::size_t kReadChunk = 64 * 1024;

wxString AttachmentName(const wxXmlNode& node, const std::wstring& tag, const wxXmlNode** child) {
    *child = xml::FindChild(node, wxString(tag));
    if (!*child) return {};
    return xml::GetAttribute(**child, "name");
}

void WarnTooLarge(const wxString& name, std::uint64_t limit) {
    wxLogWarning("Entry '%s' is larger than the %llu MiB read of it; it is not read.", name,
                 static_cast<unsigned long long>(limit >> 20));
}

}  // namespace

CCatalogue::~CCatalogue() { DetachPictures(); }

void CCatalogue::DetachPictures() {
    for (auto& [key, picture] : m_stored) picture->Detach();
    m_stored.clear();
}

wxString CCatalogue::NormalName(const std::wstring& name) {
    wxString unix(name);
    unix.Replace("\\", "/");
    return wxZipEntry::GetInternalName(unix, wxPATH_UNIX);
}

wxString CCatalogue::StoredName(const wxString& name) {
    // As the ZIP reader names an entry: no "\" is turned, only the leading "/" and "./" go.
    return wxZipEntry::GetInternalName(name, wxPATH_UNIX);
}

wxBitmapType CCatalogue::BitmapTypeOf(const wxString& name) {
    const wxString extension = name.AfterLast('.').Lower();
    if (extension == name.Lower()) return wxBITMAP_TYPE_INVALID;  // no extension at all
    if (extension == "bmp") return wxBITMAP_TYPE_BMP;
    if (extension == "ico") return wxBITMAP_TYPE_ICO;
    if (extension == "png") return wxBITMAP_TYPE_PNG;
    if (extension == "jpg") return wxBITMAP_TYPE_JPEG;
    return wxBITMAP_TYPE_INVALID;
}

void CCatalogue::NoteRequest(const wxString& internalName) {
    if (m_requestedSet.insert(internalName).second) m_requested.push_back(internalName);
}

bool CCatalogue::HasEntry(const std::wstring& name) {
    const wxString internal = NormalName(name);
    NoteRequest(internal);
    return Contains(internal);
}

bool CCatalogue::OpenEntry(const std::wstring& name) {
    const wxString internal = NormalName(name);
    NoteRequest(internal);
    if (!Contains(internal)) return false;
    wxLogNull quiet;
    return Open(internal);
}

std::unique_ptr<wxRichTextBuffer> CCatalogue::LoadRichTextBuffer(const wxXmlNode& node,
                                                                 const std::wstring& tag) {
    const wxXmlNode* child = nullptr;
    const wxString name = AttachmentName(node, tag, &child);
    if (!child || !OpenEntry(name.ToStdWstring())) return nullptr;
    auto text = LoadRichTextXml(GetStream());
    CloseEntry();
    return text;
}

std::unique_ptr<wxBitmap> CCatalogue::LoadBitmap(const wxXmlNode& node, const std::wstring& tag,
                                                 wxFileName& fileName) {
    const wxXmlNode* child = nullptr;
    const wxString name = AttachmentName(node, tag, &child);
    if (!child) return nullptr;
    fileName.Clear();
    const wxBitmapType type = BitmapTypeOf(name);
    if (type == wxBITMAP_TYPE_INVALID) {
        NoteRequest(NormalName(name.ToStdWstring()));  // a changed extension may make it load
        return nullptr;
    }
    return LoadBitmapByName(node, name.ToStdWstring(), type, fileName);
}

std::unique_ptr<wxBitmap> CCatalogue::LoadBitmapByName(const wxXmlNode&, const std::wstring& name,
                                                       wxBitmapType type, wxFileName& fileName) {
    std::string refused;
    const auto bytes = ReadPictureEntry(name, refused);
    if (!bytes) {
        if (!refused.empty()) m_pictures.Refuse(name, refused);
        return nullptr;
    }
    fileName.Clear();
    return m_pictures.Read(name, type, bytes->GetData(), bytes->GetLength());
}

tarn::P<CStoredPicture> CCatalogue::LoadPicture(const wxXmlNode& node, const std::wstring& tag,
                                                wxFileName& fileName) {
    const wxXmlNode* child = nullptr;
    const wxString name = AttachmentName(node, tag, &child);
    if (!child) return nullptr;
    fileName.Clear();
    const wxString internal = NormalName(name.ToStdWstring());
    NoteRequest(internal);
    const wxBitmapType type = BitmapTypeOf(name);
    if (type == wxBITMAP_TYPE_INVALID || !Contains(internal)) return nullptr;
    tarn::P<CStoredPicture>& picture = m_stored[{internal, static_cast<int>(type)}];
    if (!picture) {
        IPictureSource& source = *this;
        picture = tarn::New<CStoredPicture>(source, internal, name.ToStdWstring(), type);
    }
    return picture;
}

std::unique_ptr<wxBitmap> CCatalogue::DecodeEntry(const wxString& name, const std::wstring& written,
                                                  wxBitmapType type) {
    std::string refused;
    const auto bytes = ReadPictureEntry(name.ToStdWstring(), refused);
    if (!bytes) {
        if (!refused.empty()) m_pictures.Refuse(written, refused);
        return nullptr;
    }
    return m_pictures.Read(written, type, bytes->GetData(), bytes->GetLength());
}

tarn::P<CSharedBuffer> CCatalogue::ReadPictureEntry(const std::wstring& name, std::string& error) {
    error.clear();
    NoteRequest(NormalName(name));  // asked for, even when refused: a folder's watcher sees it
    if (GetEntrySize(name) > static_cast<std::int64_t>(tarn::win32::kMaxPictureBytes)) {
        error = PictureTooLargeReason();
        return nullptr;
    }
    // One byte more than a picture may have, so that one that grew since is refused, not cut.
    return ReadEntry(name, tarn::win32::kMaxPictureBytes + 1);
}

std::uint64_t CCatalogue::BytesToRead(std::int64_t declared, std::int64_t stored) {
    if (declared < 1) return 0;
    if (stored < 0) return static_cast<std::uint64_t>(declared);
    return static_cast<std::uint64_t>(std::min(declared, stored));
}

tarn::P<CSharedBuffer> CCatalogue::ReadEntry(const std::wstring& name, std::uint64_t limit) {
    if (!OpenEntry(name)) return nullptr;
    return ReadOpenEntry(limit);
}

tarn::P<CSharedBuffer> CCatalogue::ReadOpenEntry(std::uint64_t limit) {
    wxLogNull quiet;  // a damaged entry just ends the data
    wxInputStream& in = GetStream();
    auto buffer = tarn::New<CSharedBuffer>();
    const std::uint64_t cap = std::numeric_limits<std::uint32_t>::max();
    limit = std::min(limit, cap);
    while (buffer->GetLength() < limit) {
        const std::uint64_t left = limit - buffer->GetLength();
        const auto want = static_cast<std::uint32_t>(std::min<std::uint64_t>(left, kReadChunk));
        // Capacity grows only as bytes actually arrive, and never past what was asked for.
        if (!buffer->Reserve(want, limit)) break;
        in.Read(buffer->GetData() + buffer->GetLength(), want);
        const std::size_t got = in.LastRead();
        if (got == 0) break;
        buffer->AddLength(static_cast<std::uint32_t>(got));
    }
    CloseEntry();
    return buffer;
}

tarn::P<CSharedBuffer> CCatalogue::LoadBuffer(const wxXmlNode& node, const std::wstring& tag,
                                              std::uint64_t limit) {
    limit = std::min<std::uint64_t>(limit, std::numeric_limits<std::uint32_t>::max());
    const wxXmlNode* child = nullptr;
    const wxString name = AttachmentName(node, tag, &child);
    if (!child) return nullptr;
    std::int64_t size = 0;
    xml::ReadInt64(*child, "size", size);
    const wxString internal = NormalName(name.ToStdWstring());
    NoteRequest(internal);
    if (size < 1) return nullptr;
    if (!Contains(internal)) return nullptr;
    const std::int64_t stored = SizeOf(internal);
    const std::uint64_t wanted = BytesToRead(size, stored);
    // Refused before anything is read: a small content file may declare a huge entry.
    if (stored >= 0 && wanted > limit) {
        WarnTooLarge(name, limit);
        return nullptr;
    }
    {
        wxLogNull quiet;
        if (!Open(internal)) return nullptr;
    }
    // The entry's own size bounds the allocation; the stream bounds what is counted. One byte
    // past the limit tells an entry of unknown size that is too large.
    auto buffer = ReadOpenEntry(std::min(wanted, limit + 1));
    if (buffer->GetLength() > limit) {
        WarnTooLarge(name, limit);
        return nullptr;
    }
    if (buffer->GetLength() == 0) return nullptr;
    return buffer;
}

std::wstring CCatalogue::GetResourceType(const wxXmlNode& node) {
    return xml::GetAttribute(node, "type").ToStdWstring();
}

tarn::P<IReusableResource> CCatalogue::GetReusableResource(
    const wxXmlNode& node, const std::wstring& typeName, const tarn::P<IReusableResource>& fresh) {
    std::int64_t id = -1;
    xml::ReadInt64(node, "unique", id);
    if (id > 0) {
        const auto type = m_reusableTypes.find(id);
        if (type != m_reusableTypes.end() && !type->second.empty() &&
            !tarn::EqualsNoCase(type->second, typeName)) {
            throw tarn::CError(L"Error get reuseable resource. Type different");
        }
        const auto known = m_reusableResources.find(id);
        if (known != m_reusableResources.end()) {
            // An object still being read cannot be shared from inside itself: that would make
            // it contain itself. Such a reference gets an object of its own.
            if (m_reading.count(id) == 0) return known->second;
            fresh->FromXml(node, *this);
            return fresh;
        }
        m_reusableResources[id] = fresh;
        m_reusableTypes[id] = typeName;
    }
    if (id > 0) m_reading.insert(id);
    const auto done = tarn::MakeScopeExit([this, id] { m_reading.erase(id); });
    fresh->FromXml(node, *this);
    return fresh;
}

}  // namespace graphics
