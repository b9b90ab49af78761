#include "graphics/skin/SkinManager.h"

#include <wx/dcmemory.h>
#include <wx/settings.h>

#include "graphics/RichText.h"
#include "tarn/Singleton.h"
#include "tarn/StringLocalizer.h"
#include "wxutil/WXError.h"

namespace graphics {
namespace {

constexpr int kSmallestStyledPoints = 7;
// Generated text bitmaps kept at most; the cache starts afresh beyond.
constexpr std::size_t kMaxTextBitmaps = 512;

struct CKeyCap {
    const wchar_t* cacheName;
    const wchar_t* key;
    const wchar_t* text;
};

constexpr CKeyCap kKeyCaps[] = {
    {L"KEY_ALT", L"graphics.Keyname.Alt", L"Alt"},
    {L"KEY_ESC", L"graphics.Keyname.Esc", L"Esc"},
    {L"KEY_CONTROL", L"graphics.Keyname.Ctrl", L"Ctrl"},
    {L"KEY_SHIFT", L"graphics.Keyname.Shift", L"Shift"},
};

wxSize TextExtent(const wxString& text, const wxFont& font) {
    wxBitmap scratch(1, 1);
    wxMemoryDC dc(scratch);
    dc.SetFont(font);
    return dc.GetTextExtent(text);
}

wxBitmap WithOpaqueAlpha(const wxBitmap& bitmap) {
    wxImage image = bitmap.ConvertToImage();
    if (!image.HasAlpha()) image.InitAlpha();
    return wxBitmap(image, 32);
}

std::wstring StyledKey(const std::wstring& text, const wxColour& colour,
                       const wxColour& background, const wxFont& font, int maxWidth) {
    return wxString::Format("%s/%s/%s/%s/%d", wxString(text), colour.GetAsString(),
                            background.GetAsString(), font.GetNativeFontInfoDesc(), maxWidth)
        .ToStdWstring();
}

}  // namespace

CSkinManager::CSkinManager() : m_artProvider(tarn::New<CArtProvider>()) {
    m_artProvider->SetArtFolder(CArtProvider::DefaultFolder());
    MakeKeyCaps();
}

CSkinManager::~CSkinManager() = default;

void CSkinManager::SetArtProvider(const tarn::P<IArtProvider>& provider) {
    if (provider) m_artProvider = provider;
}

void CSkinManager::MakeKeyCaps() {
    const wxFont font = *wxNORMAL_FONT;
    for (const CKeyCap& cap : kKeyCaps) {
        const wxString text(tarn::Localize(cap.key, cap.text));
        const wxSize extent = TextExtent(text, font);
        wxBitmap bitmap(extent.x + 8, extent.y + 8, 24);
        {
            wxMemoryDC dc(bitmap);
            dc.SetBackground(wxBrush(wxColour(240, 240, 240)));
            dc.Clear();
            dc.SetPen(wxPen(wxColour(128, 128, 128)));
            dc.SetBrush(*wxTRANSPARENT_BRUSH);
            dc.DrawRectangle(0, 0, bitmap.GetWidth(), bitmap.GetHeight());
            dc.SetFont(font);
            dc.SetTextForeground(*wxBLACK);
            dc.DrawText(text, 4, 4);
        }
        m_bitmaps[cap.cacheName] = std::make_unique<wxBitmap>(WithOpaqueAlpha(bitmap));
    }
}

const wxBitmap* CSkinManager::GetBitmap(const std::wstring& name, bool flag) {
    const std::wstring key = flag ? name : L"-" + name;
    const auto found = m_bitmaps.find(key);
    if (found != m_bitmaps.end()) return found->second.get();
    auto loaded = m_artProvider->LoadBitmap(name, flag);
    return (m_bitmaps[key] = std::move(loaded)).get();
}

const wxCursor& CSkinManager::GetCursor(int id) {
    if (id < 1 || id >= kCursorSlots || id >= wxCURSOR_MAX) return wxNullCursor;
    auto& slot = m_cursors[static_cast<std::size_t>(id)];
    if (!slot) slot.emplace(static_cast<wxStockCursor>(id));
    return *slot;
}

wxColour CSkinManager::GetColour(int index) const {
    if (index >= 0 && index < kColourSlots && m_colours[static_cast<std::size_t>(index)]) {
        return *m_colours[static_cast<std::size_t>(index)];
    }
    if (index == 0) return wxColour(191, 191, 191);
    if (index == 1) return wxColour(128, 128, 128);
    return *wxBLACK;
}

void CSkinManager::SetColour(int index, const wxColour& colour) {
    if (index >= 0 && index < kColourSlots) m_colours[static_cast<std::size_t>(index)] = colour;
}

wxRichTextAttr CSkinManager::GetDefaultTextAttr() const { return graphics::GetDefaultTextAttr(); }

wxRichTextStyleSheet& CSkinManager::GetStyleSheet() const { return GetRichTextStyleSheet(); }

wxFont CSkinManager::FitStyledFont(const std::wstring& text, int maxWidth) const {
    wxFont font = *wxNORMAL_FONT;
    while (TextExtent(text, font).x + 4 > maxWidth &&
           font.GetPointSize() > kSmallestStyledPoints) {
        font.SetPointSize(font.GetPointSize() - 1);
    }
    return font;
}

wxBitmap CSkinManager::GetStyledText(const std::wstring& text, int style, int maxWidth) {
    wxColour background;
    if (style == kStyleLight) {
        background = wxColour(230, 230, 230);
    } else if (style == kStyleDark) {
        background = wxColour(200, 200, 200);
    } else {
        throw wxutil::CWXError(wxString("CSkinManager.GetStyledText: Unknown style"));
    }
    const wxColour colour(50, 50, 50);
    const wxFont font = FitStyledFont(text, maxWidth);
    const std::wstring key = StyledKey(text, colour, background, font, maxWidth);
    const auto found = m_textBitmaps.find(key);
    if (found != m_textBitmaps.end()) return found->second;
    if (m_textBitmaps.size() >= kMaxTextBitmaps) m_textBitmaps.clear();
    return m_textBitmaps[key] = DrawStyledText(text, font, colour, background, maxWidth);
}

wxBitmap CSkinManager::DrawStyledText(wxString text, const wxFont& font, const wxColour& colour,
                                      const wxColour& background, int maxWidth) const {
    while (!text.empty() && TextExtent(text, font).x > maxWidth - 4) text.RemoveLast();
    wxSize extent = TextExtent(text, font);
    if (text.empty()) extent.y = TextExtent(" ", font).y;
    wxBitmap bitmap(extent.x + 4, extent.y + 4, 24);
    {
        wxMemoryDC dc(bitmap);
        dc.SetBackground(wxBrush(background));
        dc.Clear();
        dc.SetFont(font);
        dc.SetTextForeground(colour);
        dc.DrawText(text, 2, 2);
    }
    return WithOpaqueAlpha(bitmap);
}

tarn::P<CSkinManager> GetSkinManager() {
    static tarn::TSingletonHolder<CSkinManager> holder;
    return holder.Get([] { return tarn::New<CSkinManager>(); });
}

}  // namespace graphics
