// Damaged language packs (cut short, huge counts and sizes, another type) end in an error or
// in a consistent result, and never make the reader hold more than a little memory.

#include <gtest/gtest.h>
#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <exception>
#include <new>

#include "ChunkBytes.h"
#include "TempFolder.h"
#include "chf/ResourceFile.h"
#include "tarn/Exception.h"

using namespace chftest;

// The heap held by the test program, watched through the global allocation functions.
namespace {

std::atomic<std::size_t> g_held{0}, g_base{0}, g_peak{0};

void* Take(std::size_t size) {
    void* block = std::malloc(size ? size : 1);
    if (!block) throw std::bad_alloc();
    const std::size_t held = g_held += malloc_usable_size(block);
    for (std::size_t peak = g_peak; held > peak && !g_peak.compare_exchange_weak(peak, held);) {
    }
    return block;
}

void Give(void* block) noexcept {
    if (block) g_held -= malloc_usable_size(block);
    std::free(block);
}

void ResetPeak() { g_base = g_peak = g_held.load(); }
std::size_t PeakSinceReset() { return g_peak - g_base; }

}  // namespace

void* operator new(std::size_t size) { return Take(size); }
void* operator new[](std::size_t size) { return Take(size); }
void operator delete(void* block) noexcept { Give(block); }
void operator delete[](void* block) noexcept { Give(block); }
void operator delete(void* block, std::size_t) noexcept { Give(block); }
void operator delete[](void* block, std::size_t) noexcept { Give(block); }

namespace {

constexpr std::size_t kMemoryLimit = 4 << 20;

// A small complete pack, and where its counts and sizes lie.
struct Pack {
    Pack() {
        const Bytes lang = Chunk("lang", Str("en-us") + Str("English") + Str("US"));
        const Bytes header = lang + Chunk("apid", Str("app") + Str("App")) +
                             Chunk("xdid", U32(1) + Str("n") + Str("v")) + Chunk("vers", U32(2));
        const Bytes entries = U32(2) + U32(0) + Str("key1") + Str("one") + Str("") + Str("") +
                              U32(0) + Str("key2") + Str("two") + Str("") + Str("");
        image = File("URESFILE", header + Chunk("STMP", Chunk("data", entries)));
        apidSize = 16 + lang.size() + 4;
        xdidCount = apidSize + 8 + Str("app").size() + Str("App").size() + 12;
        stmpSize = 16 + header.size() + 4;
        dataSize = stmpSize + 12;
        entryCount = dataSize + 8;
    }
    Bytes With(std::size_t offset, const Bytes& bytes) const {
        return Bytes(image).replace(offset, bytes.size(), bytes);
    }

    Bytes image;
    std::size_t langCount = 16 + 12, apidSize, xdidCount, stmpSize, dataSize, entryCount;
};

class DamagedPackTest : public ::testing::Test {
protected:
    void SetUp() override { ResetPeak(); }
    void TearDown() override { EXPECT_LT(PeakSinceReset(), kMemoryLimit); }

    std::wstring Save(const Bytes& image) { return m_folder.Write("x.zvtLang", image).wstring(); }
    // Reads the image both ways: the number of reads that raised.
    int Refusals(const Bytes& image) {
        const std::wstring path = Save(image);
        int refused = 0;
        for (const bool header : {false, true}) {
            const auto file = tarn::New<chf::CResourceFile>();
            try {
                header ? file->OpenHeader(path) : file->Open(path);
                EXPECT_LE(file->GetStrings().GetEntryCount(), 2u);
            } catch (const std::exception&) {
                ++refused;
            }
        }
        return refused;
    }

    testsupport::TempFolder m_folder;
    Pack m_pack;
};

}  // namespace

TEST(AllocationWatch, SeesWhatIsHeld) {
    ResetPeak();
    const auto block = std::make_unique<char[]>(kMemoryLimit);
    asm volatile("" : : "g"(block.get()) : "memory");
    EXPECT_GE(PeakSinceReset(), kMemoryLimit);
}

TEST_F(DamagedPackTest, TheIntactPackReads) {
    const auto file = tarn::New<chf::CResourceFile>();
    file->Open(Save(m_pack.image));
    EXPECT_EQ(file->GetExtraData().at(L"n"), L"v");
    EXPECT_EQ(file->GetVersion(), 2u);
    EXPECT_EQ(file->GetStrings().Find(L"key2")->text, L"two");
}

TEST_F(DamagedPackTest, EveryCutIsRefused) {
    for (std::size_t length = 0; length < m_pack.image.size(); ++length) {
        EXPECT_EQ(Refusals(m_pack.image.substr(0, length)), 2) << length;
    }
}

TEST_F(DamagedPackTest, CutsWithAMatchingBodySizeFailOrReadWhatIsLeft) {
    int clean = 0;
    for (std::size_t length = 16; length < m_pack.image.size(); ++length) {
        if (Refusals(m_pack.image.substr(0, length).replace(8, 8, U64(length - 16))) == 0) ++clean;
    }
    EXPECT_GE(clean, 4);  // at least the cuts between whole header chunks
}

TEST_F(DamagedPackTest, HugeCountsAndSizesRaiseEndOfStream) {
    const auto file = tarn::New<chf::CResourceFile>();
    const Bytes max32 = U32(0xFFFFFFFF), max64 = U64(~std::uint64_t{0});
    // Both reads fail where the header is read (the search for the missing "cmnt" walks every
    // chunk); only the full read fails in the string table.
    for (const Bytes& image :
         {m_pack.With(m_pack.langCount, max32), m_pack.With(m_pack.langCount, U32(0x7FFFFFFF)),
          m_pack.With(m_pack.xdidCount, max32), m_pack.With(m_pack.apidSize, max64),
          m_pack.With(m_pack.apidSize, U64(std::uint64_t{1} << 62)), m_pack.With(8, max64),
          m_pack.With(m_pack.stmpSize, max64)}) {
        EXPECT_THROW(file->OpenHeader(Save(image)), tarn::CEndOfStreamError);
    }
    for (const Bytes& image :
         {m_pack.With(m_pack.entryCount, max32), m_pack.With(m_pack.entryCount, U32(3)),
          m_pack.With(m_pack.entryCount + 8, max32), m_pack.With(m_pack.dataSize, max64),
          m_pack.With(m_pack.dataSize, U64(1000))}) {
        const std::wstring path = Save(image);
        EXPECT_NO_THROW(file->OpenHeader(path));
        EXPECT_THROW(file->Open(path), tarn::CEndOfStreamError);
    }
}

TEST_F(DamagedPackTest, OtherFileTypesAreRefused) {
    const auto file = tarn::New<chf::CResourceFile>();
    for (const Bytes type : {"URESFILX", "uresfile", "PK\x03\x04\x14\x00\x00\x00"}) {
        EXPECT_THROW(file->Open(Save(m_pack.With(0, type))), tarn::CError) << type;
    }
}
