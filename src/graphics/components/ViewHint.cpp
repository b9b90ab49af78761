// The bands of text the view draws over the page: the hint line at the bottom, with its
// img[...] pictures and font[...] weight changes, and the message line.

#include "graphics/components/View.h"

#include <wx/dcclient.h>
#include <wx/settings.h>

#include "graphics/skin/SkinManager.h"

namespace graphics::components {

void CView::SetHint(bool show, const wxString& hint) {
    m_showHint = show;
    m_hint = hint;
    RequestRepaint();
}

void CView::SetMessage(const wxString& message, const wxColour& colour, int placement) {
    m_message = message;
    m_messageColour = colour;
    m_messagePlacement = placement;
    RequestRepaint();
}

int CView::MessageHeight() const {
    wxClientDC dc(const_cast<CView*>(this));
    dc.SetFont(GetFont());
    return dc.GetTextExtent(m_message).y;
}

void CView::PaintMessage(wxDC& dc) {
    const CDRect view = GetViewRect(false);
    dc.SetFont(GetFont());
    dc.SetTextForeground(m_messageColour);
    dc.DrawText(m_message, static_cast<int>(view.x) + 2, static_cast<int>(view.y) + 1);
}

void CView::PaintHint(wxDC& dc) {
    const CDRect view = GetViewRect(false);
    const int top = static_cast<int>(view.y + view.height) - kHintBand;
    wxFont font = GetFont();
    dc.SetFont(font);
    dc.SetTextForeground(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT));
    const int lineMiddle = top + kHintBand / 2;
    int x = static_cast<int>(view.x) + 4;
    const auto drawText = [&](const wxString& text) {
        if (text.empty()) return;
        const wxSize extent = dc.GetTextExtent(text);
        dc.DrawText(text, x, lineMiddle - extent.y / 2);
        x += extent.x;
    };
    const wxString& hint = m_hint;
    size_t pos = 0;
    while (pos < hint.size()) {
        const size_t img = hint.find("img[", pos);
        const size_t fnt = hint.find("font[", pos);
        const size_t next = std::min(img, fnt);
        if (next == wxString::npos) {
            drawText(hint.substr(pos));
            break;
        }
        const bool isImage = next == img;
        const size_t open = next + (isImage ? 4 : 5);
        const size_t close = hint.find(']', open);
        if (close == wxString::npos) {
            // An unclosed segment is plain text.
            drawText(hint.substr(pos));
            break;
        }
        drawText(hint.substr(pos, next - pos));
        const wxString value = hint.substr(open, close - open);
        if (isImage) {
            if (const wxBitmap* bitmap = GetSkinManager()->GetBitmap(value.ToStdWstring(), true);
                bitmap != nullptr && bitmap->IsOk()) {
                dc.DrawBitmap(*bitmap, x, lineMiddle - bitmap->GetHeight() / 2, true);
                x += bitmap->GetWidth();
            }
        } else if (value.IsSameAs("BOLD", false) || value.IsSameAs("LIGHT", false)) {
            font.SetWeight(wxFONTWEIGHT_BOLD);
            dc.SetFont(font);
        } else if (value.IsSameAs("NORMAL", false)) {
            font.SetWeight(wxFONTWEIGHT_NORMAL);
            dc.SetFont(font);
        }
        pos = close + 1;
    }
}

}  // namespace graphics::components
