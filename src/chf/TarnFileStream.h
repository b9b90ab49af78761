#pragma once
// A chunk-file stream over a disk file, opened by path through the foundation library's
// stream manager.

#include <cstddef>
#include <cstdint>
#include <string>

#include "chf/BaseStream.h"
#include "tarn/Stream.h"

namespace chf {

class CTarnFileStream : public CBaseStream {
public:
    enum class EMode {
        Read,    // an existing file, read only; others may read it meanwhile
        Create,  // a new or emptied file, read and written by this stream alone
        Update,  // an existing or new file, read and written by this stream alone
    };

    // Raises the stream manager's errors (tarn::CFileNotFoundError and others).
    CTarnFileStream(const std::wstring& path, EMode mode);

    std::uint64_t GetSize() const override;
    tarn::P<tarn::CURI> GetURI() const override { return m_uri; }

    // Hands what was written on to the disk.
    void Flush();

protected:
    void ReadAt(std::uint64_t position, void* buffer, std::size_t count) override;
    void WriteAt(std::uint64_t position, const void* data, std::size_t count) override;
    void SetStoreSize(std::uint64_t size) override;

private:
    tarn::ISeekableOutStream& Writable() const;
    void SeekTo(std::uint64_t position, const wchar_t* method) const;

    tarn::P<tarn::CURI> m_uri;
    tarn::P<tarn::ISeekableStream> m_seekable;
    tarn::P<tarn::IInStream> m_in;
    tarn::P<tarn::ISeekableOutStream> m_out;  // empty when read only
};

}  // namespace chf
