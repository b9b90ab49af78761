#include "RenderCommand.h"

#include <wx/frame.h>
#include <wx/image.h>

#include <memory>
#include <optional>
#include <string>

#include "OptionParser.h"
#include "graphics/PictureHandlers.h"
#include "graphics/components/FocusOrder.h"
#include "graphics/components/ViewControl.h"
#include "lum/History.h"
#include "lum/MenuView.h"
#include "lum/MusicPainter.h"
#include "lum/ProductStringLocalizer.h"
#include "lum/data/ElementFactories.h"
#include "lum/data/Product.h"
#include "tarn/Exception.h"
#include "tarn/StringLocalizer.h"
#include "tarn/Text.h"

namespace lumtool {

namespace {

struct CRenderOptions {
    std::string content;
    std::wstring page;
    std::wstring language = L"en-us";
    std::optional<std::wstring> hover;
    std::optional<std::wstring> pressed;
    std::optional<std::wstring> focus;
    double scale = 1;
    std::string output;
};

std::wstring Wide(const std::string& text) { return tarn::FromUtf8(text); }
std::string Narrow(const std::wstring& text) { return tarn::ToUtf8(text); }

double Scale(const std::string& text) {
    double scale = 0;
    // A point, whatever the locale says.
    if (!wxString::FromUTF8(text).ToCDouble(&scale) || !(scale >= 0.25 && scale <= 8)) {
        throw CUsageError("--scale needs a number from 0.25 to 8, not '" + text + "'");
    }
    return scale;
}

CRenderOptions ParseArguments(const std::vector<std::string>& arguments) {
    CRenderOptions options;
    const auto wide = [](std::wstring& target) {
        return [&target](const std::string& text) { target = Wide(text); };
    };
    const auto wideOptional = [](std::optional<std::wstring>& target) {
        return [&target](const std::string& text) { target = Wide(text); };
    };
    COptionParser("render")
        .Positional("CONTENT", options.content)
        .Value({"--page"}, "NAME", wide(options.page))
        .Value({"--language"}, "CODE", wide(options.language))
        .Value({"--hover"}, "ELEMENT", wideOptional(options.hover))
        .Value({"--pressed"}, "ELEMENT", wideOptional(options.pressed))
        .Value({"--focus"}, "BUTTON", wideOptional(options.focus))
        .Value({"--scale"}, "N",
               [&options](const std::string& text) { options.scale = Scale(text); })
        .Value({"-o", "--output"}, "FILE.png", options.output, kValueRequired | kValueNotEmpty)
        .Parse(arguments);
    return options;
}

tarn::P<lum::data::CProduct> LoadProduct(const std::string& content) {
    auto product = tarn::New<lum::data::CProduct>();
    try {
        product->Load(wxFileName(wxString::FromUTF8(content)));
    } catch (const tarn::CException& error) {
        throw CUsageError("'" + content + "' cannot be read: " + Narrow(error.GetDescription()));
    }
    if (product->GetPageCount() == 0) {
        throw CUsageError("'" + content + "' holds no menu pages (" +
                          Narrow(product->GetLoadProblem()) + ")");
    }
    return product;
}

tarn::P<lum::data::CPage> FindPage(const lum::data::CProduct& product, const std::wstring& name) {
    if (name.empty()) return product.GetPage(0);
    if (const tarn::P<lum::data::CPage> page = product.FindPage(name)) return page;
    throw CUsageError("no page named '" + Narrow(name) + "'");
}

tarn::P<graphics::CGraphicElement> FindElement(const graphics::CGraphicDocument& document,
                                               const std::wstring& name) {
    for (std::size_t i = 0; i < document.GetCount(); ++i) {
        if (document.GetAt(i)->GetName() == name) return document.GetAt(i);
    }
    for (std::size_t i = 0; i < document.GetCount(); ++i) {
        if (tarn::EqualsNoCase(document.GetAt(i)->GetName(), name)) return document.GetAt(i);
    }
    throw CUsageError("the page has no element named '" + Narrow(name) + "'");
}

// The breadcrumb the player shows after going from the main page to this one.
std::wstring BreadcrumbFor(const lum::data::CProduct& product, const tarn::P<lum::data::CPage>& page) {
    const auto history = tarn::New<lum::CHistory>();
    history->Push(product.GetPage(0));
    if (page != product.GetPage(0)) history->Push(page);
    return history->GetBreadcrumb();
}

// The product answers the texts nobody else translates, for as long as this lives.
class CProductTexts {
public:
    explicit CProductTexts(const tarn::P<tarn::IStringLocalizer>& localizer) {
        tarn::GetGlobalLocalizer()->SetFallback(localizer);
    }
    ~CProductTexts() { tarn::GetGlobalLocalizer()->SetFallback({}); }
    CProductTexts(const CProductTexts&) = delete;
    CProductTexts& operator=(const CProductTexts&) = delete;
};

// A frame that is never shown, holding the view control; destroyed with this object.
class CHiddenView {
public:
    CHiddenView(wxSize size, double scale) {
        m_frame = new wxFrame(nullptr, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize,
                              wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX | wxCLIP_CHILDREN);
        m_view = new graphics::components::CViewControl(m_frame, wxID_ANY, wxDefaultPosition,
                                                        wxDefaultSize, wxBORDER_NONE);
        // Without a window system to create windows in (Wine with no display, say) the view
        // would be half made; say so rather than paint with it.
        if (!m_frame->GetHandle() || !m_view->GetHandle()) {
            m_frame->Destroy();
            throw CUsageError("render: no window can be made to paint in (is there a display?)");
        }
        lum::ConfigureMenuView(*m_view);
        // As the player: the page fills the menu's client area, at the given device scale
        // (not the desktop's).
        m_view->SetDeviceScale(scale);
        m_view->SetFitCanvas(size);
        m_frame->SetClientSize(size);
        m_view->SetSize(size);
    }
    ~CHiddenView() { m_frame->Destroy(); }
    CHiddenView(const CHiddenView&) = delete;
    CHiddenView& operator=(const CHiddenView&) = delete;

    graphics::components::CViewControl& View() { return *m_view; }

private:
    wxFrame* m_frame;
    graphics::components::CViewControl* m_view;
};

}  // namespace

std::string CRenderCommand::Help() const {
    return "usage: lumtool render CONTENT [--page NAME] [--language CODE] [--hover ELEMENT]\n"
           "                      [--pressed ELEMENT] [--focus BUTTON] [--scale N] -o FILE.png\n"
           "\n"
           "Paints one page of CONTENT (a content file or an unpacked folder holding\n"
           "product.xml and its files) to a PNG exactly as the player shows it: at the\n"
           "product's client size, with the product's texts in the language (default en-us),\n"
           "the breadcrumb of a visit from the main page, the music icon when the menu plays\n"
           "music, and the named element (by element name) hovered or pressed. --focus shows\n"
           "the keyboard focus on the button (its ring and hover look) as Tab leaves it.\n"
           "--scale paints at N device pixels per pixel (default 1), as the player does on a\n"
           "desktop with that scale factor (GDK_SCALE=N): the picture is N times as large, with\n"
           "texts laid out at that size. NAME defaults to the main page. Needs a display;\n"
           "without one it uses xvfb-run when installed.\n"
           "Exit status: 0 written, 2 bad arguments, unreadable content, unknown page or "
           "element.\n";
}

int CRenderCommand::Run(const std::vector<std::string>& arguments) {
    const CRenderOptions options = ParseArguments(arguments);
    graphics::InstallPictureHandlers();
    const lum::data::CElementFactories factories;
    const tarn::P<lum::data::CProduct> product = LoadProduct(options.content);

    const auto localizer = tarn::New<lum::CProductStringLocalizer>(product, options.language);
    const CProductTexts productTexts(localizer);
    product->SetLocalizer(localizer);

    const tarn::P<lum::data::CPage> page = FindPage(*product, options.page);
    const tarn::P<graphics::CGraphicDocument> document = page->GetDocument();
    const tarn::P<graphics::CGraphicElement> hover =
        options.hover ? FindElement(*document, *options.hover) : tarn::P<graphics::CGraphicElement>();
    const tarn::P<graphics::CGraphicElement> pressed =
        options.pressed ? FindElement(*document, *options.pressed) : tarn::P<graphics::CGraphicElement>();
    const tarn::P<graphics::CGraphicElement> focus = options.focus
                                                         ? FindElement(*document, *options.focus)
                                                         : tarn::P<graphics::CGraphicElement>();
    if (focus && !graphics::components::CFocusOrder::TakesFocus(*focus)) {
        throw CUsageError("'" + Narrow(*options.focus) + "' is not a button that takes the focus");
    }

    // Truncated toward zero, as the player sizes its window.
    const wxSize size = lum::MenuClientSize(*product);
    if (size.x <= 0 || size.y <= 0) throw CUsageError("the product's client size is empty");

    if (size.x * options.scale > lum::kMaxClientSide ||
        size.y * options.scale > lum::kMaxClientSide) {
        throw CUsageError("at that scale the picture would have more than " +
                          std::to_string(lum::kMaxClientSide) + " pixels a side");
    }
    CHiddenView hidden(size, options.scale);
    auto& view = hidden.View();
    view.SetDocument(document);
    page->Activate();
    lum::ApplyBreadcrumb(*document, BreadcrumbFor(*product, page));
    const tarn::P<lum::data::CMusic> music = product->GetMusic();
    if (music && !music->IsEmpty() && music->GetFormat() == L"wav") {
        const auto painter = tarn::New<lum::CMusicPainter>();
        painter->SetPlaying(true);
        view.SetPainter(painter);
    }
    // As the mouse would do it: press on one button, then move onto the hovered one.
    if (pressed) {
        view.TrackHover(pressed, pressed->GetCenter());
        if (!view.ShowPressed(pressed)) {
            page->Deactivate();
            throw CUsageError("'" + Narrow(*options.pressed) + "' is not a button");
        }
    }
    if (hover) view.TrackHover(hover, hover->GetCenter());
    // As Tab leaves it: the ring, and the button's hover look, hint and tooltip.
    if (focus) view.SetFocused(focus);
    wxImage picture = view.RenderBitmap().ConvertToImage();
    // A page is opaque. Some systems' bitmaps carry an alpha channel that painting never set;
    // kept, it would make the picture transparent.
    if (picture.HasAlpha()) picture.ClearAlpha();
    page->Deactivate();
    if (!picture.SaveFile(wxString::FromUTF8(options.output), wxBITMAP_TYPE_PNG)) {
        throw CUsageError("cannot write '" + options.output + "'");
    }
    m_out << "wrote " << options.output << " (" << picture.GetWidth() << " x "
          << picture.GetHeight() << ", page " << Narrow(page->GetName()) << ")\n";
    return 0;
}

}  // namespace lumtool
