#include "app/AudioOutput.h"

#include <SDL.h>

#include <algorithm>
#include <mutex>
#include <utility>

namespace {

std::mutex g_outputMutex;
std::weak_ptr<CAudioOutput> g_output;  // guarded by g_outputMutex

struct SStreamDeleter {
    void operator()(SDL_AudioStream* stream) const { SDL_FreeAudioStream(stream); }
};
using StreamPtr = std::unique_ptr<SDL_AudioStream, SStreamDeleter>;

StreamPtr NewStream(const SDL_AudioSpec& from) {
    return StreamPtr(SDL_NewAudioStream(from.format, from.channels, from.freq,
                                        CAudioOutput::kFormat, CAudioOutput::kChannels,
                                        CAudioOutput::kFrequency));
}

}  // namespace

// One clip on its way to the device: converted in pieces as the device asks for samples,
// so a long clip never exists twice in memory.
class CAudioOutput::CVoice {
public:
    CVoice(std::shared_ptr<const lum::CAudioClip> clip, bool loop, const void* owner)
        : m_clip(std::move(clip)),
          m_stream(NewStream(m_clip->GetAudioFormat())),
          m_loop(loop),
          m_owner(owner) {}

    bool IsValid() const { return m_stream != nullptr; }
    bool IsFinished() const { return m_finished; }
    const void* GetOwner() const { return m_owner; }

    // Writes up to length bytes of converted samples; fewer once a single play has ended.
    int Read(Uint8* out, int length) {
        int written = 0;
        while (written < length && !m_finished) {
            const int got = SDL_AudioStreamGet(m_stream.get(), out + written, length - written);
            if (got < 0) break;
            written += got;
            if (written < length && !Feed()) break;
        }
        if (written < length) m_finished = true;
        return written;
    }

private:
    // SDL 2.26's resampler drops up to a buffer of output at the end of a stream fed in
    // larger pieces; small pieces keep a single play complete.
    static constexpr std::size_t kPieceFrames = 256;

    // Puts the next piece of the clip into the converter; false when nothing more comes.
    bool Feed() {
        const auto& bytes = m_clip->GetBytes();
        if (m_position >= bytes.size()) {
            if (m_loop && !bytes.empty()) {
                m_position = 0;
            } else if (!m_flushed) {
                m_flushed = true;  // hands out what the converter still holds
                return SDL_AudioStreamFlush(m_stream.get()) == 0;
            } else {
                return false;
            }
        }
        const std::size_t piece =
            std::min(kPieceFrames * m_clip->GetFrameSize(), bytes.size() - m_position);
        if (SDL_AudioStreamPut(m_stream.get(), bytes.data() + m_position,
                               static_cast<int>(piece)) != 0) {
            return false;
        }
        m_position += piece;
        return true;
    }

    std::shared_ptr<const lum::CAudioClip> m_clip;
    StreamPtr m_stream;
    bool m_loop;
    const void* m_owner;
    std::size_t m_position = 0;
    bool m_flushed = false;
    bool m_finished = false;
};

std::shared_ptr<CAudioOutput> CAudioOutput::Acquire() {
    std::lock_guard lock(g_outputMutex);
    auto output = g_output.lock();
    if (!output) {
        output.reset(new CAudioOutput());
        g_output = output;
    }
    return output;
}

std::shared_ptr<CAudioOutput> CAudioOutput::Existing() {
    std::lock_guard lock(g_outputMutex);
    return g_output.lock();
}

bool CAudioOutput::CanPlay(const lum::CAudioClip& clip) { return NewStream(clip.GetAudioFormat()) != nullptr; }

CAudioOutput::CAudioOutput() {
    // SDL would otherwise take SIGINT and SIGTERM for its own event queue, which nobody
    // reads here: the player could no longer be ended while music plays.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return;
    m_subsystem = true;
    SDL_AudioSpec wanted{};
    wanted.freq = kFrequency;
    wanted.format = kFormat;
    wanted.channels = kChannels;
    wanted.samples = kBufferFrames;
    wanted.callback = &CAudioOutput::Callback;
    wanted.userdata = this;
    // No changes allowed: SDL adapts our format to the hardware itself.
    m_device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &m_deviceFormat, 0);
    if (m_device != 0) SDL_PauseAudioDevice(m_device, 0);
}

CAudioOutput::~CAudioOutput() {
    if (m_device != 0) SDL_CloseAudioDevice(m_device);  // waits for the audio thread
    m_voice.reset();
    if (m_subsystem) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool CAudioOutput::Start(std::shared_ptr<const lum::CAudioClip> clip, bool loop, const void* owner) {
    if (m_device == 0 || !clip) return false;
    auto voice = std::make_unique<CVoice>(std::move(clip), loop, owner);
    if (!voice->IsValid()) return false;
    Exchange(std::move(voice));
    return true;
}

void CAudioOutput::StopAll() { Exchange(nullptr); }

void CAudioOutput::Stop(const void* owner) {
    if (m_device == 0) return;
    std::unique_ptr<CVoice> previous;
    SDL_LockAudioDevice(m_device);
    if (m_voice && m_voice->GetOwner() == owner) previous = std::move(m_voice);
    SDL_UnlockAudioDevice(m_device);
}

bool CAudioOutput::IsPlaying(const void* owner) const {
    if (m_device == 0) return false;
    SDL_LockAudioDevice(m_device);
    const bool playing = m_voice && m_voice->GetOwner() == owner && !m_voice->IsFinished();
    SDL_UnlockAudioDevice(m_device);
    return playing;
}

void SDLCALL CAudioOutput::Callback(void* self, Uint8* stream, int length) {
    static_cast<CAudioOutput*>(self)->Fill(stream, length);
}

void CAudioOutput::Fill(Uint8* stream, int length) {
    const int written = m_voice ? m_voice->Read(stream, length) : 0;
    if (written < length) SDL_memset(stream + written, m_deviceFormat.silence, length - written);
}

std::unique_ptr<CAudioOutput::CVoice> CAudioOutput::Exchange(std::unique_ptr<CVoice> voice) {
    if (m_device == 0) return voice;
    SDL_LockAudioDevice(m_device);
    std::swap(m_voice, voice);
    SDL_UnlockAudioDevice(m_device);
    return voice;
}
