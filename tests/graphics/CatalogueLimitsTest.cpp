// What a content file may declare and store: an entry larger than what the player reads of it
// is refused by its sizes before a byte of it is read, and reading stops at the limit when
// the sizes are not known or lie.

#include <gtest/gtest.h>
#include <wx/log.h>
#include <wx/mstream.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "graphics/Catalogue.h"
#include "tarn/win32/PictureHeader.h"

namespace {

// Entries with sizes that may lie; counts every byte a reader takes from them.
class CDeclaringCatalogue : public graphics::CCatalogue {
public:
    struct SEntry {
        std::string bytes;
        std::int64_t size;  // what the catalogue says it stores (-1: not known)
    };

    void Put(const wxString& name, std::string bytes, std::int64_t size) {
        m_entries[name] = {std::move(bytes), size};
    }
    std::size_t BytesRead() const { return m_read; }
    int Opened() const { return m_opened; }

    wxInputStream& GetStream() override { return *m_stream; }
    std::size_t GetEntryCount() override { return m_entries.size(); }
    std::vector<wxString> GetEntryNames() override {
        std::vector<wxString> names;
        for (const auto& [name, entry] : m_entries) names.push_back(name);
        return names;
    }

protected:
    bool Contains(const wxString& name) override { return m_entries.count(name) > 0; }
    bool Open(const wxString& name) override {
        ++m_opened;
        m_stream = std::make_unique<CCountingStream>(m_entries.at(name).bytes, m_read);
        return true;
    }
    std::int64_t SizeOf(const wxString& name) override {
        const auto entry = m_entries.find(name);
        return entry == m_entries.end() ? -1 : entry->second.size;
    }

private:
    class CCountingStream : public wxMemoryInputStream {
    public:
        CCountingStream(const std::string& bytes, std::size_t& read)
            : wxMemoryInputStream(bytes.data(), bytes.size()), m_read(read) {}

    protected:
        size_t OnSysRead(void* buffer, size_t size) override {
            const size_t got = wxMemoryInputStream::OnSysRead(buffer, size);
            m_read += got;
            return got;
        }

    private:
        std::size_t& m_read;
    };

    std::map<wxString, SEntry> m_entries;
    std::unique_ptr<wxInputStream> m_stream = std::make_unique<wxMemoryInputStream>("", 0);
    std::size_t m_read = 0;
    int m_opened = 0;
};

tarn::P<graphics::CSharedBuffer> LoadChunk(graphics::CCatalogue& catalogue, const std::string& size,
                                           std::uint64_t limit) {
    const auto node =
        testsupport::ParseXml("<m><chunk name=\"music.wav\" size=\"" + size + "\"/></m>");
    return catalogue.LoadBuffer(*node->GetRoot(), L"chunk", limit);
}

TEST(CatalogueLimitsTest, DataIsReadOnlyWithinItsLimitWhateverTheSizesSay) {
    const std::string wav(1000, 'w');
    const auto catalogue = tarn::New<CDeclaringCatalogue>();
    const testsupport::CWarnings warnings;

    // A huge declaration over a small entry reads the entry.
    catalogue->Put("music.wav", wav, 1000);
    auto buffer = LoadChunk(*catalogue, "4294967295", 1000);
    ASSERT_TRUE(buffer);
    EXPECT_EQ(buffer->GetLength(), 1000u);
    EXPECT_TRUE(warnings.Get().empty());

    // An entry stored larger than the limit and declared so: refused before it is opened.
    catalogue->Put("music.wav", wav, std::int64_t{2} << 30);
    const int opened = catalogue->Opened();
    const std::size_t read = catalogue->BytesRead();
    EXPECT_FALSE(LoadChunk(*catalogue, "4294967295", 1u << 20));
    EXPECT_EQ(catalogue->Opened(), opened);
    EXPECT_EQ(catalogue->BytesRead(), read);
    EXPECT_EQ(warnings.Get(), std::vector<std::string>{
                                  "Entry 'music.wav' is larger than the 1 MiB read of it; it is "
                                  "not read."});
    // Declared within the limit, only that much is read however large the entry is.
    buffer = LoadChunk(*catalogue, "500", 1u << 20);
    ASSERT_TRUE(buffer);
    EXPECT_EQ(buffer->GetLength(), 500u);

    // Size not known: the read stops one byte past the limit, and the entry is refused.
    catalogue->Put("music.wav", wav, -1);
    const std::size_t before = catalogue->BytesRead();
    EXPECT_FALSE(LoadChunk(*catalogue, "4294967295", 100));
    EXPECT_LE(catalogue->BytesRead() - before, 101u);
    EXPECT_TRUE(LoadChunk(*catalogue, "4294967295", 1000));
}

TEST(CatalogueLimitsTest, APictureStoredLargerThanAPictureMayBeIsMissingUnread) {
    const auto catalogue = tarn::New<CDeclaringCatalogue>();
    catalogue->Put("big.png", "not read", std::int64_t{3} << 30);
    const testsupport::CWarnings warnings;
    wxFileName ignored;
    const auto node = testsupport::ParseXml("<e><attachment-bitmap name=\"big.png\"/></e>");
    for (int twice = 0; twice < 2; ++twice) {
        EXPECT_FALSE(catalogue->LoadBitmap(*node->GetRoot(), L"attachment-bitmap", ignored));
        const auto picture =
            catalogue->LoadPicture(*node->GetRoot(), L"attachment-bitmap", ignored);
        ASSERT_TRUE(picture);  // decoded when shown
        EXPECT_FALSE(picture->Get());
    }
    EXPECT_EQ(catalogue->Opened(), 0);
    EXPECT_EQ(catalogue->BytesRead(), 0u);
    EXPECT_EQ(warnings.Get(),
              std::vector<std::string>{"Picture 'big.png' is larger than the 257 MiB read of a "
                                       "picture; it is shown as missing."});

    std::string reason;
    EXPECT_FALSE(catalogue->ReadPictureEntry(L"big.png", reason));
    EXPECT_EQ(reason, "is larger than the 257 MiB read of a picture");
    catalogue->Put("small.png", "tiny", 4);
    EXPECT_TRUE(catalogue->ReadPictureEntry(L"small.png", reason));
    EXPECT_EQ(reason, "");
}

}  // namespace
