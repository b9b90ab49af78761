#pragma once
// Entry-name converter for content archives: names are UTF-8 when their bytes are valid
// UTF-8 and Windows-1252 otherwise, so names written by Windows tools are not lost.

#include <wx/strconv.h>

namespace graphics {

class CZipNameConv : public wxMBConv {
public:
    size_t ToWChar(wchar_t* dst, size_t dstLen, const char* src,
                   size_t srcLen = wxNO_LEN) const override;
    size_t FromWChar(char* dst, size_t dstLen, const wchar_t* src,
                     size_t srcLen = wxNO_LEN) const override;
    wxMBConv* Clone() const override { return new CZipNameConv; }
};

// The Windows-1252 character of a byte (bytes it leaves undefined map to the same code).
wchar_t Windows1252ToUnicode(unsigned char byte);

}  // namespace graphics
