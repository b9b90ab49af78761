#pragma once
// Seekable streams over one disk file, for reading, writing or both. A stream is open from
// its construction until Close or its last reference; afterwards every operation raises
// CStreamClosedError.

#include <cstddef>
#include <cstdint>

#include "tarn/Object.h"
#include "tarn/Pointer.h"
#include "tarn/Stream.h"
#include "tarn/StreamMode.h"
#include "tarn/URI.h"
#include "tarn/win32/DiskFile.h"

namespace tarn::win32 {

// What the three disk streams share: everything but reading and writing.
template <class Interface>
class TDiskStream : public CObject, public virtual Interface {
public:
    P<CURI> GetURI() const override { return m_file.GetURI(); }
    bool IsOpen() const override { return m_file.IsOpen(); }
    void Close() override { m_file.Close(); }
    void Reset() override { m_file.Seek(0, ESeekOrigin::Begin); }
    std::uint64_t GetPosition() const override { return m_file.GetPosition(); }
    std::uint64_t GetSize() const override { return m_file.GetSize(); }
    std::uint64_t Seek(std::int64_t offset, ESeekOrigin origin) override {
        return m_file.Seek(offset, origin);
    }

protected:
    TDiskStream() = default;

    CDiskFile m_file;
};

// Each constructor opens the file named by a local "file" URI (or one without a scheme) as
// CDiskFile::Open describes; the stream's own access is always part of the mode.
class CDiskInStream : public TDiskStream<ISeekableInStream> {
public:
    explicit CDiskInStream(const P<CURI>& uri, const CStreamMode& mode = CStreamMode::Reading());

    void Read(void* buffer, std::size_t count) override;
    std::size_t ReadSome(void* buffer, std::size_t count) override;
};

class CDiskOutStream : public TDiskStream<ISeekableOutStream> {
public:
    explicit CDiskOutStream(const P<CURI>& uri, const CStreamMode& mode = CStreamMode::Creating());

    void Write(const void* data, std::size_t count) override;
    void Flush() override;
    void SetSize(std::uint64_t size) override;
};

class CDiskIOStream : public TDiskStream<ISeekableIOStream> {
public:
    // A position of the stream; going back to it is a seek.
    class CMarker : public CObject, public virtual IStreamMarker {
    public:
        CMarker(P<CDiskIOStream> stream, std::uint64_t position);

        std::uint64_t GetPosition() const override { return m_position; }
        void Restore() override;

    private:
        P<CDiskIOStream> m_stream;
        std::uint64_t m_position;
    };

    explicit CDiskIOStream(const P<CURI>& uri, const CStreamMode& mode = CStreamMode::Updating());

    void Read(void* buffer, std::size_t count) override;
    std::size_t ReadSome(void* buffer, std::size_t count) override;
    void Write(const void* data, std::size_t count) override;
    void Flush() override;
    void SetSize(std::uint64_t size) override;
    P<IStreamMarker> CreateMarker() override;
};

}  // namespace tarn::win32
