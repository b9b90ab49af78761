#include "graphics/ZipCatalogue.h"

#include <gtest/gtest.h>
#include <wx/richtext/richtextbuffer.h>

#include <cstring>
#include <memory>
#include <string>

#include "ArchiveFixture.h"
#include "TestSupport.h"
#include "graphics/SharedBuffer.h"
#include "graphics/ZipArchive.h"
#include "graphics/ZipNameConv.h"
#include "tarn/Exception.h"

namespace {

using graphics::CZipArchive;
using testarchives::ArchiveTest;

std::string ReadEntry(graphics::CZipCatalogue& catalogue, const std::wstring& name) {
    if (!catalogue.OpenEntry(name)) return "<missing>";
    std::string text;
    char buffer[256];
    while (true) {
        catalogue.GetStream().Read(buffer, sizeof buffer);
        const size_t got = catalogue.GetStream().LastRead();
        if (got == 0) break;
        text.append(buffer, got);
    }
    return text;
}

std::string Blob() {
    std::string blob;
    for (int i = 0; i < 3000; ++i) blob.push_back(static_cast<char>((i * 7) % 256));
    return blob;
}

// An attachment node: <element><tag name="..." size="..."/></element>.
std::unique_ptr<wxXmlDocument> Attachment(const std::string& tag, const std::string& name,
                                          const std::string& size = {}) {
    std::string xml = "<element><" + tag + " name=\"" + name + "\"";
    if (!size.empty()) xml += " size=\"" + size + "\"";
    return testsupport::ParseXml(xml + "/></element>");
}

TEST(ZipNameConvTest, DecodesUtf8OrWindows1252) {
    graphics::CZipNameConv conv;
    EXPECT_EQ(wxString("Bild_\xc3\xa4.png", conv), wxString(L"Bild_\u00e4.png"));
    EXPECT_EQ(wxString("Bild_\xe4.png", conv), wxString(L"Bild_\u00e4.png"));
    EXPECT_EQ(wxString("\x80\x81\x9f", conv), wxString(L"\u20ac\u0081\u0178"));
}

class ZipCatalogueTest : public ArchiveTest {};

TEST_F(ZipCatalogueTest, IndexesEveryEntryAndTheLaterDuplicateWins) {
    CZipArchive archive(Path("python.zip"));
    ASSERT_TRUE(archive.IsOk());
    auto& catalogue = archive.GetCatalogue();
    EXPECT_EQ(catalogue.GetEntryCount(), 14u);
    EXPECT_EQ(ReadEntry(catalogue, L"dup.txt"), "second");
    EXPECT_EQ(ReadEntry(catalogue, L"product.xml"), "<product/>");
    // Reopening an earlier entry after a later one works by seeking.
    EXPECT_TRUE(ReadEntry(catalogue, L"data/blob.bin") == Blob());
    EXPECT_EQ(ReadEntry(catalogue, L"product.xml"), "<product/>");
}

TEST_F(ZipCatalogueTest, LookupRules) {
    CZipArchive archive(Path("python.zip"));
    ASSERT_TRUE(archive.IsOk());
    auto& catalogue = archive.GetCatalogue();
    EXPECT_NE(catalogue.FindEntry(L"Case.TXT"), nullptr);
    EXPECT_EQ(catalogue.FindEntry(L"case.txt"), nullptr);
    EXPECT_EQ(catalogue.FindEntry(L"CASE.TXT"), nullptr);
    EXPECT_NE(catalogue.FindEntry(L"pics\\red.png"), nullptr);
    EXPECT_NE(catalogue.FindEntry(L"./pics/red.png"), nullptr);
    EXPECT_NE(catalogue.FindEntry(L".\\pics\\red.png"), nullptr);
    EXPECT_NE(catalogue.FindEntry(L"/pics/red.png"), nullptr);
    EXPECT_EQ(catalogue.FindEntry(L"pics/missing.png"), nullptr);
    EXPECT_FALSE(catalogue.OpenEntry(L"pics/missing.png"));
}

TEST_F(ZipCatalogueTest, NonAsciiNamesFromEveryWriter) {
    for (const char* file : {"python.zip", "windows.zip", "infozip-deflated.zip",
                             "infozip-stored.zip", "infozip-streamed.zip"}) {
        CZipArchive archive(Path(file));
        ASSERT_TRUE(archive.IsOk()) << file;
        wxFileName name;
        const auto node = Attachment("attachment-bitmap", "Bild_\xc3\xa4.png");
        const auto bitmap = archive.GetCatalogue().LoadBitmap(*node->GetRoot(),
                                                              L"attachment-bitmap", name);
        ASSERT_TRUE(bitmap) << file;
        EXPECT_EQ(bitmap->GetWidth(), 1) << file;
    }
    CZipArchive windows(Path("windows.zip"));
    EXPECT_EQ(ReadEntry(windows.GetCatalogue(), L"Gr\u00fc\u00dfe/\u20acuro.bin"), "euro");
}

TEST_F(ZipCatalogueTest, EntriesWithDataDescriptors) {
    CZipArchive windows(Path("windows.zip"));
    ASSERT_TRUE(windows.IsOk());
    EXPECT_TRUE(ReadEntry(windows.GetCatalogue(), L"deflated-descriptor.bin") == Blob());
    CZipArchive streamed(Path("infozip-streamed.zip"));
    ASSERT_TRUE(streamed.IsOk());
    EXPECT_TRUE(ReadEntry(streamed.GetCatalogue(), L"blob.bin") == Blob());
    CZipArchive stored(Path("infozip-stored.zip"));
    EXPECT_TRUE(ReadEntry(stored.GetCatalogue(), L"blob.bin") == Blob());

    // The toolkit's reader rejects stored entries with a descriptor: the buffer is then
    // missing, never wrong.
    const auto node = Attachment("chunk", "stored-descriptor.bin", "3000");
    const auto buffer = windows.GetCatalogue().LoadBuffer(*node->GetRoot(), L"chunk", 1u << 20);
    if (buffer) {
        EXPECT_TRUE(std::string(reinterpret_cast<const char*>(buffer->GetData()),
                                buffer->GetLength()) == Blob());
    }
}

TEST_F(ZipCatalogueTest, LoadBitmapChoosesTheTypeByExtension) {
    CZipArchive archive(Path("python.zip"));
    auto& catalogue = archive.GetCatalogue();
    wxFileName name("/some/where/old.png");
    auto node = Attachment("attachment-bitmap", "pics/red.png");
    auto red = catalogue.LoadBitmap(*node->GetRoot(), L"ATTACHMENT-BITMAP", name);
    ASSERT_TRUE(red);
    EXPECT_EQ(red->GetSize(), wxSize(4, 3));
    EXPECT_FALSE(name.IsOk());  // attachments have no file on disk
    EXPECT_EQ(wxColour(red->ConvertToImage().GetRed(0, 0), 0, 0), wxColour(255, 0, 0));

    node = Attachment("attachment-bitmap", "pics/Blue.PNG");
    EXPECT_TRUE(catalogue.LoadBitmap(*node->GetRoot(), L"attachment-bitmap", name));
    for (const char* unusable : {"pics/anim.gif", "pics/broken.png", "pics/none.png"}) {
        node = Attachment("attachment-bitmap", unusable);
        EXPECT_FALSE(catalogue.LoadBitmap(*node->GetRoot(), L"attachment-bitmap", name))
            << unusable;
    }
    node = Attachment("other", "pics/red.png");
    EXPECT_FALSE(catalogue.LoadBitmap(*node->GetRoot(), L"attachment-bitmap", name));
    EXPECT_TRUE(catalogue.LoadBitmapByName(*node->GetRoot(), L"pics\\red.png",
                                           wxBITMAP_TYPE_PNG, name));
}

TEST_F(ZipCatalogueTest, PicturesDecodeWhenFirstShownAndMayGiveTheirPixelsBack) {
    auto archive = std::make_unique<CZipArchive>(Path("python.zip"));
    auto& catalogue = archive->GetCatalogue();
    wxFileName name("/some/where/old.png");
    const auto load = [&](const char* entry) {
        return catalogue.LoadPicture(*Attachment("attachment-bitmap", entry)->GetRoot(),
                                     L"attachment-bitmap", name);
    };
    const auto red = load("pics/red.png");
    ASSERT_TRUE(red);
    EXPECT_FALSE(name.IsOk());
    // Every spelling of one entry is one picture; nothing is decoded before it is needed.
    EXPECT_EQ(load("./pics\\red.png"), red);
    const auto blue = load("pics/Blue.PNG");
    ASSERT_TRUE(blue);
    EXPECT_EQ(catalogue.GetDecodeCount(), 0);
    // Missing entries and types that are not read are no picture, as LoadBitmap has it.
    EXPECT_FALSE(load("pics/none.png"));
    EXPECT_FALSE(load("pics/anim.gif"));

    const auto broken = load("pics/broken.png");
    ASSERT_TRUE(broken);
    EXPECT_EQ(broken->Get(), nullptr);
    EXPECT_EQ(broken->Get(), nullptr);  // not tried again at every paint
    EXPECT_EQ(catalogue.GetDecodeCount(), 1);

    ASSERT_NE(red->Get(), nullptr);
    const wxImage first = red->Get()->ConvertToImage();
    EXPECT_EQ(first.GetSize(), wxSize(4, 3));
    EXPECT_EQ(catalogue.GetDecodeCount(), 2);
    red->GiveBack();
    EXPECT_FALSE(red->IsDecoded());
    ASSERT_NE(red->Get(), nullptr);
    const wxImage again = red->Get()->ConvertToImage();
    EXPECT_EQ(catalogue.GetDecodeCount(), 3);
    ASSERT_EQ(again.GetSize(), first.GetSize());
    EXPECT_EQ(std::memcmp(again.GetData(), first.GetData(), 4 * 3 * 3), 0);

    // Closing the content keeps what is decoded and reads nothing more.
    archive.reset();
    ASSERT_NE(red->Get(), nullptr);
    EXPECT_EQ(red->Get()->GetSize(), wxSize(4, 3));
    EXPECT_EQ(blue->Get(), nullptr);
}

TEST_F(ZipCatalogueTest, LoadBufferCountsOnlyDeliveredBytes) {
    CZipArchive archive(Path("python.zip"));
    auto& catalogue = archive.GetCatalogue();
    auto node = Attachment("chunk", "data/blob.bin", "3000");
    auto exact = catalogue.LoadBuffer(*node->GetRoot(), L"chunk", 1u << 20);
    ASSERT_TRUE(exact);
    EXPECT_EQ(exact->GetLength(), 3000u);
    EXPECT_TRUE(std::string(reinterpret_cast<const char*>(exact->GetData()), 3000) == Blob());

    // A size beyond the entry: only the entry is read and allocated.
    node = Attachment("chunk", "data/blob.bin", "4000000000");
    auto larger = catalogue.LoadBuffer(*node->GetRoot(), L"chunk", 1u << 20);
    ASSERT_TRUE(larger);
    EXPECT_EQ(larger->GetLength(), 3000u);
    EXPECT_LE(larger->GetCapacity(), 3000u);

    node = Attachment("chunk", "data/blob.bin", "100");
    auto prefix = catalogue.LoadBuffer(*node->GetRoot(), L"chunk", 1u << 20);
    ASSERT_TRUE(prefix);
    EXPECT_EQ(prefix->GetLength(), 100u);
    EXPECT_TRUE(std::string(reinterpret_cast<const char*>(prefix->GetData()), 100) ==
                Blob().substr(0, 100));

    for (const char* size : {"0", "-5", "", "many"}) {
        node = Attachment("chunk", "data/blob.bin", size);
        EXPECT_FALSE(catalogue.LoadBuffer(*node->GetRoot(), L"chunk", 1u << 20)) << size;
    }
    node = Attachment("chunk", "data/missing.bin", "10");
    EXPECT_FALSE(catalogue.LoadBuffer(*node->GetRoot(), L"chunk", 1u << 20));
    node = Attachment("chunk", "data/empty.bin", "10");
    EXPECT_FALSE(catalogue.LoadBuffer(*node->GetRoot(), L"chunk", 1u << 20));
}

TEST_F(ZipCatalogueTest, LoadRichTextBuffer) {
    CZipArchive archive(Path("python.zip"));
    auto& catalogue = archive.GetCatalogue();
    auto node = Attachment("attachment-richtextbuffer", "text/hello.xml");
    auto buffer = catalogue.LoadRichTextBuffer(*node->GetRoot(), L"attachment-richtextbuffer");
    ASSERT_TRUE(buffer);
    EXPECT_TRUE(buffer->GetText().Contains("Hello archive"));
    node = Attachment("attachment-richtextbuffer", "text/missing.xml");
    EXPECT_FALSE(catalogue.LoadRichTextBuffer(*node->GetRoot(), L"attachment-richtextbuffer"));
}

TEST_F(ZipCatalogueTest, DamagedArchivesYieldNothing) {
    // Garbage after a local header and an archive cut off before its central directory both
    // open, and hold no entry at all: nothing half-read reaches the loaders.
    for (const char* file : {"garbage.zip", "truncated.zip"}) {
        CZipArchive archive(Path(file));
        ASSERT_TRUE(archive.IsOk()) << file;
        auto& catalogue = archive.GetCatalogue();
        wxFileName name;
        auto node = Attachment("attachment-bitmap", "pics/red.png");
        EXPECT_FALSE(catalogue.LoadBitmap(*node->GetRoot(), L"attachment-bitmap", name)) << file;
        EXPECT_FALSE(catalogue.OpenEntry(L"pics/red.png")) << file;
        EXPECT_EQ(catalogue.GetEntryCount(), 0u) << file;
    }
    EXPECT_FALSE(CZipArchive(Path("does-not-exist.zip")).IsOk());
}

// A resource that counts how often it was loaded.
class CCounted : public tarn::CObject, public virtual graphics::IReusableResource {
public:
    void ToXml(wxXmlNode&, graphics::IResourceStore*) const override {}
    void FromXml(const wxXmlNode&, graphics::IResourceInputStore&) override { ++loads; }
    std::int64_t GetResourceId() const override { return 1; }
    int loads = 0;
};

class ReusableResourceTest : public ArchiveTest {
protected:
    tarn::P<graphics::IReusableResource> Get(const std::string& unique, const std::wstring& type,
                                             const tarn::P<CCounted>& fresh) {
        m_nodes.push_back(testsupport::ParseXml(
            unique.empty() ? "<e/>" : "<e unique=\"" + unique + "\"/>"));
        return m_archive->GetCatalogue().GetReusableResource(
            *m_nodes.back()->GetRoot(), type, tarn::P<graphics::IReusableResource>(fresh.Get()));
    }
    void SetUp() override {
        ArchiveTest::SetUp();
        m_archive = std::make_unique<CZipArchive>(Path("python.zip"));
    }
    void TearDown() override { m_archive.reset(); }

    std::vector<std::unique_ptr<wxXmlDocument>> m_nodes;
    std::unique_ptr<CZipArchive> m_archive;
};

TEST_F(ReusableResourceTest, SameIdAndTypeShareTheFirstObject) {
    auto first = tarn::New<CCounted>(), second = tarn::New<CCounted>();
    EXPECT_EQ(Get("42", L"image", first).Get(),
              static_cast<graphics::IReusableResource*>(first.Get()));
    EXPECT_EQ(Get("42", L"IMAGE", second).Get(),
              static_cast<graphics::IReusableResource*>(first.Get()));
    EXPECT_EQ(first->loads, 1);
    EXPECT_EQ(second->loads, 0);
}

TEST_F(ReusableResourceTest, SameIdWithAnotherTypeIsAnError) {
    auto first = tarn::New<CCounted>(), second = tarn::New<CCounted>();
    Get("7", L"image", first);
    try {
        Get("7", L"shape", second);
        FAIL() << "no error raised";
    } catch (const tarn::CException& error) {
        EXPECT_EQ(error.GetDescription(), L"Error get reuseable resource. Type different");
    }
    EXPECT_EQ(second->loads, 0);
}

TEST_F(ReusableResourceTest, NonPositiveOrMissingIdsNeverShare) {
    for (const std::string unique : {"0", "-3", "", "abc"}) {
        auto first = tarn::New<CCounted>(), second = tarn::New<CCounted>();
        EXPECT_EQ(Get(unique, L"image", first).Get(),
                  static_cast<graphics::IReusableResource*>(first.Get()));
        EXPECT_EQ(Get(unique, L"image", second).Get(),
                  static_cast<graphics::IReusableResource*>(second.Get()));
        EXPECT_EQ(first->loads + second->loads, 2) << unique;
    }
}

}  // namespace
