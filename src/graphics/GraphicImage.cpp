#include "graphics/GraphicImage.h"

#include <wx/dc.h>
#include <wx/graphics.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "graphics/DrawHelpers.h"
#include "graphics/EffectDC.h"
#include "graphics/GraphicElementType.h"
#include "graphics/ImagePainter.h"
#include "graphics/PaintMatrixDC.h"
#include "graphics/ResourceStore.h"
#include "graphics/XmlValues.h"
#include "tarn/StringFormat.h"
#include "tarn/StringLocalizer.h"
#include "tarn/Text.h"

namespace graphics {
namespace {

// Attribute names in the order they are written, with the margin each one holds.
constexpr struct {
    const char* name;
    CGraphicImage::Margin index;
} kMarginAttributes[] = {
    {"left", CGraphicImage::kLeft},
    {"top", CGraphicImage::kTop},
    {"right", CGraphicImage::kRight},
    {"bottom", CGraphicImage::kBottom},
    {"left-factor", CGraphicImage::kLeftFactor},
    {"top-factor", CGraphicImage::kTopFactor},
    {"right-factor", CGraphicImage::kRightFactor},
    {"bottom-factor", CGraphicImage::kBottomFactor},
};

int Whole(double value) {
    if (!std::isfinite(value)) return 0;
    return static_cast<int>(std::clamp(std::trunc(value), -1e6, 1e6));
}

std::wstring Number(double value) { return tarn::Format(L"%.2f", value); }

wxImage TransparentImage(int width, int height) {
    wxImage image(width, height, true);
    if (!image.IsOk()) return image;
    image.InitAlpha();
    std::memset(image.GetAlpha(), 0, static_cast<std::size_t>(width) * height);
    return image;
}

wxImage Fit(wxImage image, int width, int height) {
    if (image.GetWidth() == width && image.GetHeight() == height) return image;
    return image.Scale(width, height, wxIMAGE_QUALITY_BICUBIC);
}

}  // namespace

int CGraphicImage::GetType() const { return GRAPHIC_IMAGE; }

void CGraphicImage::SetRotation(double degrees) {
    CGraphicElement::SetRotation(degrees);
    m_prepared.Clear();
}

void CGraphicImage::SetMirror(int axis, bool mirrored) {
    CGraphicElement::SetMirror(axis, mirrored);
    m_prepared.Clear();
}

void CGraphicImage::SetColoured(bool coloured) {
    CGraphicElement::SetColoured(coloured);
    m_prepared.Clear();
}

void CGraphicImage::SetBitmap(std::unique_ptr<wxBitmap> bitmap) {
    SetPicture(bitmap ? tarn::New<CStoredPicture>(std::move(bitmap)) : nullptr);
}

void CGraphicImage::SetPicture(tarn::P<CStoredPicture> picture) {
    m_picture = std::move(picture);
    m_prepared.Clear();
}

void CGraphicImage::SetScaleMargins(const Margins& margins) {
    m_margins = margins;
    m_prepared.Clear();
}

void CGraphicImage::ClearContent() { SetBitmap(nullptr); }

std::wstring CGraphicImage::GetHint() const {
    if (!GetHintText().empty() || !HasFlag(kFlagEditingHints)) return GetHintText();
    if (!m_picture) {
        return tarn::Localize(L"graphics.CGraphicImage.DoubleClickToLoadImage",
                              L"Double click to load an image");
    }
    std::wstring text =
        tarn::Localize(L"graphics.CGraphicImage.ImageFormat",
                       L"%IMAGENAME% bounds: %CENTERX%,%CENTERY% (%WIDTH% x %HEIGHT%)");
    text = tarn::SetPlaceholder(text, L"IMAGENAME", GetDisplayName());
    text = tarn::SetPlaceholder(text, L"CENTERX", Number(GetCenter().x));
    text = tarn::SetPlaceholder(text, L"CENTERY", Number(GetCenter().y));
    text = tarn::SetPlaceholder(text, L"WIDTH", Number(GetSize().width));
    return tarn::SetPlaceholder(text, L"HEIGHT", Number(GetSize().height));
}

void CGraphicImage::CopyFrom(const CGraphicElement& other) {
    CGraphicElement::CopyFrom(other);
    if (const auto* image = dynamic_cast<const CGraphicImage*>(&other)) {
        m_fileName = image->m_fileName;
        // A stored picture is shared: it never changes, only decodes and gives back.
        SetPicture(image->m_picture);
        m_margins = image->m_margins;
        m_noScale = image->m_noScale;
    }
}

void CGraphicImage::ToXml(wxXmlNode& node, IResourceStore* store) const {
    CGraphicElement::ToXml(node, store);
    wxXmlNode* margins = xml::AddChild(node, "scale-margins");
    for (const auto& attribute : kMarginAttributes) {
        xml::WriteDouble(*margins, attribute.name, m_margins[attribute.index]);
    }
    if (m_noScale) xml::WriteBool(node, "noscale", true);
    if (m_fileName.IsOk()) {
        xml::WriteString(node, "filename", m_fileName.GetFullPath().ToStdWstring());
    }
    auto* output = dynamic_cast<IResourceOutputStore*>(store);
    const wxBitmap* bitmap = output ? GetBitmap() : nullptr;
    if (bitmap) output->StoreBitmap(node, L"attachment-bitmap", *bitmap);
}

void CGraphicImage::FromXml(const wxXmlNode& node, IResourceInputStore& store) {
    CGraphicElement::FromXml(node, store);
    if (const wxXmlNode* margins = xml::FindChild(node, "scale-margins")) {
        for (const auto& attribute : kMarginAttributes) {
            xml::ReadDouble(*margins, attribute.name, m_margins[attribute.index]);
        }
    }
    xml::ReadBool(node, "noscale", m_noScale);
    std::wstring fileName;
    if (xml::ReadString(node, "filename", fileName) && !fileName.empty()) {
        m_fileName = wxFileName(wxString(fileName));
    }
    SetPicture(store.LoadPicture(node, L"attachment-bitmap", m_fileName));
}

wxImage CGraphicImage::FitImage(int width, int height) const {
    const CMargins margins{Whole(m_margins[kLeft]), Whole(m_margins[kTop]),
                           Whole(m_margins[kRight]), Whole(m_margins[kBottom])};
    const wxBitmap* bitmap = GetBitmap();
    if (!bitmap) return wxImage();
    if (margins.IsZero()) return Fit(bitmap->ConvertToImage(), width, height);
    wxImage canvas = TransparentImage(width, height);
    {
        std::unique_ptr<wxGraphicsContext> context(wxGraphicsContext::Create(canvas));
        if (context) {
            CImagePainterContext painter(*context);
            painter.DrawNinePatch(wxRect(0, 0, width, height), *bitmap, margins, 0);
        }
    }
    return canvas;
}

wxImage CGraphicImage::PrepareImage(int width, int height, bool untransformed) const {
    wxImage image = FitImage(width, height);
    if (!image.IsOk()) return image;
    // Mirrored first, then turned: the picture flips within the element, and the element turns.
    if (!untransformed) {
        if (IsMirrored(0)) image = image.Mirror(true);
        if (IsMirrored(1)) image = image.Mirror(false);
    }
    const double rotation = GetRotation();
    const double whole = std::trunc(rotation);
    if (!untransformed && std::abs(rotation) > 0.001) {
        if (std::fmod(whole, 90.0) == 0) {
            const int turns = static_cast<int>(std::fmod(std::abs(whole) / 90, 4.0));
            for (int turn = 0; turn < turns; ++turn) image = image.Rotate90(rotation > 0);
            const bool sideways = turns % 2 == 1;
            image = Fit(image, sideways ? height : width, sideways ? width : height);
        } else {
            if (!image.HasAlpha() && !image.HasMask()) image.InitAlpha();
            const double radians = rotation * kDegreesToRadians;
            const int turnedWidth = static_cast<int>(std::lround(
                std::abs(width * std::cos(radians)) + std::abs(height * std::sin(radians))));
            const int turnedHeight = static_cast<int>(std::lround(
                std::abs(width * std::sin(radians)) + std::abs(height * std::cos(radians))));
            const wxPoint centre(width / 2, height / 2);
            image = image.Rotate(-radians, centre, true);
            image = Fit(image, std::max(turnedWidth, 1), std::max(turnedHeight, 1));
        }
    }
    if (!IsColoured()) image = image.ConvertToGreyscale();
    return image;
}

const wxBitmap& CGraphicImage::GetPrepared(const CPaintMatrixDC& dc, int width, int height,
                                           bool untransformed) {
    const std::int64_t key = dc.GetCacheKey(width, height);
    if (const wxBitmap* known = m_prepared.Find(key, untransformed)) return *known;
    auto bitmap = std::make_unique<wxBitmap>(PrepareImage(width, height, untransformed), 32);
    return *m_prepared.Put(key, untransformed, std::move(bitmap));
}

void CGraphicImage::Paint(CPaintMatrixDC& dc) {
    const wxBitmap* bitmap = GetBitmap();
    if (!bitmap || !bitmap->IsOk()) {
        if (dc.IsEditing()) PaintPlaceholder(dc);
        return;
    }
    wxDC& target = dc.GetDC();
    const CDRect mapped = dc.Map(CDRect::FromCenter(GetCenter(), GetSize()));
    if (m_noScale && dc.IsPlain()) {
        target.DrawBitmap(*bitmap, Whole(mapped.x), Whole(mapped.y), true);
        dc.AddPaintedArea({mapped.x, mapped.y, static_cast<double>(bitmap->GetWidth()),
                           static_cast<double>(bitmap->GetHeight())});
        return;
    }
    const int width = Whole(mapped.width), height = Whole(mapped.height);
    if (!draw::FitsOffscreen(width, height)) return;
    if (!dc.IsPlain()) {
        PaintTurned(dc, width, height);
        return;
    }
    const wxBitmap& picture = GetPrepared(dc, width, height, false);
    if (std::abs(GetRotation()) <= 0.001) {
        target.DrawBitmap(picture, Whole(mapped.x), Whole(mapped.y), true);
    } else {
        // The turned picture is centred where the element's centre lands.
        const CDPoint centre = dc.Map(GetCenter());
        const auto left = static_cast<int>(std::lround(centre.x - picture.GetWidth() / 2.0));
        const auto top = static_cast<int>(std::lround(centre.y - picture.GetHeight() / 2.0));
        target.DrawBitmap(picture, left, top, true);
    }
    dc.AddPaintedArea(dc.Map(GetBoundingRect()));
    if (dc.GetPaintMode() == CPaintMatrixDC::kModeEditMargins) PaintMarginMarks(dc);
}

void CGraphicImage::PaintTurned(CPaintMatrixDC& dc, int width, int height) {
    // The paint transform itself turns or flips: let the graphics context place the picture.
    CPaintToDC local(dc, *this);
    TEffectDC<wxDC> effect(dc.GetDC());
    wxGraphicsContext* context = effect.GetGraphicsContext();
    if (!context) return;
    const wxBitmap& picture = GetPrepared(dc, width, height, true);
    wxAffineMatrix2D transform = local.GetTransform();
    wxMatrix2D m;
    wxPoint2DDouble t;
    transform.Get(&m, &t);
    context->SetTransform(context->CreateMatrix(m.m_11, m.m_12, m.m_21, m.m_22, t.m_x, t.m_y));
    const CDRect rect = CDRect::FromCenter(GetCenter(), GetSize());
    context->DrawBitmap(picture, rect.x, rect.y, rect.width, rect.height);
    dc.AddPaintedArea(dc.Map(GetBoundingRect()));
}

void CGraphicImage::PaintPlaceholder(CPaintMatrixDC& dc) const {
    wxDC& target = dc.GetDC();
    const CDRect mapped = dc.Map(CDRect::FromCenter(GetCenter(), GetSize()));
    const wxRect rect(Whole(mapped.x), Whole(mapped.y), Whole(mapped.width),
                      Whole(mapped.height));
    target.SetPen(wxPen(*wxBLACK, 1, wxPENSTYLE_SOLID));
    target.SetBrush(*wxTRANSPARENT_BRUSH);
    target.DrawRectangle(rect);
    target.DrawLabel(wxString(tarn::Localize(L"graphics.Image.ClickMe", L"Click me!")), rect,
                     wxALIGN_CENTER);
}

void CGraphicImage::PaintMarginMarks(CPaintMatrixDC& dc) const {
    const int left = Whole(m_margins[kLeft]), top = Whole(m_margins[kTop]);
    const int right = Whole(m_margins[kRight]), bottom = Whole(m_margins[kBottom]);
    if (left == 0 && top == 0 && right == 0 && bottom == 0) return;
    const CDRect mapped = dc.Map(CDRect::FromCenter(GetCenter(), GetSize()));
    wxDC& target = dc.GetDC();
    target.SetPen(wxPen(*wxBLACK, 1, wxPENSTYLE_DOT));
    target.SetBrush(*wxTRANSPARENT_BRUSH);
    target.DrawRectangle(Whole(mapped.x) + left, Whole(mapped.y) + top,
                         Whole(mapped.width) - left - right, Whole(mapped.height) - top - bottom);
}

}  // namespace graphics
