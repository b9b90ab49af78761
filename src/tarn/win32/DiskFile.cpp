#include "tarn/win32/DiskFile.h"

#include "tarn/win32/Pathes.h"

namespace tarn::win32 {

bool CDiskFile::IsLocalFileURI(const P<CURI>& uri) {
    return CPathes::IsFileURI(uri) && uri->GetUnescapedHost().empty();
}

}  // namespace tarn::win32
