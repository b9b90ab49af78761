#include "graphics/ZipNameConv.h"

#include <cstring>

namespace graphics {
namespace {

constexpr wchar_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

wchar_t Windows1252ToUnicode(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) return kHighControls[byte - 0x80];
    return static_cast<wchar_t>(byte);
}

size_t CZipNameConv::ToWChar(wchar_t* dst, size_t dstLen, const char* src,
                             size_t srcLen) const {
    const size_t utf8 = wxConvUTF8.ToWChar(dst, dstLen, src, srcLen);
    if (utf8 != wxCONV_FAILED) return utf8;

    // Windows-1252: one character per byte; a terminated input counts its terminator.
    const bool terminated = srcLen == wxNO_LEN;
    const size_t bytes = terminated ? std::strlen(src) + 1 : srcLen;
    if (!dst) return bytes;
    if (dstLen < bytes) return wxCONV_FAILED;
    for (size_t i = 0; i < bytes; ++i) {
        dst[i] = Windows1252ToUnicode(static_cast<unsigned char>(src[i]));
    }
    return bytes;
}

size_t CZipNameConv::FromWChar(char* dst, size_t dstLen, const wchar_t* src,
                               size_t srcLen) const {
    return wxConvUTF8.FromWChar(dst, dstLen, src, srcLen);
}

}  // namespace graphics
