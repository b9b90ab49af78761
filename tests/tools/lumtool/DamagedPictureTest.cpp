// The damaged-picture suite: the pictures make_damaged_pictures.py writes, a group at a time,
// are the attachments of a page (each twice as an image, once inside a rich text) that goes
// through "lumtool check" and "lumtool render", both of the sanitizer build and of an ordinary
// Release build, where a fault inside the toolkit's libraries shows as a crash. When a group
// shows a fault, each of its pictures alone on a page names the culprit. The Release lumtool
// comes from LUM_RELEASE_LUMTOOL (scripts/test.sh builds it).

#include <gtest/gtest.h>
#include <wx/image.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "ContentFile.h"
#include "TempFolder.h"
#include "ToolRun.h"
#include "graphics/PictureHandlers.h"

#ifndef LUM_MAKE_DAMAGED_PICTURES
#error "LUM_MAKE_DAMAGED_PICTURES must name make_damaged_pictures.py"
#endif

namespace {

namespace fs = std::filesystem;

constexpr int kWidth = 64;
constexpr int kHeight = 48;

// The rich-text form of a picture type: the toolkit's bitmap type number.
int BitmapType(const std::string& extension) {
    static const std::map<std::string, int> types{{".bmp", wxBITMAP_TYPE_BMP},
                                                  {".ico", wxBITMAP_TYPE_ICO},
                                                  {".gif", wxBITMAP_TYPE_GIF},
                                                  {".png", wxBITMAP_TYPE_PNG},
                                                  {".jpg", wxBITMAP_TYPE_JPEG}};
    return types.at(extension);
}

std::string Hex(const std::string& bytes) {
    static const char* digits = "0123456789ABCDEF";
    std::string text;
    for (const unsigned char c : bytes) {
        text += digits[c >> 4];
        text += digits[c & 15];
    }
    return text;
}

std::string RichText(const std::string& picture, const std::string& extension) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<richtext version=\"1.0.0.0\" xmlns=\"http://www.wxwidgets.org\"><paragraphlayout>"
           "<paragraph><image imagetype=\"" +
           std::to_string(BitmapType(extension)) + "\"><data>" + Hex(picture) +
           "</data></image></paragraph></paragraphlayout></richtext>\n";
}

struct SPicture {
    std::string entry;  // its name in the content file
    std::string bytes;
    std::string extension;
};

// One page showing every picture twice as an image and once inside a rich text.
std::map<std::string, std::string> Content(const std::vector<SPicture>& pictures) {
    std::map<std::string, std::string> entries;
    std::string elements;
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const SPicture& picture = pictures[i];
        const std::string text = "embedded-" + std::to_string(i) + ".xml";
        entries[picture.entry] = picture.bytes;
        entries[text] = RichText(picture.bytes, picture.extension);
        for (const char* name : {"image", "again"}) {
            elements += "<image name=\"" + std::string(name) + std::to_string(i) +
                        "\"><center x=\"16\" y=\"24\"/><size width=\"32\" height=\"48\"/>"
                        "<attachment-bitmap name=\"" +
                        picture.entry + "\"/></image>";
        }
        elements += "<text name=\"text" + std::to_string(i) +
                    "\"><center x=\"48\" y=\"24\"/><size width=\"32\" height=\"48\"/>"
                    "<attachment-richtextbuffer name=\"" +
                    text + "\"/></text>";
    }
    entries["product.xml"] =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<product title=\"Damaged\"><pages>"
        "<page name=\"main\"><document version=\"1\">"
        "<content-box x=\"0\" y=\"0\" width=\"64\" height=\"48\"/>" +
        elements + "</document></page></pages><clientsize width=\"64\" height=\"48\"/></product>";
    return entries;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

// What goes wrong in one run of a tool, or nothing.
std::string Fault(const lumtooltest::CRun& run, bool statusOneAllowed) {
    if (run.status != 0 && !(statusOneAllowed && run.status == 1)) {
        return "exit status " + std::to_string(run.status) + "\n" + run.err;
    }
    // The sanitizers' reports, and glibc's when it finds its heap damaged.
    for (const char* report :
         {"Sanitizer", "runtime error:", "malloc():", "free():", "malloc_consolidate():",
          "munmap_chunk():", "corrupted size", "corrupted double-linked", "double free"}) {
        if (run.err.find(report) != std::string::npos) return "a fault report\n" + run.err;
    }
    return {};
}

class DamagedPictureTest : public testing::TestWithParam<std::string> {
protected:
    static void SetUpTestSuite() {
        s_pictures = new testsupport::TempFolder;
        const std::string command = "python3 '" + std::string(LUM_MAKE_DAMAGED_PICTURES) + "' '" +
                                    s_pictures->Path().string() + "'";
        s_made = std::system(command.c_str()) == 0;
    }
    static void TearDownTestSuite() {
        delete s_pictures;
        s_pictures = nullptr;
    }
    void SetUp() override { graphics::InstallPictureHandlers(); }

    // Both lumtools: the one of this build, and the Release one when it is there.
    static std::vector<std::string> Tools() {
        std::vector<std::string> tools{LUMTOOL_PATH};
        const char* release = std::getenv("LUM_RELEASE_LUMTOOL");
        if (release && *release && fs::exists(release)) tools.push_back(release);
        return tools;
    }

    // Checks and renders the pictures with one lumtool; the faults found, or nothing.
    std::string Try(const std::string& tool, const std::vector<SPicture>& pictures) {
        const fs::path content = lumtest::WriteArchive(m_folder, "content.lum", Content(pictures));
        std::string faults;
        const auto check =
            lumtooltest::RunProgram(tool, "check '" + content.string() + "'", m_folder);
        if (const std::string fault = Fault(check, true); !fault.empty()) {
            faults += "check: " + fault + "\n";
        }
        const fs::path page = m_folder / "page.png";
        fs::remove(page);
        const auto render = lumtooltest::RunProgram(
            tool, "render '" + content.string() + "' -o '" + page.string() + "'", m_folder);
        if (const std::string fault = Fault(render, false); !fault.empty()) {
            faults += "render: " + fault + "\n";
        } else {
            const wxImage shown(page.string(), wxBITMAP_TYPE_PNG);
            if (!shown.IsOk() || shown.GetWidth() != kWidth || shown.GetHeight() != kHeight) {
                faults += "render wrote no page of 64 x 48 pixels\n";
            }
        }
        if (!faults.empty()) return faults;
        // A picture that does not decode is logged once, however often the page shows it.
        for (const SPicture& picture : pictures) {
            const bool missing =
                check.out.find("'" + picture.entry + "' does not decode") != std::string::npos;
            const std::string warning = "Picture '" + picture.entry + "'";
            for (const auto* run : {&check, &render}) {
                if (Count(run->err, warning) != (missing ? 1u : 0u)) {
                    faults += picture.entry + " is not warned about " +
                              (missing ? "once" : "never") + ":\n" + check.out + run->err;
                }
            }
        }
        return faults;
    }

    // All pictures of a group on one page; when that shows a fault, each alone, to name it.
    std::string TryGroup(const std::string& tool, const std::vector<SPicture>& pictures) {
        const std::string faults = Try(tool, pictures);
        if (faults.empty()) return {};
        std::string named;
        for (const SPicture& picture : pictures) {
            const std::string own = Try(tool, {picture});
            if (!own.empty()) named += "--- " + picture.entry + ":\n" + own;
        }
        return named.empty() ? "--- together:\n" + faults : named;
    }

    static testsupport::TempFolder* s_pictures;
    static bool s_made;
    testsupport::TempFolder m_folder;
};

testsupport::TempFolder* DamagedPictureTest::s_pictures = nullptr;
bool DamagedPictureTest::s_made = false;

TEST_P(DamagedPictureTest, NeitherCheckNorRenderCrashesOrReportsAFault) {
    ASSERT_TRUE(s_made) << "make_damaged_pictures.py failed";
    const std::vector<std::string> tools = Tools();
    if (tools.size() < 2) {
        ADD_FAILURE() << "\n*** The Release lumtool is missing (LUM_RELEASE_LUMTOOL='"
                      << (std::getenv("LUM_RELEASE_LUMTOOL") ? std::getenv("LUM_RELEASE_LUMTOOL")
                                                             : "")
                      << "').\n*** Faults inside the toolkit's libraries show only there: run "
                         "scripts/test.sh, which builds it.\n";
    }
    std::vector<SPicture> pictures;
    for (const auto& file : fs::directory_iterator(s_pictures->Path() / GetParam())) {
        pictures.push_back({"pictures/" + file.path().filename().string(), ReadFile(file.path()),
                            file.path().extension().string()});
    }
    std::sort(pictures.begin(), pictures.end(),
              [](const SPicture& a, const SPicture& b) { return a.entry < b.entry; });
    ASSERT_GE(pictures.size(), 5u);
    for (const std::string& tool : tools) EXPECT_EQ(TryGroup(tool, pictures), "") << tool;
}

INSTANTIATE_TEST_SUITE_P(Groups, DamagedPictureTest,
                         testing::Values("bmp-runs", "bmp-headers", "ico", "truncated", "sizes"),
                         [](const testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

}  // namespace
