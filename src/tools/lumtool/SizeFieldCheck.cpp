#include "SizeFieldCheck.h"

#include <cstdint>
#include <string>

#include "graphics/XmlValues.h"
#include "tarn/Text.h"

namespace lumtool {

namespace {

// The chunk the music reads its bytes from, found as the loader finds it.
const wxXmlNode* MusicChunk(const wxXmlDocument& document) {
    const wxXmlNode* root = document.GetRoot();
    const wxXmlNode* music = root ? graphics::xml::FindChild(*root, "music") : nullptr;
    const wxXmlNode* buffer = music ? graphics::xml::FindChild(*music, "buffer") : nullptr;
    return buffer ? graphics::xml::FindChild(*buffer, "chunk") : nullptr;
}

}  // namespace

std::vector<SFinding> CheckSizeFields(const wxXmlDocument& document,
                                      graphics::CCatalogue& catalogue) {
    std::vector<SFinding> findings;
    const wxXmlNode* chunk = MusicChunk(document);
    if (!chunk) return findings;
    std::int64_t declared = 0;
    graphics::xml::ReadInt64(*chunk, "size", declared);
    const std::wstring name = chunk->GetAttribute("name").ToStdWstring();
    if (declared < 1 || name.empty()) return findings;
    const std::int64_t stored = catalogue.GetEntrySize(name);
    if (stored < 0 || stored == declared) return findings;
    const std::string held = std::to_string(stored);
    findings.push_back({ESeverity::Error, "music: the size field says " + std::to_string(declared) +
                                              " bytes, but '" + tarn::ToUtf8(name) + "' holds " +
                                              held + "; write size=\"" + held + "\""});
    return findings;
}

}  // namespace lumtool
