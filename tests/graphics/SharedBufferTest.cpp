#include "graphics/SharedBuffer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "tarn/Pointer.h"

namespace {

using graphics::CSharedBuffer;

TEST(SharedBufferTest, MakeRoomGrowsByTheRequestPlusSlack) {
    auto buffer = tarn::New<CSharedBuffer>();
    EXPECT_EQ(buffer->GetData(), nullptr);
    EXPECT_EQ(buffer->GetCapacity(), 0u);
    EXPECT_EQ(buffer->GetLength(), 0u);
    EXPECT_EQ(buffer->GetRefCount(), 1);

    std::uint8_t* end = buffer->MakeRoom(10);
    ASSERT_NE(end, nullptr);
    EXPECT_EQ(buffer->GetCapacity(), 10u + 1024u);
    std::memcpy(end, "0123456789", 10);
    buffer->AddLength(10);
    // Within the capacity nothing moves.
    EXPECT_EQ(buffer->MakeRoom(1000), buffer->GetData() + 10);
    EXPECT_EQ(buffer->GetCapacity(), 1034u);
    ASSERT_NE(buffer->MakeRoom(2000), nullptr);
    EXPECT_EQ(buffer->GetCapacity(), 10u + 2000u + 1024u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(buffer->GetData()), 10), "0123456789");
}

TEST(SharedBufferTest, LengthNeverPassesTheCapacity) {
    auto buffer = tarn::New<CSharedBuffer>();
    ASSERT_TRUE(buffer->Reserve(4, 4));
    EXPECT_EQ(buffer->GetCapacity(), 4u);
    buffer->AddLength(100);
    EXPECT_EQ(buffer->GetLength(), 4u);
    EXPECT_EQ(buffer->MakeRoom(0xFFFFFFFFu), nullptr);  // would pass 32 bits
}

TEST(SharedBufferTest, ReadingInChunksMovesTheDataOnlyLogarithmicallyOften) {
    // 8 MiB read 64 KiB at a time: copying everything on every chunk would be quadratic.
    constexpr std::uint64_t kTotal = 8u << 20;
    auto buffer = tarn::New<CSharedBuffer>();
    int moves = 0;
    const std::uint8_t* data = nullptr;
    while (buffer->GetLength() < kTotal) {
        ASSERT_TRUE(buffer->Reserve(65536, kTotal));
        if (buffer->GetData() != data) ++moves;
        data = buffer->GetData();
        buffer->AddLength(65536);
    }
    EXPECT_LE(moves, 9);
    EXPECT_EQ(buffer->GetCapacity(), kTotal);  // never more than asked for
}

}  // namespace
