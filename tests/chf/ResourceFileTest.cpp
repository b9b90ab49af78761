// Resource files: the keyed-text table, header chunks, sections, and the writer's output.

#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <vector>

#include "ChunkBytes.h"
#include "TempFolder.h"
#include "chf/ResourceFile.h"
#include "chf/ResourceFileWriter.h"
#include "tarn/Exception.h"

using namespace chftest;
using chf::CResourceFile;
using chf::CResourceStringTable;

namespace {

CResourceStringTable::CEntry Entry(const std::wstring& key, const std::wstring& text = {}) {
    CResourceStringTable::CEntry entry;
    entry.key = key;
    entry.text = text;
    return entry;
}

Bytes Lang(const std::string& tag) { return Chunk("lang", Str(tag) + Str("two") + Str("three")); }

// A "data" chunk whose entries have the value 7 and an empty and an absent further string.
Bytes Table(const std::vector<std::pair<std::string, std::string>>& entries) {
    Bytes data = U32(static_cast<std::uint32_t>(entries.size()));
    for (const auto& [key, text] : entries)
        data += U32(7) + Str(key) + Str(text) + Str("") + U32(0);
    return Chunk("data", data);
}

class ResourceFileTest : public ::testing::Test {
protected:
    std::wstring Save(const Bytes& image) {
        return m_folder.Write("p" + std::to_string(m_count++) + ".zvtLang", image).wstring();
    }
    tarn::P<CResourceFile> Load(const Bytes& body) {
        auto file = tarn::New<CResourceFile>();
        file->Open(Save(File("URESFILE", body)));
        return file;
    }

    testsupport::TempFolder m_folder;
    int m_count = 0;
};

}  // namespace

TEST(ResourceStringTable, HashRunsOverUtf16UnitsWithASignedShift) {
    EXPECT_EQ(CResourceStringTable::Hash(L""), 0u);
    EXPECT_EQ(CResourceStringTable::Hash(L"ab"), 3323u);
    // The high bit is set on the way: a logical shift would give 1228869283.
    EXPECT_EQ(CResourceStringTable::Hash(L"lum.CMainFrame.ActionNoValid"), 3924966751u);
    EXPECT_EQ(CResourceStringTable::Hash(L"\U0001F600x"), 58941454u);  // two surrogates
}

TEST(ResourceStringTable, GrowsPastFourFifthsLoadAndKeepsTheLatestEntryFirst) {
    CResourceStringTable table;
    table.Add(Entry(L"dup", L"first"));
    table.Add(Entry(L"dup", L"second"));
    for (int i = 2; i < 800; ++i) table.Add(Entry(L"key" + std::to_wstring(i)));
    EXPECT_EQ(table.GetBucketCount(), 1000u);
    // Checked after one doubling and after two.
    for (const std::size_t buckets : {2000u, 4000u}) {
        while (table.GetBucketCount() < buckets) {
            table.Add(Entry(L"key" + std::to_wstring(table.GetEntryCount())));
        }
        EXPECT_EQ(table.GetEntryCount(), buckets * 4 / 10 + 1);
        EXPECT_EQ(table.Find(L"dup")->text, L"second") << buckets;
    }
    std::map<std::wstring, int> visits;
    table.ForEach([&](const CResourceStringTable::CEntry& entry) { ++visits[entry.key]; });
    EXPECT_EQ(visits.size(), table.GetEntryCount() - 1);
    EXPECT_EQ(visits[L"dup"], 2);
    EXPECT_EQ(visits[L"key1600"], 1);
    EXPECT_EQ(table.Find(L"key1601"), nullptr);
}

TEST(ResourceStringTable, ForEachGoesBucketByBucketAndAlongEachChain) {
    // Two keys that share a bucket, and one in a lower bucket.
    std::map<std::size_t, std::vector<std::wstring>> byBucket;
    std::vector<std::wstring> shared;
    for (int i = 0; shared.empty(); ++i) {
        const std::wstring key = L"k" + std::to_wstring(i);
        auto& keys = byBucket[CResourceStringTable::Hash(key) % 1000];
        keys.push_back(key);
        if (keys.size() == 2 && byBucket.begin()->second != keys) shared = keys;
    }
    const std::wstring lower = byBucket.begin()->second.front();
    CResourceStringTable table;
    for (const std::wstring& key : {shared[0], shared[1], lower}) table.Add(Entry(key));
    std::vector<std::wstring> order;
    table.ForEach([&](const CResourceStringTable::CEntry& entry) { order.push_back(entry.key); });
    EXPECT_EQ(order, (std::vector<std::wstring>{lower, shared[1], shared[0]}));
}

TEST_F(ResourceFileTest, WriterOutputReadsBack) {
    chf::CResourceFileWriter writer;
    writer.SetLanguage(L"de-at", L"Deutsch", L"\u00d6sterreich");
    writer.SetApplication(L"quellbrook", L"Quellbrook Player");
    writer.SetComment(L"Kommentar \U0001F600");
    writer.SetExtraData({{L"author", L"me"}, {L"date", L"today"}});
    writer.SetVersion(0x01020304);
    for (int i = 0; i < 900; ++i) writer.AddEntry(L"key" + std::to_wstring(i), L"Text");
    writer.AddEntry(L"key5", L"again");
    const std::wstring path = (m_folder / "out.zvtLang").wstring();
    writer.Write(path);

    const auto file = tarn::New<CResourceFile>();
    file->Open(path);
    EXPECT_EQ(file->GetLanguageTag().GetSubtagCount(), 2u);
    EXPECT_EQ(file->GetLanguageString(0), L"de-at");
    EXPECT_EQ(file->GetLanguageString(2), L"\u00d6sterreich");
    EXPECT_EQ(file->GetApplicationId(), L"quellbrook");
    EXPECT_EQ(file->GetApplicationString(), L"Quellbrook Player");
    EXPECT_EQ(file->GetComment(), L"Kommentar \U0001F600");
    EXPECT_EQ(file->GetExtraData(),
              (std::map<std::wstring, std::wstring>{{L"author", L"me"}, {L"date", L"today"}}));
    EXPECT_EQ(file->GetVersion(), 0x01020304u);
    EXPECT_EQ(file->GetStrings().GetEntryCount(), 901u);
    EXPECT_EQ(file->GetStrings().Find(L"key5")->text, L"again");

    file->OpenHeader(path);
    EXPECT_EQ(file->GetApplicationId(), L"quellbrook");
    EXPECT_EQ(file->GetStrings().GetEntryCount(), 0u);
}

TEST_F(ResourceFileTest, LanguageMayOnlyFollowResourceSetIds) {
    auto file = Load(Chunk("RSID", Str("set")) + Chunk("RSID", "") + Lang("en-us"));
    EXPECT_EQ(file->GetLanguageTag().GetText(), L"en-us");
    EXPECT_EQ(file->GetLanguageString(1), L"two");

    // Another chunk first: no language; the other header chunks are found anywhere.
    file = Load(Chunk("apid", Str("app") + Str("")) + Lang("en-us") + Chunk("vers", U32(3)));
    EXPECT_TRUE(file->GetLanguageTag().IsEmpty());
    EXPECT_EQ(file->GetLanguageString(0), L"");
    EXPECT_EQ(file->GetApplicationId(), L"app");
    EXPECT_EQ(file->GetVersion(), 3u);
    EXPECT_EQ(file->GetComment(), L"");
    EXPECT_TRUE(file->GetExtraData().empty());
}

TEST_F(ResourceFileTest, EverySectionIsLoadedFromItsOwnDataChunk) {
    const auto file = Load(Chunk("STMP", Chunk("misc", "") + Table({{"a", "A"}, {"b", "B"}})) +
                           Chunk("STMP", Chunk("RSID", Str("x"))) +
                           Chunk("data", U32(0xFFFFFFFF)) +  // outside any section: not read
                           Chunk("STMP", Table({{"a", "again"}})));
    const auto& strings = file->GetStrings();
    EXPECT_EQ(strings.GetEntryCount(), 3u);
    EXPECT_EQ(strings.Find(L"b")->text, L"B");
    EXPECT_EQ(strings.Find(L"a")->text, L"again");
    EXPECT_EQ(strings.Find(L"a")->value, 7u);
}

TEST_F(ResourceFileTest, SelectionPicksSectionsByLanguageAndSetId) {
    const std::wstring path = Save(File(
        "URESFILE", Chunk("STMP", Chunk("lang", Str("de")) + Chunk("RSID", Str("Menu")) +
                                      Table({{"k", "de menu"}})) +
                        Chunk("STMP", Chunk("lang", Str("en")) + Chunk("RSID", Str("other")) +
                                          Chunk("RSID", Str("MENU")) + Table({{"k", "en menu"}})) +
                        Chunk("STMP", Chunk("lang", Str("en-us")) + Table({{"k", "en-us"}}))));
    const auto file = tarn::New<CResourceFile>();
    CResourceFile::CSelection selection;
    selection.language = chf::CLanguageTag(L"EN-us");
    file->Open(path, selection);
    EXPECT_EQ(file->GetStrings().GetEntryCount(), 2u);  // every subtag of en and of en-us
    EXPECT_EQ(file->GetStrings().Find(L"k")->text, L"en-us");
    selection.matchMode = chf::CLanguageTag::kMatchExactly;
    file->Open(path, selection);
    EXPECT_EQ(file->GetStrings().GetEntryCount(), 1u);

    selection.language.reset();
    selection.resourceSetId = L"menu";
    file->Open(path, selection);
    EXPECT_EQ(file->GetStrings().GetEntryCount(), 2u);
    EXPECT_EQ(file->GetStrings().Find(L"k")->text, L"en menu");
}

TEST_F(ResourceFileTest, AnotherFileTypeIsRefusedAndNothingChanges) {
    const auto file = Load(Lang("fr"));
    try {
        file->Open(Save(File("URESFILX", Lang("en"))));
        FAIL() << "no error";
    } catch (const tarn::CError& error) {
        EXPECT_NE(error.GetDescription().find(L"is not a resource file"), std::wstring::npos);
    }
    EXPECT_THROW(file->OpenHeader(Save(File("URESFILE", "lang" + U64(99)))),
                 tarn::CEndOfStreamError);
    EXPECT_EQ(file->GetLanguageTag().GetText(), L"fr");
    EXPECT_THROW(file->Open((m_folder / "missing").wstring()), tarn::CFileNotFoundError);
}
