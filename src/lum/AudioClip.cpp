#include "lum/AudioClip.h"

#include <SDL_rwops.h>
#include <wx/file.h>
#include <wx/filefn.h>
#include <wx/log.h>

#include <utility>

namespace lum {

namespace {

std::vector<std::uint8_t> ReadFile(const std::wstring& fileName, std::size_t limit) {
    wxLogNull quiet;  // a missing or unreadable file is reported by the result alone
    wxFile file;
    if (!wxFileExists(fileName) || !file.Open(fileName)) return {};
    const wxFileOffset length = file.Length();
    if (length <= 0 || static_cast<std::size_t>(length) > limit) return {};
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length));
    if (file.Read(bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) return {};
    return bytes;
}

std::size_t FrameSize(const SDL_AudioSpec& format) {
    return static_cast<std::size_t>(SDL_AUDIO_BITSIZE(format.format) / 8) * format.channels;
}

}  // namespace

std::shared_ptr<const CAudioClip> CAudioClip::Load(const std::wstring& fileName) {
    const std::vector<std::uint8_t> file = ReadFile(fileName, kMaxFileSize);
    if (file.empty()) return nullptr;
    return Decode(file.data(), file.size());
}

std::shared_ptr<const CAudioClip> CAudioClip::Decode(const std::uint8_t* data, std::size_t size,
                                                     std::string* error) {
    const auto fail = [error](const std::string& reason) {
        if (error != nullptr) *error = reason;
        return nullptr;
    };
    if (size > kMaxFileSize)
        return fail("larger than " + std::to_string(kMaxFileSize >> 20) + " MiB");
    SDL_RWops* source = SDL_RWFromConstMem(data, static_cast<int>(size));
    if (!source) return fail(SDL_GetError());
    SDL_AudioSpec format{};
    Uint8* samples = nullptr;
    Uint32 length = 0;
    if (!SDL_LoadWAV_RW(source, 1, &format, &samples, &length)) return fail(SDL_GetError());
    std::unique_ptr<Uint8, decltype(&SDL_FreeWAV)> owned(samples, &SDL_FreeWAV);

    const std::size_t frame = FrameSize(format);
    if (frame == 0 || format.freq <= 0) return fail("no usable sample format");
    if (length > kMaxDecodedSize) {
        return fail("larger than " + std::to_string(kMaxDecodedSize >> 20) + " MiB once decoded");
    }
    const std::size_t whole = length - length % frame;
    std::vector<std::uint8_t> bytes(samples, samples + whole);
    return std::shared_ptr<const CAudioClip>(new CAudioClip(format, std::move(bytes)));
}

std::size_t CAudioClip::GetFrameSize() const { return FrameSize(m_format); }

std::uint32_t CAudioClip::GetDurationMs() const {
    const std::size_t frames = m_bytes.size() / GetFrameSize();
    return static_cast<std::uint32_t>(frames * 1000u / static_cast<std::size_t>(m_format.freq));
}

}  // namespace lum
