#pragma once
// A WAV sound, with the operations of the toolkit's sound class that the player needs. On
// Linux it plays through SDL's audio output (the toolkit's own plays through a device modern
// systems lack), on Windows through the toolkit's sound class from memory. Only one sound
// plays at a time: playing a sound replaces the one that was playing. Without an audio device
// everything goes on silently.

#include <cstdint>
#include <memory>
#include <string>

namespace lum {
class CAudioClip;
}
class CAudioOutput;
class wxSound;

// Play flags, combined with |.
inline constexpr unsigned kSoundSync = 0;   // return when the sound has ended
inline constexpr unsigned kSoundAsync = 1;  // return at once
inline constexpr unsigned kSoundLoop = 2;   // repeat until stopped; only with kSoundAsync

class CSound {
public:
    // Reads and decodes the WAV file at once; IsOk tells whether that worked.
    explicit CSound(const std::wstring& fileName);
    // Stops this sound if it plays; removes the file when asked to.
    ~CSound();
    CSound(const CSound&) = delete;
    CSound& operator=(const CSound&) = delete;

    bool IsOk() const { return m_clip != nullptr; }
    // Starts the sound from its beginning. False when it cannot be played: not a sound,
    // no audio device, or kSoundLoop without kSoundAsync.
    bool Play(unsigned flags = kSoundAsync);
    // Stops this sound if it is the one playing.
    void StopPlayback();
    // Whether this sound still produces samples (a looping one until it is stopped).
    bool IsPlaying() const;

    // Stops whatever sound plays.
    static void Stop();

    // Makes the destructor delete the file: for a temporary copy made just to be played. The
    // file also goes when the process is ended by a signal.
    void RemoveFileOnDestroy(bool remove = true);

    const std::wstring& GetFileName() const { return m_fileName; }

private:
    void WaitUntilEnded() const;
    // Removes the file when it is the sound's to remove (see RemoveFileOnDestroy).
    void RemoveOwnFile();

    std::wstring m_fileName;
    std::shared_ptr<const lum::CAudioClip> m_clip;
#ifdef _WIN32
    std::unique_ptr<wxSound> m_sound;  // the file's bytes, as stored
    std::uint32_t m_startedAt = 0;     // tick count of the last Play
    bool m_looping = false;
#else
    std::shared_ptr<CAudioOutput> m_output;  // taken on first Play
#endif
    bool m_removeFile = false;
};
