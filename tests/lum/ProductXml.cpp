#include "ProductXml.h"

#include <wx/mstream.h>
#include <wx/xml/xml.h>

#include <stdexcept>

#include "graphics/ResourceStore.h"

namespace lumtest {

namespace {

// A store without any attachment: every load finds nothing.
class CEmptyStore : public tarn::CObject, public virtual graphics::IResourceInputStore {
public:
    std::unique_ptr<wxRichTextBuffer> LoadRichTextBuffer(const wxXmlNode&,
                                                         const std::wstring&) override {
        return nullptr;
    }
    std::unique_ptr<wxBitmap> LoadBitmap(const wxXmlNode&, const std::wstring&,
                                         wxFileName&) override {
        return nullptr;
    }
    std::unique_ptr<wxBitmap> LoadBitmapByName(const wxXmlNode&, const std::wstring&, wxBitmapType,
                                               wxFileName&) override {
        return nullptr;
    }
    tarn::P<graphics::CSharedBuffer> LoadBuffer(const wxXmlNode&, const std::wstring&,
                                                std::uint64_t) override {
        return nullptr;
    }
    std::wstring GetResourceType(const wxXmlNode&) override { return L""; }
    tarn::P<graphics::IReusableResource> GetReusableResource(
        const wxXmlNode&, const std::wstring&,
        const tarn::P<graphics::IReusableResource>& fresh) override {
        return fresh;
    }
};

}  // namespace

tarn::P<lum::data::CProduct> ReadProduct(const std::string& xml) {
    wxMemoryInputStream in(xml.data(), xml.size());
    wxXmlDocument document;
    if (!document.Load(in) || !document.GetRoot()) throw std::runtime_error("bad test XML");
    auto store = tarn::New<CEmptyStore>();
    auto product = tarn::New<lum::data::CProduct>();
    product->ReadXml(*document.GetRoot(), *store);
    return product;
}

}  // namespace lumtest
