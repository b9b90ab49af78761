#include "TestSupport.h"

#include <wx/mstream.h>
#include <wx/sstream.h>

#include <cstdlib>
#include <ostream>

#include "graphics/GraphicElementFactory.h"
#include "graphics/GraphicElementType.h"
#include "graphics/RichText.h"
#include "graphics/XmlValues.h"

namespace testsupport {

std::unique_ptr<wxRichTextBuffer> CMemoryStore::LoadRichTextBuffer(const wxXmlNode& node,
                                                                   const std::wstring& tag) {
    const wxXmlNode* child = graphics::xml::FindChild(node, wxString(tag));
    if (!child) return nullptr;
    const auto found = m_texts.find(child->GetAttribute("name").ToStdWstring());
    if (found == m_texts.end()) return nullptr;
    wxMemoryInputStream in(found->second.data(), found->second.size());
    return graphics::LoadRichTextXml(in);
}

std::unique_ptr<wxBitmap> CMemoryStore::LoadBitmap(const wxXmlNode& node, const std::wstring& tag,
                                                   wxFileName& fileName) {
    const wxXmlNode* child = graphics::xml::FindChild(node, wxString(tag));
    if (!child) return nullptr;
    fileName.Clear();
    return LoadBitmapByName(node, child->GetAttribute("name").ToStdWstring(),
                            wxBITMAP_TYPE_PNG, fileName);
}

std::unique_ptr<wxBitmap> CMemoryStore::LoadBitmapByName(const wxXmlNode&,
                                                         const std::wstring& name, wxBitmapType,
                                                         wxFileName& fileName) {
    const auto found = m_bitmaps.find(name);
    if (found == m_bitmaps.end()) return nullptr;
    fileName.Clear();
    return std::make_unique<wxBitmap>(found->second);
}

tarn::P<graphics::CSharedBuffer> CMemoryStore::LoadBuffer(const wxXmlNode&, const std::wstring&,
                                                          std::uint64_t) {
    return nullptr;
}

std::wstring CMemoryStore::GetResourceType(const wxXmlNode& node) {
    return node.GetAttribute("type").ToStdWstring();
}

tarn::P<graphics::IReusableResource> CMemoryStore::GetReusableResource(
    const wxXmlNode& node, const std::wstring&,
    const tarn::P<graphics::IReusableResource>& fresh) {
    fresh->FromXml(node, *this);
    return fresh;
}

void CMemoryStore::StoreBitmap(wxXmlNode& node, const std::wstring& tag, const wxBitmap& bitmap) {
    const std::wstring name = L"bitmap" + std::to_wstring(m_bitmaps.size()) + L".png";
    m_bitmaps[name] = bitmap;
    graphics::xml::WriteString(*graphics::xml::AddChild(node, wxString(tag)), "name", name);
}

void CMemoryStore::StoreRichTextBuffer(wxXmlNode& node, const std::wstring& tag,
                                       wxRichTextBuffer& buffer) {
    const std::wstring name = L"text" + std::to_wstring(m_texts.size()) + L".xml";
    wxMemoryOutputStream out;
    graphics::SaveRichTextXml(buffer, out);
    std::string bytes(out.GetLength(), '\0');
    out.CopyTo(bytes.data(), bytes.size());
    m_texts[name] = std::move(bytes);
    graphics::xml::WriteString(*graphics::xml::AddChild(node, wxString(tag)), "name", name);
}

std::string XmlText(const wxXmlNode& node) {
    wxXmlDocument document;
    document.SetRoot(new wxXmlNode(node));
    wxStringOutputStream out;
    document.Save(out);
    return out.GetString().ToStdString(wxConvUTF8);
}

std::unique_ptr<wxXmlDocument> ParseXml(const std::string& text) {
    auto document = std::make_unique<wxXmlDocument>();
    wxMemoryInputStream in(text.data(), text.size());
    if (!document->Load(in, "UTF-8")) return nullptr;
    return document;
}

tarn::P<graphics::CGraphicElement> RoundTrip(const graphics::CGraphicElement& element,
                                             std::string* writtenText) {
    auto store = tarn::New<CMemoryStore>();
    wxXmlNode node(wxXML_ELEMENT_NODE, wxString(graphics::GraphicTypeToXml(element.GetType())));
    element.ToXml(node, store.Get());
    if (writtenText) *writtenText = XmlText(node);
    tarn::P<graphics::CGraphicElement> copy = graphics::NewInstance(element.GetType());
    copy->FromXml(node, *store);
    return copy;
}

CCanvas::CCanvas(int width, int height, const wxColour& background)
    : m_bitmap(width, height, 24), m_dc(std::make_unique<wxMemoryDC>(m_bitmap)) {
    m_dc->SetBackground(wxBrush(background));
    m_dc->Clear();
}

CCanvas::~CCanvas() { m_dc->SelectObject(wxNullBitmap); }

void CCanvas::Paint(graphics::CGraphicBase& element, const wxAffineMatrix2D& transform,
                    int mode) {
    graphics::CPaintMatrixDC context(*m_dc, transform);
    context.SetPaintMode(mode);
    element.Paint(context);
}

wxImage CCanvas::Snapshot() {
    m_dc->SelectObject(wxNullBitmap);
    wxImage image = m_bitmap.ConvertToImage();
    m_dc->SelectObject(m_bitmap);
    return image;
}

wxColour CCanvas::Pixel(int x, int y) {
    const wxImage image = Snapshot();
    return wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
}

wxBitmap MakeBitmap(int width, int height, const wxColour& colour) {
    wxImage image(width, height);
    image.SetRGB(wxRect(0, 0, width, height), colour.Red(), colour.Green(), colour.Blue());
    return wxBitmap(image);
}

bool Near(const wxColour& a, const wxColour& b, int tolerance) {
    return std::abs(a.Red() - b.Red()) <= tolerance &&
           std::abs(a.Green() - b.Green()) <= tolerance &&
           std::abs(a.Blue() - b.Blue()) <= tolerance;
}

}  // namespace testsupport

std::ostream& operator<<(std::ostream& out, const wxColour& colour) {
    return out << "(" << int(colour.Red()) << "," << int(colour.Green()) << ","
               << int(colour.Blue()) << "," << int(colour.Alpha()) << ")";
}
