// The picture decoder on Windows: the Windows Imaging Component, the system's own maintained
// decoders, each pinned to the format at hand so that it never guesses another one from the
// bytes. The header check runs first, so WIC never sees a picture above the limits.

#include "tarn/win32/WindowsApi.h"
#include <objbase.h>
#include <wincodec.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "tarn/win32/BmpRunLength.h"
#include "tarn/win32/PictureDecoder.h"

namespace tarn::win32 {
namespace {

bool Fail(std::string& error, std::string reason) {
    error = std::move(reason);
    return false;
}

std::string HexCode(HRESULT result) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text = "0x";
    for (int shift = 28; shift >= 0; shift -= 4) text += kHex[(static_cast<unsigned long>(result) >> shift) & 0xF];
    return text;
}

// Holds one reference of a COM object.
template <typename T>
class TComRef {
public:
    TComRef() = default;
    TComRef(const TComRef&) = delete;
    TComRef& operator=(const TComRef&) = delete;
    ~TComRef() {
        if (m_object) m_object->Release();
    }
    T** Out() { return &m_object; }
    T* operator->() const { return m_object; }
    T* Get() const { return m_object; }

private:
    T* m_object = nullptr;
};

// COM for the calling thread, for as long as the decoding runs. Pictures are decoded on worker
// threads too; a thread that already has COM (the GUI thread) keeps its own.
class CComScope {
public:
    CComScope() {
        const HRESULT result = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        m_owned = SUCCEEDED(result);
        m_usable = m_owned || result == RPC_E_CHANGED_MODE;
    }
    ~CComScope() {
        if (m_owned) ::CoUninitialize();
    }
    CComScope(const CComScope&) = delete;
    CComScope& operator=(const CComScope&) = delete;
    bool IsUsable() const { return m_usable; }

private:
    bool m_owned = false;
    bool m_usable = false;
};

// One WIC decoder over bytes in memory, of the container format given.
class CWicDecoder {
public:
    bool Open(const GUID& container, const std::uint8_t* data, std::size_t size,
              std::string& error) {
        if (!m_com.IsUsable()) return Fail(error, "cannot be decoded here (COM is not available)");
        if (size == 0) return Fail(error, "is empty");
        if (size > 0xFFFFFFFFu) return Fail(error, "is too large");
        HRESULT result = ::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                            IID_IWICImagingFactory,
                                            reinterpret_cast<void**>(m_factory.Out()));
        if (FAILED(result)) return Fail(error, "cannot be decoded here (no WIC, " + HexCode(result) + ")");
        result = m_factory->CreateStream(m_stream.Out());
        if (SUCCEEDED(result)) {
            // WIC only reads the bytes; the interface just does not say so.
            result = m_stream->InitializeFromMemory(const_cast<BYTE*>(data), static_cast<DWORD>(size));
        }
        if (SUCCEEDED(result)) result = m_factory->CreateDecoder(container, nullptr, m_decoder.Out());
        if (SUCCEEDED(result)) {
            result = m_decoder->Initialize(m_stream.Get(), WICDecodeMetadataCacheOnDemand);
        }
        if (FAILED(result)) return Fail(error, "does not decode (" + HexCode(result) + ")");
        return true;
    }

    IWICBitmapDecoder* Decoder() const { return m_decoder.Get(); }

    // The frame's own pixels, converted to non-premultiplied RGBA.
    bool Pixels(IWICBitmapFrameDecode* frame, const SPictureLimits& limits, SPixels& pixels,
                std::string& error) const {
        UINT width = 0;
        UINT height = 0;
        HRESULT result = frame->GetSize(&width, &height);
        if (FAILED(result)) return Fail(error, "does not decode (" + HexCode(result) + ")");
        // A second guard behind the header check, before anything is allocated.
        if (width == 0 || height == 0 || width > static_cast<UINT>(limits.maxSide) ||
            height > static_cast<UINT>(limits.maxSide) ||
            std::int64_t{width} * height > limits.maxPixels) {
            return Fail(error, "declares a picture above the limits");
        }
        TComRef<IWICFormatConverter> converter;
        result = m_factory->CreateFormatConverter(converter.Out());
        if (SUCCEEDED(result)) {
            result = converter->Initialize(frame, GUID_WICPixelFormat32bppRGBA,
                                           WICBitmapDitherTypeNone, nullptr, 0.0,
                                           WICBitmapPaletteTypeCustom);
        }
        pixels.width = static_cast<int>(width);
        pixels.height = static_cast<int>(height);
        pixels.rgba.assign(std::size_t{4} * width * height, 0);
        if (SUCCEEDED(result)) {
            result = converter->CopyPixels(nullptr, 4 * width, static_cast<UINT>(pixels.rgba.size()),
                                           pixels.rgba.data());
        }
        if (FAILED(result)) return Fail(error, "does not decode (" + HexCode(result) + ")");
        return true;
    }

private:
    CComScope m_com;
    TComRef<IWICImagingFactory> m_factory;
    TComRef<IWICStream> m_stream;
    TComRef<IWICBitmapDecoder> m_decoder;
};

bool DecodeStill(const GUID& container, const std::uint8_t* data, std::size_t size,
                 const SPictureLimits& limits, SPixels& pixels, std::string& error) {
    CWicDecoder decoder;
    if (!decoder.Open(container, data, size, error)) return false;
    TComRef<IWICBitmapFrameDecode> frame;
    const HRESULT result = decoder.Decoder()->GetFrame(0, frame.Out());
    if (FAILED(result)) return Fail(error, "does not decode to a picture (" + HexCode(result) + ")");
    return decoder.Pixels(frame.Get(), limits, pixels, error);
}

// The chosen picture of an icon file as a file of its own, so that WIC (which would hand out
// every picture) decodes exactly that one.
std::vector<std::uint8_t> SingleIcon(const std::uint8_t* data, std::size_t index,
                                     const SIconEntry& icon) {
    constexpr std::uint8_t kHeader[] = {0, 0, 1, 0, 1, 0};
    constexpr std::uint32_t kPictureAt = 6 + 16;
    std::vector<std::uint8_t> file(kHeader, kHeader + sizeof kHeader);
    const std::uint8_t* entry = data + 6 + 16 * index;
    file.insert(file.end(), entry, entry + 12);
    for (int shift = 0; shift < 32; shift += 8) file.push_back((kPictureAt >> shift) & 0xFF);
    file.insert(file.end(), data + icon.offset, data + icon.offset + icon.size);
    return file;
}

bool DecodeIcon(const std::uint8_t* data, const SPictureHeader& header,
                const SPictureLimits& limits, SPixels& pixels, std::string& error) {
    const std::size_t index = ChooseIcon(header.icons);
    const SIconEntry& icon = header.icons[index];
    if (icon.png) {
        return DecodeStill(GUID_ContainerFormatPng, data + icon.offset, icon.size, limits, pixels,
                           error);
    }
    const std::vector<std::uint8_t> single = SingleIcon(data, index, icon);
    return DecodeStill(GUID_ContainerFormatIco, single.data(), single.size(), limits, pixels, error);
}

// The disposal of a GIF frame as its graphic control extension says; 0 when it has none.
int Disposal(IWICBitmapFrameDecode* frame) {
    TComRef<IWICMetadataQueryReader> reader;
    if (FAILED(frame->GetMetadataQueryReader(reader.Out()))) return 0;
    PROPVARIANT value;
    ::PropVariantInit(&value);
    int disposal = 0;
    if (SUCCEEDED(reader->GetMetadataByName(L"/grctlext/Disposal", &value)) && value.vt == VT_UI1) {
        disposal = value.bVal;
    }
    ::PropVariantClear(&value);
    return disposal;
}

// Draws a frame's pixels onto the canvas at its place; transparent pixels leave the canvas.
void Paint(SPixels& canvas, const SPixels& part, const SGifFrame& place) {
    for (int y = 0; y < part.height; ++y) {
        const int canvasY = place.top + y;
        if (canvasY < 0 || canvasY >= canvas.height) continue;
        for (int x = 0; x < part.width; ++x) {
            const int canvasX = place.left + x;
            if (canvasX < 0 || canvasX >= canvas.width) continue;
            const std::uint8_t* from = &part.rgba[(std::size_t(y) * part.width + x) * 4];
            if (from[3] == 0) continue;
            std::memcpy(&canvas.rgba[(std::size_t(canvasY) * canvas.width + canvasX) * 4], from, 4);
        }
    }
}

void Clear(SPixels& canvas, const SGifFrame& place) {
    for (int y = std::max(place.top, 0); y < std::min(place.top + place.height, canvas.height); ++y) {
        for (int x = std::max(place.left, 0); x < std::min(place.left + place.width, canvas.width); ++x) {
            std::memset(&canvas.rgba[(std::size_t(y) * canvas.width + x) * 4], 0, 4);
        }
    }
}

// Composes every frame on the canvas, as the frames before it left it, and hands each on.
bool ComposeFrames(const CWicDecoder& decoder, const SPictureHeader& header,
                   const SAnimationLimits& limits, const FrameSink& sink, std::string& error) {
    UINT count = 0;
    if (FAILED(decoder.Decoder()->GetFrameCount(&count)) || count < header.frames.size()) {
        return Fail(error, "has fewer frames than it lists");
    }
    SAnimationFrame frame;
    frame.pixels.width = header.width;
    frame.pixels.height = header.height;
    frame.pixels.rgba.assign(std::size_t{4} * header.width * header.height, 0);
    SPixels part;
    std::vector<std::uint8_t> saved;
    for (std::size_t i = 0; i < header.frames.size(); ++i) {
        TComRef<IWICBitmapFrameDecode> decoded;
        if (FAILED(decoder.Decoder()->GetFrame(static_cast<UINT>(i), decoded.Out())) ||
            !decoder.Pixels(decoded.Get(), limits.picture, part, error)) {
            return Fail(error, "does not decode frame " + std::to_string(i + 1));
        }
        const SGifFrame& place = header.frames[i];
        const int disposal = Disposal(decoded.Get());
        if (disposal == 3) saved = frame.pixels.rgba;
        Paint(frame.pixels, part, place);
        frame.delay = place.delay;
        if (!sink(frame)) return Fail(error, "could not keep frame " + std::to_string(i + 1));
        if (disposal == 2) Clear(frame.pixels, place);
        if (disposal == 3) frame.pixels.rgba.swap(saved);
    }
    return true;
}

// The first frame on the canvas, as a viewer shows the file at rest.
bool DecodeGifStill(const std::uint8_t* data, std::size_t size, SPictureHeader header,
                    const SPictureLimits& limits, SPixels& pixels, std::string& error) {
    if (header.frames.empty()) return Fail(error, "holds no picture");
    header.frames.resize(1);
    CWicDecoder decoder;
    if (!decoder.Open(GUID_ContainerFormatGif, data, size, error)) return false;
    SAnimationLimits animationLimits;
    animationLimits.picture = limits;
    return ComposeFrames(decoder, header, animationLimits,
                         [&pixels](const SAnimationFrame& frame) {
                             pixels = frame.pixels;
                             return true;
                         },
                         error);
}

}  // namespace

bool DecodePicture(EPictureFormat format, const std::uint8_t* data, std::size_t size,
                   const SPictureLimits& limits, SPixels& pixels, std::string& error) {
    SPictureHeader header;
    if (!ReadPictureHeader(format, data, size, limits, header, error)) return false;
    switch (format) {
        case EPictureFormat::Bmp:
            // WIC leaves the pixels a run skips undefined; they are transparent everywhere.
            if (IsRunLengthBmp(data, size)) return DecodeRunLengthBmp(data, size, pixels, error);
            return DecodeStill(GUID_ContainerFormatBmp, data, size, limits, pixels, error);
        case EPictureFormat::Ico:
            return DecodeIcon(data, header, limits, pixels, error);
        case EPictureFormat::Gif:
            return DecodeGifStill(data, size, std::move(header), limits, pixels, error);
        case EPictureFormat::Png:
        case EPictureFormat::Jpeg:
            break;
    }
    return Fail(error, "is of a format this decoder leaves to the toolkit");
}

bool DecodeAnimation(const std::uint8_t* data, std::size_t size, const SAnimationLimits& limits,
                     const FrameSink& sink, std::string& error) {
    SPictureHeader header;
    if (!ReadAnimationHeader(data, size, limits, header, error)) return false;
    CWicDecoder decoder;
    if (!decoder.Open(GUID_ContainerFormatGif, data, size, error)) return false;
    return ComposeFrames(decoder, header, limits, sink, error);
}

}  // namespace tarn::win32
