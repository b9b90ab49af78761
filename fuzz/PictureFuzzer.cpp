// Hands arbitrary bytes to the player's picture readers. The first byte picks the path: a
// content file's picture attachment with the extension .png, .jpg, .bmp or .ico (the
// catalogue's own reader), a GIF file read as an animation, or the installed image handlers
// guessing the type (as rich-text pictures and skin art files are read). A picture that does
// not decode is an expected result; a crash, a leak, a hang or unbounded memory is a fault.
// Bitmaps need a display (xvfb-run).

#include <wx/app.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/mstream.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "graphics/PictureHandlers.h"
#include "graphics/PictureReader.h"
#include "graphics/ZipCatalogue.h"
#include "graphics/animation/GIFAnimation.h"

namespace {

void ReadAttachment(const std::wstring& name, const std::uint8_t* data, std::size_t size) {
    graphics::CPictureReader reader;
    const wxBitmapType type = graphics::CZipCatalogue::BitmapTypeOf(name);
    if (const auto bitmap = reader.Read(name, type, data, size)) (void)bitmap->GetWidth();
}

void ReadAnimation(const std::uint8_t* data, std::size_t size) {
    wxMemoryInputStream stream(data, size);
    const auto animation = tarn::New<graphics::animation::CGIFAnimation>();
    if (!animation->Load(stream)) return;
    for (std::size_t i = 0; i < animation->GetFrameCount(); ++i) {
        (void)animation->GetFrame(i).GetWidth();
        (void)animation->GetFrameDelay(i);
    }
}

void ReadAnyType(const std::uint8_t* data, std::size_t size) {
    wxMemoryInputStream stream(data, size);
    wxImage image;
    if (image.LoadFile(stream, wxBITMAP_TYPE_ANY)) (void)image.GetData();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    wxApp::SetInstance(new wxApp());
    if (!wxEntryStart(*argc, *argv)) {
        std::fprintf(stderr,
                     "picture_fuzzer: the toolkit could not start; run it under xvfb-run\n");
        std::exit(1);
    }
    delete wxLog::SetActiveTarget(new wxLogStderr());
    wxLog::EnableLogging(false);  // every damaged picture would be one line
    graphics::InstallPictureHandlers();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::uint8_t* picture = data + 1;
    const std::size_t length = size - 1;
    switch (data[0] % 6) {
        case 0:
            ReadAttachment(L"picture.png", picture, length);
            break;
        case 1:
            ReadAttachment(L"picture.jpg", picture, length);
            break;
        case 2:
            ReadAttachment(L"picture.bmp", picture, length);
            break;
        case 3:
            ReadAttachment(L"picture.ico", picture, length);
            break;
        case 4:
            ReadAnimation(picture, length);
            break;
        default:
            ReadAnyType(picture, length);
            break;
    }
    return 0;
}
