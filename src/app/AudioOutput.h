#pragma once
// The process's audio device: one sound at a time, fed from SDL's audio thread.
// SDL's audio subsystem lives exactly as long as the output: it is set up when the first
// sound needs it and shut down when the last one lets go.

#include <SDL_audio.h>

#include <cstdint>
#include <memory>

#include "lum/AudioClip.h"

class CAudioOutput {
public:
    // The format every sound is converted to on its way to the device.
    static constexpr int kFrequency = 44100;
    static constexpr SDL_AudioFormat kFormat = AUDIO_S16SYS;
    static constexpr Uint8 kChannels = 2;
    static constexpr Uint16 kBufferFrames = 1024;

    // The shared output, opened on first use. Without an audio device it stays closed and
    // every call is a harmless no-op.
    static std::shared_ptr<CAudioOutput> Acquire();
    // The shared output if one exists; does not open one.
    static std::shared_ptr<CAudioOutput> Existing();
    // Whether the clip's format can be converted to the device's.
    static bool CanPlay(const lum::CAudioClip& clip);

    ~CAudioOutput();
    CAudioOutput(const CAudioOutput&) = delete;
    CAudioOutput& operator=(const CAudioOutput&) = delete;

    bool IsOpen() const { return m_device != 0; }
    // Replaces whatever plays by the clip, from its start. owner identifies the caller for
    // the calls below. False when there is no device.
    bool Start(std::shared_ptr<const lum::CAudioClip> clip, bool loop, const void* owner);
    // Silences the output.
    void StopAll();
    // Silences the output only when owner's clip is the one playing.
    void Stop(const void* owner);
    // Whether owner's clip is still producing samples.
    bool IsPlaying(const void* owner) const;

private:
    class CVoice;

    CAudioOutput();
    static void SDLCALL Callback(void* self, Uint8* stream, int length);
    void Fill(Uint8* stream, int length);
    // Swaps the voice under the device lock and hands back the previous one, so that it is
    // freed outside the lock.
    std::unique_ptr<CVoice> Exchange(std::unique_ptr<CVoice> voice);

    bool m_subsystem = false;
    SDL_AudioDeviceID m_device = 0;
    SDL_AudioSpec m_deviceFormat{};
    std::unique_ptr<CVoice> m_voice;  // guarded by the device lock
};
