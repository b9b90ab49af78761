#include "graphics/skin/AnimationLayer.h"

#include <algorithm>

#include "graphics/ImagePainter.h"
#include "graphics/PaintMatrixDC.h"
#include "graphics/ResourceStore.h"
#include "graphics/XmlValues.h"

namespace graphics::skin {
namespace {

constexpr std::size_t kMaxCachedConversions = 32;
const wxString kPropPrefix = "prop-";

}  // namespace

void CAnimationLayer::SetBitmap(const wxBitmap* bitmap) {
    m_bitmap = bitmap && bitmap->IsOk() ? std::make_unique<wxBitmap>(*bitmap) : nullptr;
}

void CAnimationLayer::SetNamedPicture(const std::wstring& name, const wxBitmap& bitmap) {
    if (bitmap.IsOk()) m_named[name] = std::make_unique<wxBitmap>(bitmap);
}

const wxBitmap* CAnimationLayer::FindPicture(const COwnerSources& sources) const {
    if (m_bitmap) return m_bitmap.get();
    if (sources.picture) {
        const wxBitmap* picture = sources.picture->GetPicture(m_property);
        return picture && picture->IsOk() ? picture : nullptr;
    }
    if (m_property.empty() || m_named.empty()) return nullptr;
    const auto found = m_named.find(m_property);
    return found == m_named.end() ? nullptr : found->second.get();
}

wxBitmap CAnimationLayer::MaskToAlpha(const wxBitmap& bitmap) {
    wxImage image = bitmap.ConvertToImage();
    std::vector<unsigned char> alpha(static_cast<std::size_t>(image.GetWidth()) *
                                     image.GetHeight());
    for (int y = 0; y < image.GetHeight(); ++y) {
        for (int x = 0; x < image.GetWidth(); ++x) {
            alpha[static_cast<std::size_t>(y) * image.GetWidth() + x] =
                image.IsTransparent(x, y, 128) ? 0 : 255;
        }
    }
    image.SetMask(false);
    if (!image.HasAlpha()) image.InitAlpha();
    std::copy(alpha.begin(), alpha.end(), image.GetAlpha());
    return wxBitmap(image, 32);
}

const wxBitmap& CAnimationLayer::Drawable(const wxBitmap& picture) {
    if (!picture.GetMask()) return picture;
    const auto found = m_alphaCache.find(picture.GetRefData());
    if (found != m_alphaCache.end()) return found->second.converted;
    if (m_alphaCache.size() >= kMaxCachedConversions) m_alphaCache.clear();
    CConverted& entry = m_alphaCache[picture.GetRefData()];
    entry.source = picture;
    entry.converted = MaskToAlpha(picture);
    return entry.converted;
}

void CAnimationLayer::Paint(CPaintMatrixDC& dc, const CDRect& target,
                            const COwnerSources& sources) {
    wxGraphicsContext* context = dc.GetGraphicsContext();
    const wxBitmap* found = FindPicture(sources);
    if (!context || !found) return;
    const wxBitmap& picture = Drawable(*found);
    const CDRect content = ContentRect(target);
    const CDSize size{double(picture.GetWidth()), double(picture.GetHeight())};
    CImagePainterContext painter(*context);
    const CLayerMargins& m = m_scaleMargins;
    if (!m_scaling) {
        painter.DrawUnscaled(Align(content, size), picture, nullptr, 0);
        return;
    }
    if (m_proportional) {
        if (size.width <= 0 || size.height <= 0) return;
        const double scale =
            std::min(content.width / size.width, content.height / size.height);
        const CDSize fitted{size.width * scale, size.height * scale};
        const wxPoint at = Align(content, fitted);
        painter.DrawNinePatch(CDRect{double(at.x), double(at.y), fitted.width, fitted.height},
                              picture, m[kMarginLeft], m[kMarginTop], m[kMarginRight],
                              m[kMarginBottom], 0);
        return;
    }
    painter.DrawNinePatch(content, picture, m[kMarginLeft], m[kMarginTop], m[kMarginRight],
                          m[kMarginBottom], 0);
}

CDSize CAnimationLayer::GetMinSize(CPaintMatrixDC& dc, const COwnerSources& sources) {
    CDSize size = CLayer::GetMinSize(dc, sources);
    if (m_scaling && !m_proportional) {
        size.width += m_scaleMargins[kMarginLeft] + m_scaleMargins[kMarginRight];
        size.height += m_scaleMargins[kMarginTop] + m_scaleMargins[kMarginBottom];
    } else if (const wxBitmap* picture = FindPicture(sources)) {
        size.width += picture->GetWidth();
        size.height += picture->GetHeight();
    }
    return size;
}

void CAnimationLayer::ToXml(wxXmlNode& node, IResourceStore* store) const {
    CLayer::ToXml(node, store);
    xml::WriteBool(node, "scaling-enabled", m_scaling);
    xml::WriteBool(node, "scaling-proportional", m_proportional);
    margins::Write(node, "scale-margins", m_scaleMargins);
    xml::WriteString(node, "uriprop", m_property);
    auto* output = dynamic_cast<IResourceOutputStore*>(store);
    if (!output) return;
    if (m_bitmap) output->StoreBitmap(node, L"attachment-bitmap", *m_bitmap);
    if (m_named.empty()) return;
    wxXmlNode* props = xml::AddChild(node, "props");
    for (const auto& [name, bitmap] : m_named) {
        output->StoreBitmap(*props, (kPropPrefix + wxString(name)).ToStdWstring(), *bitmap);
    }
}

void CAnimationLayer::FromXml(const wxXmlNode& node, IResourceInputStore& store) {
    CLayer::FromXml(node, store);
    xml::ReadBool(node, "scaling-enabled", m_scaling);
    xml::ReadBool(node, "scaling-proportional", m_proportional);
    margins::Read(node, "scale-margins", m_scaleMargins);
    xml::ReadString(node, "uriprop", m_property);
    wxFileName fileName;
    if (auto bitmap = store.LoadBitmap(node, L"attachment-bitmap", fileName)) {
        if (bitmap->IsOk()) m_bitmap = std::move(bitmap);
    }
    const wxXmlNode* props = xml::FindChild(node, "props");
    if (!props) return;
    for (const wxXmlNode* child = props->GetChildren(); child; child = child->GetNext()) {
        const wxString tag = child->GetName();
        if (child->GetType() != wxXML_ELEMENT_NODE || !tag.StartsWith(kPropPrefix)) continue;
        auto bitmap = store.LoadBitmap(*props, tag.ToStdWstring(), fileName);
        if (bitmap && bitmap->IsOk()) {
            m_named[tag.Mid(kPropPrefix.length()).ToStdWstring()] = std::move(bitmap);
        }
    }
}

}  // namespace graphics::skin
