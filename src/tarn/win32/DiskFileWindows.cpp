// Disk files on Windows: CreateFileW with the stream's sharing mode, so that the system itself
// keeps out openers the sharing refuses, and the "\\?\" form for long paths.

#include "tarn/win32/WindowsApi.h"

#include <algorithm>
#include <utility>

#include "tarn/Exception.h"
#include "tarn/win32/DiskFile.h"
#include "tarn/win32/Pathes.h"

namespace tarn::win32 {

namespace {

// One system call moves at most this much; larger transfers loop.
constexpr DWORD kMaxTransfer = DWORD{1} << 30;

std::wstring SystemText(DWORD code) {
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = length ? std::wstring(text, length) : L"Error " + std::to_wstring(code);
    if (text) ::LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r')) message.pop_back();
    return message;
}

[[noreturn]] void RaiseLastError() { throw CError(SystemText(::GetLastError())); }

DWORD ShareMode(int sharing) {
    switch (sharing) {
        case CStreamMode::kShareNone: return 0;
        case CStreamMode::kShareRead: return FILE_SHARE_READ;
        default: return FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    }
}

DWORD Disposition(int creation) {
    switch (creation) {
        case CStreamMode::kCreateAlways: return CREATE_ALWAYS;
        case CStreamMode::kOpenAlways: return OPEN_ALWAYS;
        default: return OPEN_EXISTING;
    }
}

// Closes a handle that is not yet handed over, when opening fails half-way.
class CHandleGuard {
public:
    explicit CHandleGuard(HANDLE handle) : m_handle(handle) {}
    CHandleGuard(const CHandleGuard&) = delete;
    CHandleGuard& operator=(const CHandleGuard&) = delete;
    ~CHandleGuard() {
        if (m_handle != INVALID_HANDLE_VALUE) ::CloseHandle(m_handle);
    }
    HANDLE Release() { return std::exchange(m_handle, INVALID_HANDLE_VALUE); }

private:
    HANDLE m_handle;
};

}  // namespace

CDiskFile::~CDiskFile() {
    try {
        Close();
    } catch (const CException&) {
        // Nobody is left to tell; Close reports to callers who ask.
    }
}

bool CDiskFile::IsOpen() const { return m_handle != nullptr; }

void CDiskFile::Open(const P<CURI>& uri, const CStreamMode& mode, unsigned kindAccess,
                     const IBase* owner) {
    if (IsOpen()) throw CInvalidObjectStateError(L"the file is open already", owner);
    mode.Validate(L"Open", owner);
    if (!IsLocalFileURI(uri)) throw CFileNotFoundError(uri);

    // The Windows path rules, with "\\?\" for long paths; an escaped NUL names no file.
    const std::wstring path = CPathes().URIToWindowsPath(uri, false);
    if (path.empty() || path.find(L'\0') != std::wstring::npos) throw CFileNotFoundError(uri);

    const unsigned access = mode.access | kindAccess;
    DWORD desired = 0;
    if (access & CStreamMode::kRead) desired |= GENERIC_READ;
    if ((access & CStreamMode::kWrite) || mode.creation == CStreamMode::kCreateAlways) {
        desired |= GENERIC_WRITE;
    }
    DWORD flags = FILE_ATTRIBUTE_NORMAL;
    DWORD share = ShareMode(mode.sharing);
    if (mode.deleteOnClose) {
        flags |= FILE_FLAG_DELETE_ON_CLOSE;
        desired |= DELETE;
    }
    const HANDLE file = ::CreateFileW(path.c_str(), desired, share, nullptr,
                                      Disposition(mode.creation), flags, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            throw CFileNotFoundError(uri);
        }
        throw CError(SystemText(error));
    }
    CHandleGuard guard(file);
    // Devices, pipes and consoles have names too; only a file on a disk is a disk stream.
    if (::GetFileType(file) != FILE_TYPE_DISK) throw CError(L"The path does not name a regular file.");

    m_uri = uri;
    m_owner = owner;
    m_handle = guard.Release();
}

void CDiskFile::Close() {
    if (!m_handle) return;
    // A file to delete on close goes with its last handle.
    if (!::CloseHandle(std::exchange(m_handle, nullptr))) RaiseLastError();
}

void* CDiskFile::Handle() const {
    if (!m_handle) throw CStreamClosedError(m_uri);
    return m_handle;
}

void CDiskFile::Read(void* buffer, std::size_t count) {
    if (ReadSome(buffer, count) < count) throw CEndOfStreamError(m_uri);
}

std::size_t CDiskFile::ReadSome(void* buffer, std::size_t count) {
    const HANDLE file = Handle();
    auto* bytes = static_cast<unsigned char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count - done, kMaxTransfer));
        DWORD got = 0;
        if (!::ReadFile(file, bytes + done, chunk, &got, nullptr)) RaiseLastError();
        if (got == 0) break;
        done += got;
    }
    return done;
}

void CDiskFile::Write(const void* data, std::size_t count) {
    const HANDLE file = Handle();
    const auto* bytes = static_cast<const unsigned char*>(data);
    std::size_t done = 0;
    while (done < count) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count - done, kMaxTransfer));
        DWORD put = 0;
        if (!::WriteFile(file, bytes + done, chunk, &put, nullptr)) RaiseLastError();
        // A file that takes nothing will not take the rest either.
        if (put == 0) throw CError(SystemText(ERROR_DISK_FULL));
        done += put;
    }
}

void CDiskFile::Flush() {
    if (!::FlushFileBuffers(Handle())) RaiseLastError();
}

std::uint64_t CDiskFile::GetPosition() const {
    LARGE_INTEGER position{};
    if (!::SetFilePointerEx(Handle(), LARGE_INTEGER{}, &position, FILE_CURRENT)) RaiseLastError();
    return static_cast<std::uint64_t>(position.QuadPart);
}

std::uint64_t CDiskFile::GetSize() const {
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(Handle(), &size)) RaiseLastError();
    return static_cast<std::uint64_t>(size.QuadPart);
}

std::uint64_t CDiskFile::Seek(std::int64_t offset, ESeekOrigin origin) {
    const HANDLE file = Handle();
    const DWORD method = origin == ESeekOrigin::Begin     ? FILE_BEGIN
                         : origin == ESeekOrigin::Current ? FILE_CURRENT
                                                          : FILE_END;
    LARGE_INTEGER distance{};
    distance.QuadPart = offset;
    LARGE_INTEGER position{};
    if (!::SetFilePointerEx(file, distance, &position, method)) {
        // The system's word for a position before the start.
        if (::GetLastError() == ERROR_NEGATIVE_SEEK) throw CInvalidArgError(L"Seek", L"offset", m_owner);
        RaiseLastError();
    }
    return static_cast<std::uint64_t>(position.QuadPart);
}

void CDiskFile::SetSize(std::uint64_t size) {
    const HANDLE file = Handle();
    if (size > static_cast<std::uint64_t>(INT64_MAX)) throw CInvalidArgError(L"SetSize", L"size", m_owner);
    const std::uint64_t position = GetPosition();
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(size);
    if (!::SetFilePointerEx(file, end, nullptr, FILE_BEGIN) || !::SetEndOfFile(file)) {
        RaiseLastError();
    }
    // The position stays where it was, as with ftruncate.
    LARGE_INTEGER back{};
    back.QuadPart = static_cast<LONGLONG>(position);
    if (!::SetFilePointerEx(file, back, nullptr, FILE_BEGIN)) RaiseLastError();
}

}  // namespace tarn::win32
