#include "chf/DataIO.h"

#include <array>
#include <limits>
#include <vector>

#include "tarn/Exception.h"
#include "tarn/Text.h"

namespace chf {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

std::uint32_t ReadU32(IStream& stream) {
    std::array<unsigned char, 4> bytes{};
    stream.Read(bytes.data(), bytes.size());
    std::uint32_t value = 0;
    for (std::size_t i = bytes.size(); i-- > 0;) value = value << 8 | bytes[i];
    return value;
}

std::uint64_t ReadU64(IStream& stream) {
    std::array<unsigned char, 8> bytes{};
    stream.Read(bytes.data(), bytes.size());
    std::uint64_t value = 0;
    for (std::size_t i = bytes.size(); i-- > 0;) value = value << 8 | bytes[i];
    return value;
}

void WriteU32(IStream& stream, std::uint32_t value) {
    std::array<unsigned char, 4> bytes{};
    for (auto& byte : bytes) {
        byte = static_cast<unsigned char>(value & 0xFF);
        value >>= 8;
    }
    stream.Write(bytes.data(), bytes.size());
}

void WriteU64(IStream& stream, std::uint64_t value) {
    std::array<unsigned char, 8> bytes{};
    for (auto& byte : bytes) {
        byte = static_cast<unsigned char>(value & 0xFF);
        value >>= 8;
    }
    stream.Write(bytes.data(), bytes.size());
}

std::uint64_t RoomLeft(const IStream& stream) {
    const std::uint64_t size = stream.GetSize();
    const std::uint64_t position = stream.Tell();
    return position < size ? size - position : 0;
}

void CheckCount(const IStream& stream, std::uint64_t count, std::uint64_t itemSize) {
    if (count > RoomLeft(stream) / itemSize) throw tarn::CEndOfStreamError(stream.GetURI());
}

std::u16string ToUtf16(std::wstring_view text) {
    std::u16string units;
    units.reserve(text.size());
    for (std::size_t i = 0, length = 0; i < text.size(); i += length) {
        char32_t c = tarn::CodePointAt(text, i, length);
        if (c > 0x10FFFF || IsHighSurrogate(c) || IsLowSurrogate(c)) c = kReplacement;
        if (c >= 0x10000) {
            c -= 0x10000;
            units.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
            units.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
        } else {
            units.push_back(static_cast<char16_t>(c));
        }
    }
    return units;
}

std::wstring FromUtf16(std::u16string_view units) {
    std::wstring text;
    text.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char32_t c = units[i];
        if (IsHighSurrogate(c) && i + 1 < units.size() && IsLowSurrogate(units[i + 1])) {
            const char32_t low = units[++i];
            tarn::AppendCodePoint(text, 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00));
        } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
            text.push_back(static_cast<wchar_t>(kReplacement));
        } else {
            text.push_back(static_cast<wchar_t>(c));
        }
    }
    return text;
}

std::wstring ReadResourceString(IStream& stream) {
    const std::uint32_t count = ReadU32(stream);
    if (count == 0) return {};
    CheckCount(stream, count, 2);
    std::vector<unsigned char> bytes(std::size_t{count} * 2);
    stream.Read(bytes.data(), bytes.size());
    std::u16string units(count - 1, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i) {
        units[i] = static_cast<char16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
    }
    return FromUtf16(units);
}

void WriteResourceString(IStream& stream, std::wstring_view text) {
    const std::u16string units = ToUtf16(text);
    if (units.size() >= std::numeric_limits<std::uint32_t>::max() / 2) {
        throw tarn::CInvalidArgError(L"WriteResourceString", L"text", nullptr);
    }
    std::vector<unsigned char> bytes((units.size() + 1) * 2);
    for (std::size_t i = 0; i < units.size(); ++i) {
        bytes[2 * i] = static_cast<unsigned char>(units[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<unsigned char>(units[i] >> 8);
    }
    WriteU32(stream, static_cast<std::uint32_t>(units.size() + 1));
    stream.Write(bytes.data(), bytes.size());
}

}  // namespace chf
