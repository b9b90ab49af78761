#pragma once
// Shared helpers of the graphics tests: an in-memory resource store, XML text of nodes and
// an offscreen canvas whose pixels can be read.

#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/xml/xml.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "graphics/GraphicElement.h"
#include "graphics/PaintMatrixDC.h"
#include "graphics/ResourceStore.h"
#include "tarn/Object.h"

namespace testsupport {

class CMemoryStore : public tarn::CObject,
                     public virtual graphics::IResourceInputStore,
                     public virtual graphics::IResourceOutputStore {
public:
    std::unique_ptr<wxRichTextBuffer> LoadRichTextBuffer(const wxXmlNode&,
                                                         const std::wstring&) override;
    std::unique_ptr<wxBitmap> LoadBitmap(const wxXmlNode& node, const std::wstring& tag,
                                         wxFileName& fileName) override;
    std::unique_ptr<wxBitmap> LoadBitmapByName(const wxXmlNode& node, const std::wstring& name,
                                               wxBitmapType type, wxFileName& fileName) override;
    tarn::P<graphics::CSharedBuffer> LoadBuffer(const wxXmlNode&, const std::wstring&,
                                                std::uint64_t) override;
    std::wstring GetResourceType(const wxXmlNode& node) override;
    tarn::P<graphics::IReusableResource> GetReusableResource(
        const wxXmlNode& node, const std::wstring& typeName,
        const tarn::P<graphics::IReusableResource>& fresh) override;
    void StoreBitmap(wxXmlNode& node, const std::wstring& tag, const wxBitmap& bitmap) override;
    // Keeps the buffer's rich-text XML form; LoadRichTextBuffer reads it back.
    void StoreRichTextBuffer(wxXmlNode& node, const std::wstring& tag,
                             wxRichTextBuffer& buffer) override;
    // Makes XML text loadable under name.
    void PutRichText(const std::wstring& name, std::string xml) { m_texts[name] = std::move(xml); }

private:
    std::map<std::wstring, wxBitmap> m_bitmaps;
    std::map<std::wstring, std::string> m_texts;
};

// Keeps every warning (and error) logged while it lives, instead of printing it.
class CWarnings : public wxLog {
public:
    CWarnings() : m_previous(wxLog::SetActiveTarget(this)) {}
    ~CWarnings() override { wxLog::SetActiveTarget(m_previous); }
    CWarnings(const CWarnings&) = delete;
    CWarnings& operator=(const CWarnings&) = delete;
    const std::vector<std::string>& Get() const { return m_texts; }

protected:
    void DoLogRecord(wxLogLevel level, const wxString& text, const wxLogRecordInfo&) override {
        if (level <= wxLOG_Warning) m_texts.push_back(text.utf8_string());
    }

private:
    wxLog* m_previous;
    std::vector<std::string> m_texts;
};

// The node and its subtree as XML text.
std::string XmlText(const wxXmlNode& node);
// Parses XML text; the returned document owns the root.
std::unique_ptr<wxXmlDocument> ParseXml(const std::string& text);

// Writes an element into a node named by its type tag and reads a new element back from it.
tarn::P<graphics::CGraphicElement> RoundTrip(const graphics::CGraphicElement& element,
                                             std::string* writtenText = nullptr);

// A white 24-bit offscreen bitmap to paint into.
class CCanvas {
public:
    CCanvas(int width, int height, const wxColour& background = *wxWHITE);
    ~CCanvas();

    wxMemoryDC& GetDC() { return *m_dc; }
    // Paints through a paint context with the given transform (identity: 1 unit = 1 pixel).
    void Paint(graphics::CGraphicBase& element, const wxAffineMatrix2D& transform = {},
               int mode = graphics::CPaintMatrixDC::kModePlain);
    // The picture painted so far.
    wxImage Snapshot();
    wxColour Pixel(int x, int y);

private:
    wxBitmap m_bitmap;
    std::unique_ptr<wxMemoryDC> m_dc;
};

// An opaque bitmap of one colour.
wxBitmap MakeBitmap(int width, int height, const wxColour& colour);

bool Near(const wxColour& a, const wxColour& b, int tolerance = 8);

}  // namespace testsupport

// Readable colours in assertion messages.
std::ostream& operator<<(std::ostream& out, const wxColour& colour);
