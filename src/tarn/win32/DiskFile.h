#pragma once
// One open file of a disk stream: the system's file and the operations every disk stream
// shares. DiskFilePosix.cpp and DiskFileWindows.cpp implement it.

#include <cstddef>
#include <cstdint>
#include <string>

#include "tarn/Object.h"
#include "tarn/Pointer.h"
#include "tarn/Stream.h"
#include "tarn/StreamMode.h"
#include "tarn/URI.h"

namespace tarn::win32 {

class CDiskFile {
public:
    CDiskFile() = default;
    CDiskFile(const CDiskFile&) = delete;
    CDiskFile& operator=(const CDiskFile&) = delete;
    // Closes quietly; Close reports what goes wrong.
    ~CDiskFile();

    // Whether a URI names a local file: scheme "file" or none, and no host.
    static bool IsLocalFileURI(const P<CURI>& uri);

    // Opens the file named by uri with the stream kind's own access added to the mode's;
    // owner is the stream, named in argument errors. Raises CInvalidArgError for a bad mode,
    // CFileNotFoundError for a URI that is not a local file or names a missing file or
    // folder, and CError with the system's text for every other failure.
    void Open(const P<CURI>& uri, const CStreamMode& mode, unsigned kindAccess, const IBase* owner);

    const P<CURI>& GetURI() const { return m_uri; }
    bool IsOpen() const;
    // Releases the file (and with it the sharing lock), removing the file first when
    // it is to go on close. Closing a closed file does nothing.
    void Close();

    void Read(void* buffer, std::size_t count);
    std::size_t ReadSome(void* buffer, std::size_t count);
    void Write(const void* data, std::size_t count);
    void Flush();
    std::uint64_t GetPosition() const;
    std::uint64_t GetSize() const;
    std::uint64_t Seek(std::int64_t offset, ESeekOrigin origin);
    void SetSize(std::uint64_t size);

private:
    P<CURI> m_uri;
    const IBase* m_owner = nullptr;  // the stream holding this file
#ifdef _WIN32
    // The file handle, or CStreamClosedError.
    void* Handle() const;

    void* m_handle = nullptr;  // a HANDLE; a file to delete on close is opened so
#else
    // The descriptor, or CStreamClosedError.
    int Descriptor() const;

    std::string m_path;  // the local path, as the system takes it
    int m_fd = -1;
    bool m_deleteOnClose = false;
    std::uint64_t m_device = 0;  // identity of the opened file, checked before removing it
    std::uint64_t m_inode = 0;
#endif
};

}  // namespace tarn::win32
