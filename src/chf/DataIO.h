#pragma once
// The values inside chunks: little-endian integers and counted UTF-16LE strings.

#include <cstdint>
#include <string>
#include <string_view>

#include "chf/Stream.h"

namespace chf {

std::uint32_t ReadU32(IStream& stream);
std::uint64_t ReadU64(IStream& stream);
void WriteU32(IStream& stream, std::uint32_t value);
void WriteU64(IStream& stream, std::uint64_t value);

// Bytes between the position and the end (0 when the position is past the end).
std::uint64_t RoomLeft(const IStream& stream);

// Raises tarn::CEndOfStreamError unless count items of at least itemSize bytes each fit in
// the room left: a damaged count must not make a reader allocate or loop for nothing.
void CheckCount(const IStream& stream, std::uint64_t count, std::uint64_t itemSize);

// Surrogate pairs both ways; a lone surrogate becomes U+FFFD, and so does a character
// outside Unicode.
std::u16string ToUtf16(std::wstring_view text);
std::wstring FromUtf16(std::u16string_view units);

// A 32-bit unit count including the terminating unit, then the units. The last unit is
// taken as the terminator whatever it holds; a count of 0 is an absent (empty) string.
std::wstring ReadResourceString(IStream& stream);
// Always writes the terminator, so an empty text has the count 1.
void WriteResourceString(IStream& stream, std::wstring_view text);

}  // namespace chf
