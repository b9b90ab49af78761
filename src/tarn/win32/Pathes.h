#pragma once
// Conversions between URIs and path texts: the Windows rules (with the "\\?\" long-path forms),
// kept as pure functions, and the POSIX form this platform's system object uses.

#include <cstddef>
#include <string>
#include <string_view>

#include "tarn/Object.h"
#include "tarn/Pointer.h"
#include "tarn/URI.h"

namespace tarn::win32 {

class CPathes : public CObject {
public:
    // Paths this long or longer need the "\\?\" form.
    static constexpr std::size_t kMaxPath = 240;

    // ntBased: whether the system knows the "\\?\" long-path forms.
    explicit CPathes(bool ntBased = true) : m_ntBased(ntBased) {}

    // Both rules refuse a path or host that decodes to a NUL character: it names no file
    // (CFileNotFoundError).
    // Windows rules. A long path that cannot take a long form raises CError.
    std::wstring URIToWindowsPath(const P<CURI>& uri, bool keepNonFile) const;
    P<CURI> WindowsPathToURI(std::wstring_view path) const;

    // This platform's rules: a "file" URI (or one without a scheme) gives its decoded path,
    // with "//host" in front when it names a host. A path handed in may separate with "\"
    // (content made on Windows does); URIs never carry one.
    static std::wstring URIToLocalPath(const P<CURI>& uri, bool keepNonFile);
    static P<CURI> LocalPathToURI(std::wstring_view path);

    // Whether a URI names something on a local or network file system.
    static bool IsFileURI(const P<CURI>& uri);

private:
    bool m_ntBased;
};

}  // namespace tarn::win32
