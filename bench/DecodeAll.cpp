// Decodes every picture of a content file once, one after the other, the way the loader
// decodes an attachment, and prints "decode_ms N": the floor that loading and checking a
// content file are measured against.

#include <wx/image.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/mstream.h>
#include <wx/wfstream.h>
#include <wx/zipstrm.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "graphics/ZipCatalogue.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: decode_all CONTENT\n");
        return 2;
    }
    wxInitializer toolkit(argc, argv);
    wxLog::EnableLogging(false);
    wxInitAllImageHandlers();
    wxFFileInputStream file(argv[1]);
    wxZipInputStream zip(file);
    // Read first, decode afterwards: only the decoding is timed.
    std::vector<std::pair<std::vector<char>, wxBitmapType>> pictures;
    while (std::unique_ptr<wxZipEntry> entry{zip.GetNextEntry()}) {
        const wxBitmapType type = graphics::CZipCatalogue::BitmapTypeOf(entry->GetName());
        if (type == wxBITMAP_TYPE_INVALID) continue;
        std::vector<char> bytes;
        char chunk[65536];
        while (zip.Read(chunk, sizeof chunk).LastRead() > 0) {
            bytes.insert(bytes.end(), chunk, chunk + zip.LastRead());
        }
        pictures.emplace_back(std::move(bytes), type);
    }
    const auto start = std::chrono::steady_clock::now();
    int decoded = 0;
    for (const auto& [bytes, type] : pictures) {
        wxMemoryInputStream in(bytes.data(), bytes.size());
        wxImage image;
        if (image.LoadFile(in, type)) ++decoded;
    }
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("pictures %d\ndecoded %d\ndecode_ms %.1f\n", static_cast<int>(pictures.size()),
                decoded, ms);
    return 0;
}
