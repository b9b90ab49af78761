#pragma once
// The program's cache of art bitmaps, cursors, outline colours and generated text bitmaps,
// and the home of the default text style.

#include <wx/bitmap.h>
#include <wx/colour.h>
#include <wx/cursor.h>
#include <wx/font.h>
#include <wx/richtext/richtextstyles.h>

#include <array>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "graphics/skin/ArtProvider.h"
#include "tarn/Pointer.h"

namespace graphics {

class CSkinManager : public tarn::CObject {
public:
    static constexpr int kCursorSlots = 28;
    static constexpr int kColourSlots = 20;
    static constexpr int kStyleLight = 1;
    static constexpr int kStyleDark = 2;

    CSkinManager();
    ~CSkinManager() override;

    // Cached under name (flag true) or "-" and name; a miss asks the art provider and keeps
    // its answer, none included. Null when there is no such picture.
    const wxBitmap* GetBitmap(const std::wstring& name, bool flag = true);
    // The stock cursor of the toolkit id, made on first use; the null cursor outside 1..27.
    const wxCursor& GetCursor(int id);
    // The stored colour, else the outline greys of the editing modes and black.
    wxColour GetColour(int index) const;
    void SetColour(int index, const wxColour& colour);

    void SetArtFolder(const wxFileName& folder) { m_artProvider->SetArtFolder(folder); }
    wxFileName GetArtFolder() const { return m_artProvider->GetArtFolder(); }
    const tarn::P<IArtProvider>& GetArtProvider() const { return m_artProvider; }
    void SetArtProvider(const tarn::P<IArtProvider>& provider);

    // The "Normal" style of the style sheet with black text.
    wxRichTextAttr GetDefaultTextAttr() const;
    wxRichTextStyleSheet& GetStyleSheet() const;

    // The text drawn on a light (style 1) or dark (style 2) plate no wider than maxWidth
    // where possible: the font shrinks down to 7 points first, then the text is cut.
    // Raises CWXError for other styles.
    // A copy (bitmaps share their pixels): the cache may be emptied at any later call.
    wxBitmap GetStyledText(const std::wstring& text, int style, int maxWidth);
    // The font GetStyledText draws text in at maxWidth.
    wxFont FitStyledFont(const std::wstring& text, int maxWidth) const;

private:
    void MakeKeyCaps();
    wxBitmap DrawStyledText(wxString text, const wxFont& font, const wxColour& colour,
                            const wxColour& background, int maxWidth) const;

    std::map<std::wstring, std::unique_ptr<wxBitmap>> m_bitmaps;
    std::array<std::optional<wxCursor>, kCursorSlots> m_cursors;
    std::array<std::optional<wxColour>, kColourSlots> m_colours;
    tarn::P<IArtProvider> m_artProvider;
    std::map<std::wstring, wxBitmap> m_textBitmaps;
};

// The process-wide skin manager; its art folder is set at start-up.
tarn::P<CSkinManager> GetSkinManager();

}  // namespace graphics
