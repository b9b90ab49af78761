// Loads a product from arbitrary content-file bytes with the player's loader. Reading errors
// of the loader (tarn::CException) are expected results; a crash, a leak, a hang or unbounded
// memory is a fault. The loader makes bitmaps and fonts, so run it on a display (xvfb-run).

#include <sys/mman.h>
#include <unistd.h>
#include <wx/app.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/log.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "graphics/GraphicImage.h"
#include "graphics/PictureHandlers.h"
#include "lum/data/ElementFactories.h"
#include "lum/data/Product.h"
#include "tarn/Exception.h"

namespace {

// The input lives in an anonymous in-memory file; the loader opens it by its /proc path like
// any content file.
int g_file = -1;
wxString g_path;

bool WriteInput(const std::uint8_t* data, std::size_t size) {
    if (::ftruncate(g_file, 0) != 0) return false;
    std::size_t done = 0;
    while (done < size) {
        const ssize_t wrote = ::pwrite(g_file, data + done, size - done, static_cast<off_t>(done));
        if (wrote <= 0) return false;
        done += static_cast<std::size_t>(wrote);
    }
    return true;
}

// Touches what the player reads after loading, so that lazily damaged state shows up here.
void Inspect(const lum::data::CProduct& product) {
    for (std::size_t i = 0; i < product.GetPageCount(); ++i) {
        const auto page = product.GetPage(i);
        const auto document = page->GetDocument();
        for (std::size_t j = 0; j < document->GetCount(); ++j) {
            const auto element = document->GetAt(j);
            (void)element->GetName();
            // Pictures are decoded from the open content when first shown.
            if (const auto* image = dynamic_cast<const graphics::CGraphicImage*>(element.Get())) {
                (void)image->GetBitmap();
            }
        }
        (void)page->GetDisplayTitle();
    }
    (void)product.Translate(L"id", L"de-de", L"default");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    wxApp::SetInstance(new wxApp());
    if (!wxEntryStart(*argc, *argv)) {
        std::fprintf(stderr,
                     "product_load_fuzzer: the toolkit could not start; run it under "
                     "xvfb-run\n");
        std::exit(1);
    }
    delete wxLog::SetActiveTarget(new wxLogStderr());
    wxLog::EnableLogging(false);  // damaged pictures would fill the terminal
    graphics::InstallPictureHandlers();
    // Registered for the whole run, and unregistered at exit like any static object (a pointer
    // to one made with new may be optimised away, and the object then counts as a leak).
    static const lum::data::CElementFactories factories;
    g_file = ::memfd_create("content.lum", 0);
    if (g_file < 0) {
        std::perror("memfd_create");
        std::exit(1);
    }
    g_path = wxString::Format("/proc/self/fd/%d", g_file);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!WriteInput(data, size)) std::abort();
    auto product = tarn::New<lum::data::CProduct>();
    try {
        product->Load(wxFileName(g_path));
    } catch (const tarn::CException&) {
        return 0;  // a reading error the loader reports on purpose
    }
    Inspect(*product);
    return 0;
}
