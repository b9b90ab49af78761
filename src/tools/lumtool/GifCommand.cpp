#include "GifCommand.h"

#include <wx/image.h>
#include <wx/log.h>
#include <wx/mstream.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <iomanip>
#include <optional>
#include <sstream>
#include <vector>

#include "DescriptionEditor.h"
#include "InputFile.h"
#include "OptionParser.h"
#include "OutputFile.h"
#include "graphics/PictureDecoding.h"
#include "graphics/PictureHandlers.h"
#include "tarn/win32/PictureDecoder.h"

namespace lumtool {

namespace fs = std::filesystem;

namespace {

// The player's own limits for a GIF animation (CGIFAnimation), so that what is written here
// also plays there.
constexpr std::int64_t kMaxCanvasPixels = std::int64_t{16} << 20;
constexpr std::size_t kMaxFrames = 10000;                         // CFrameAnimation's too
constexpr std::int64_t kMaxTotalPixels = std::int64_t{64} << 20;  // all frames together

// True when the GIF asks to be repeated (a NETSCAPE2.0 or ANIMEXTS1.0 looping extension);
// without one, a GIF plays once.
bool Loops(const std::string& text) {
    return text.find("\x21\xff\x0bNETSCAPE2.0") != std::string::npos ||
           text.find(
               "\x21\xff\x0b"
               "ANIMEXTS1.0") != std::string::npos;
}

// The folder holding product.xml at or above folder, or empty.
fs::path MenuFolderOf(const fs::path& folder) {
    std::error_code error;
    fs::path at = fs::absolute(folder, error).lexically_normal();
    while (!at.empty()) {
        if (fs::is_regular_file(at / "product.xml", error)) return at;
        if (at == at.parent_path()) break;
        at = at.parent_path();
    }
    return {};
}

}  // namespace

std::string CGifCommand::Help() const {
    return "usage: lumtool gif FILE.gif -o FOLDER [--name NAME] [--prefix PATH]\n"
           "\n"
           "Decodes the animated GIF (with the player's own, safe decoder) into its frames, each\n"
           "composed as the GIF shows it (the disposal of the frames before applied), and\n"
           "writes them as PNG files NAME-000.png, NAME-001.png, ... into FOLDER (NAME defaults\n"
           "to the GIF's name). Then prints the animation element, with each frame's delay in\n"
           "milliseconds, ready to paste into an animation image of product.xml. Its entry\n"
           "names are the frames' paths below the menu folder that holds FOLDER (the nearest\n"
           "folder with a product.xml), or PATH/NAME-000.png with --prefix. The animation\n"
           "loops when the GIF does. A frame file is replaced as a whole, never written\n"
           "through a link, and never over the GIF itself.\n";
}

int CGifCommand::Run(const std::vector<std::string>& arguments) {
    std::string input;
    std::string output;
    std::string name;
    std::optional<std::string> givenPrefix;
    COptionParser("gif")
        .Positional("FILE.gif", input)
        .Value({"-o", "--output"}, "FOLDER", output, kValueRequired)
        .Value({"--name"}, "NAME", name)
        .Value({"--prefix"}, "PATH", givenPrefix)
        .Parse(arguments);
    if (output.empty()) throw CUsageError("gif: name the folder for the frames with -o FOLDER");
    std::string prefix = givenPrefix.value_or("");
    if (name.empty()) name = fs::path(input).stem().string();
    if (name.empty() || name.find('/') != std::string::npos) {
        throw CUsageError("gif: '" + name + "' cannot name the frame files");
    }

    const std::string text = ReadInputFile(input, tarn::win32::kMaxPictureBytes);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    tarn::win32::SAnimationLimits limits;
    limits.picture.maxPixels = kMaxCanvasPixels;
    limits.maxFrames = kMaxFrames;
    limits.maxTotalPixels = kMaxTotalPixels;
    std::vector<tarn::win32::SAnimationFrame> frames;
    std::string error;
    if (!tarn::win32::DecodeAnimation(bytes, text.size(), limits, frames, error)) {
        throw CUsageError("'" + input + "' does not decode as a GIF animation: it " + error);
    }

    std::error_code fsError;
    fs::create_directories(output, fsError);
    if (!fs::is_directory(output, fsError))
        throw CUsageError("cannot make the folder '" + output + "'");
    if (!givenPrefix) {
        const fs::path menu = MenuFolderOf(output);
        prefix =
            menu.empty()
                ? fs::path(output).lexically_normal().generic_string()
                : fs::absolute(output).lexically_normal().lexically_relative(menu).generic_string();
    }
    while (!prefix.empty() && prefix.back() == '/') prefix.pop_back();
    if (prefix == ".") prefix.clear();

    graphics::InstallPictureHandlers();
    const int digits = std::max<int>(3, static_cast<int>(std::to_string(frames.size() - 1).size()));
    std::vector<std::string> entries;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        std::ostringstream file;
        file << name << "-" << std::setw(digits) << std::setfill('0') << i << ".png";
        const wxImage image = graphics::ToImage(frames[i].pixels);
        const fs::path path = fs::path(output) / file.str();
        // A frame never replaces the GIF, nor writes through a link planted at its name.
        CheckOutput(path, {fs::path(input)}, false);
        wxLogNull quiet;
        wxMemoryOutputStream png;
        if (!image.IsOk() || !image.SaveFile(png, wxBITMAP_TYPE_PNG)) {
            throw CUsageError("cannot write '" + path.string() + "'");
        }
        std::string encoded(static_cast<std::size_t>(png.GetSize()), '\0');
        png.CopyTo(encoded.data(), encoded.size());
        WriteOutput(path, encoded, false);
        entries.push_back(prefix.empty() ? file.str() : prefix + "/" + file.str());
    }

    const auto& first = frames.front().pixels;
    m_out << "<animation type=\"gif\" count=\"" << frames.size() << "\" loop=\""
          << (Loops(text) ? "true" : "false") << "\">\n"
          << "  <size x=\"" << first.width << "\" y=\"" << first.height << "\"/>\n";
    for (std::size_t i = 0; i < frames.size(); ++i) {
        m_out << "  <frame" << i << " delay=\"" << std::max(frames[i].delay, 0)
              << "\"><frame name=\"" << CDescriptionEditor::EscapeAttribute(entries[i]) << "\"/></frame" << i << ">\n";
    }
    m_out << "</animation>\n";
    return 0;
}

}  // namespace lumtool
