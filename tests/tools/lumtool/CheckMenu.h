#pragma once
// Menus for "lumtool check" made in a test: product.xml and rich texts written as text, the
// check run on the folder, and the lines of its report picked out by what they say.

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "ToolRun.h"

namespace checkmenu {

inline std::string Product(const std::string& pages, const std::string& extra = "") {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<product title=\"Test\">" + extra +
           "<pages>" + pages + "</pages></product>";
}

// A page; contentBox is the document's content-box element, or nothing.
inline std::string Page(
    const std::string& name, const std::string& elements,
    const std::string& contentBox = "<content-box x=\"0\" y=\"0\" width=\"400\" height=\"300\"/>") {
    return "<page name=\"" + name + "\"><document version=\"1\">" + contentBox + elements +
           "</document></page>";
}

inline std::string ClientSize(int width, int height) {
    return "<clientsize width=\"" + std::to_string(width) + "\" height=\"" +
           std::to_string(height) + "\"/>";
}

inline std::string Translation(const std::string& id, const std::string& language,
                               const std::string& text) {
    return "<translation id=\"" + id + "\" language=\"" + language + "\" translation=\"" + text +
           "\"/>";
}

inline std::string Geometry(double x, double y, double width, double height) {
    std::ostringstream xml;
    xml << "<center x=\"" << x << "\" y=\"" << y << "\"/><size width=\"" << width << "\" height=\""
        << height << "\"/>";
    return xml.str();
}

// A text element showing the rich text entry; attributes such as text-id="..." go as written.
inline std::string Text(const std::string& name, const std::string& geometry,
                        const std::string& entry, const std::string& attributes = "") {
    return "<text name=\"" + name + "\" " + attributes + ">" + geometry +
           "<attachment-richtextbuffer name=\"" + entry + "\"/></text>";
}

// A rich text file: each paragraph a list of runs, each run its words and its attributes.
using Run = std::pair<std::string, std::string>;
inline std::string RichText(const std::vector<std::vector<Run>>& paragraphs) {
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<richtext version=\"1.0.0.0\" "
        "xmlns=\"http://www.wxwidgets.org\"><paragraphlayout fontpointsize=\"12\" "
        "fontface=\"DejaVu Sans\">";
    for (const auto& runs : paragraphs) {
        xml += "<paragraph alignment=\"1\">";
        for (const auto& [words, attributes] : runs) {
            xml += "<text " + attributes + ">" + words + "</text>";
        }
        xml += "</paragraph>";
    }
    return xml + "</paragraphlayout></richtext>\n";
}

inline std::string OneRun(const std::string& words) { return RichText({{{words, ""}}}); }

// An action button without a skin (the plain look) that quits.
inline std::string PlainButton(const std::string& name, const std::string& geometry,
                               const std::string& attributes = "") {
    return "<state-button type-name=\"lum-state-button-action\" name=\"" + name + "\" " +
           attributes + ">" + geometry + "<action type=\"quit-program\"/></state-button>";
}

// Little-endian bytes of a number.
inline std::string Le(std::uint32_t value, int bytes) {
    std::string text;
    for (int i = 0; i < bytes; ++i) text += static_cast<char>((value >> (8 * i)) & 0xff);
    return text;
}

// An 8-bit mono PCM WAV file of that many samples (44 bytes of header before them).
inline std::string Wav(std::uint32_t samples) {
    return "RIFF" + Le(36 + samples, 4) + "WAVE" + "fmt " + Le(16, 4) + Le(1, 2) + Le(1, 2) +
           Le(8000, 4) + Le(8000, 4) + Le(1, 2) + Le(8, 2) + "data" + Le(samples, 4) +
           std::string(samples, '\x80');
}

// The lines of the report that begin with prefix ("error: ", "warning: ").
inline std::vector<std::string> Lines(const std::string& out, const std::string& prefix) {
    std::vector<std::string> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) {
        if (line.compare(0, prefix.size(), prefix) == 0)
            lines.push_back(line.substr(prefix.size()));
    }
    return lines;
}

// The finding lines (of either severity) about the element whose place starts with place
// ("page 'main', text 'intro' at "): what each says after the place.
inline std::vector<std::string> About(const std::string& out, const std::string& place) {
    std::vector<std::string> said;
    for (const std::string prefix : {"error: ", "warning: "}) {
        for (const std::string& line : Lines(out, prefix)) {
            if (line.compare(0, place.size(), place) != 0) continue;
            const std::size_t colon = line.find("): ", place.size());
            said.push_back(colon == std::string::npos ? line : line.substr(colon + 3));
        }
    }
    return said;
}

inline bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Writes the files into folder/name and checks that folder.
inline lumtooltest::CRun CheckFolder(
    const testsupport::TempFolder& temp, const std::string& name,
    const std::vector<std::pair<std::string, std::string>>& files) {
    for (const auto& [path, bytes] : files) temp.Write(name + "/" + path, bytes);
    return lumtooltest::RunTool("check '" + (temp / name).string() + "'", temp);
}

}  // namespace checkmenu
