// Sounds on Windows: the toolkit's sound class (winmm's PlaySound) plays the file's bytes from
// memory, looping as stored. The bytes are decoded once beforehand, so that a file the player
// cannot read is refused here as on Linux instead of by the system's sound.

#include <wx/ffile.h>
#include <wx/filefn.h>
#include <wx/log.h>
#include <wx/sound.h>

#include <vector>

#include "app/Sound.h"
#include "lum/AudioClip.h"
#include "tarn/win32/TerminationCleanup.h"
#include "tarn/win32/TickCount.h"

namespace {

// The sound that plays (or played last); winmm plays one at a time.
const CSound* g_playing = nullptr;

std::vector<std::uint8_t> ReadAll(const std::wstring& fileName) {
    wxLogNull quiet;
    wxFFile file(fileName, "rb");
    if (!file.IsOpened()) return {};
    const wxFileOffset length = file.Length();
    if (length <= 0 || static_cast<std::uint64_t>(length) > lum::CAudioClip::kMaxFileSize) return {};
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length));
    if (file.Read(bytes.data(), bytes.size()) != bytes.size()) return {};
    return bytes;
}

}  // namespace

CSound::CSound(const std::wstring& fileName) : m_fileName(fileName) {
    const std::vector<std::uint8_t> bytes = ReadAll(fileName);
    if (bytes.empty()) return;
    auto clip = lum::CAudioClip::Decode(bytes.data(), bytes.size());
    if (!clip) return;
    auto sound = std::make_unique<wxSound>();
    if (!sound->Create(bytes.size(), bytes.data())) return;
    m_clip = std::move(clip);
    m_sound = std::move(sound);
}

CSound::~CSound() {
    // The system reads the bytes while it plays: they must not go before it stops.
    StopPlayback();
    m_sound.reset();
    RemoveOwnFile();
}

bool CSound::Play(unsigned flags) {
    const bool async = (flags & kSoundAsync) != 0;
    const bool loop = (flags & kSoundLoop) != 0;
    if (!m_sound || (loop && !async)) return false;
    unsigned wxFlags = async ? wxSOUND_ASYNC : wxSOUND_SYNC;
    if (loop) wxFlags |= wxSOUND_LOOP;
    g_playing = this;
    m_looping = loop;
    m_startedAt = tarn::win32::GetTickCount();
    if (!m_sound->Play(wxFlags)) {
        g_playing = nullptr;
        return false;
    }
    if (!async) g_playing = nullptr;
    return true;
}

void CSound::StopPlayback() {
    if (g_playing != this) return;
    wxSound::Stop();
    g_playing = nullptr;
}

bool CSound::IsPlaying() const {
    if (g_playing != this) return false;
    // winmm does not tell; a sound plays for its length, a looping one until stopped.
    return m_looping || tarn::win32::GetTickCount() - m_startedAt < m_clip->GetDurationMs();
}

void CSound::Stop() {
    wxSound::Stop();
    g_playing = nullptr;
}

