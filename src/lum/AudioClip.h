#pragma once
// A sound decoded from a WAV file: its sample format and its sample frames.

#include <SDL_audio.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "lum/data/Music.h"

namespace lum {

class CAudioClip {
public:
    // Larger files are refused rather than read into memory.
    static constexpr std::size_t kMaxFileSize = data::CMusic::kMaxBytes;
    // Compressed WAV data may grow when decoded; beyond this it is refused as well.
    static constexpr std::size_t kMaxDecodedSize = 512u << 20;

    // Reads and decodes the file; null when it is missing, too large or not a WAV file
    // SDL can decode.
    static std::shared_ptr<const CAudioClip> Load(const std::wstring& fileName);
    // Decodes WAV bytes; null (and the reason in error, when given) when they do not decode.
    static std::shared_ptr<const CAudioClip> Decode(const std::uint8_t* data, std::size_t size,
                                                    std::string* error = nullptr);

    const SDL_AudioSpec& GetAudioFormat() const { return m_format; }
    // Whole sample frames only.
    const std::vector<std::uint8_t>& GetBytes() const { return m_bytes; }
    std::size_t GetFrameSize() const;
    std::uint32_t GetDurationMs() const;

private:
    CAudioClip(const SDL_AudioSpec& format, std::vector<std::uint8_t> bytes)
        : m_format(format), m_bytes(std::move(bytes)) {}

    SDL_AudioSpec m_format;
    std::vector<std::uint8_t> m_bytes;
};

}  // namespace lum
