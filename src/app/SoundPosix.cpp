// Sounds on Linux: decoded once, played through SDL's audio output.

#include "app/Sound.h"

#include <SDL_timer.h>
#include <wx/filefn.h>
#include <wx/log.h>

#include "app/AudioOutput.h"
#include "lum/AudioClip.h"
#include "tarn/win32/TerminationCleanup.h"
#include "tarn/win32/TickCount.h"

namespace {

// A stalled device must not hold a synchronous Play for ever.
constexpr std::uint32_t kSyncGraceMs = 2000;
constexpr std::uint32_t kSyncPollMs = 5;

}  // namespace

CSound::CSound(const std::wstring& fileName) : m_fileName(fileName) {
    auto clip = lum::CAudioClip::Load(fileName);
    if (clip && CAudioOutput::CanPlay(*clip)) m_clip = std::move(clip);
}

CSound::~CSound() {
    if (m_output) m_output->Stop(this);
    m_output.reset();
    RemoveOwnFile();
}

bool CSound::Play(unsigned flags) {
    const bool async = (flags & kSoundAsync) != 0;
    const bool loop = (flags & kSoundLoop) != 0;
    if (!m_clip || (loop && !async)) return false;
    if (!m_output) m_output = CAudioOutput::Acquire();
    if (!m_output->Start(m_clip, loop, this)) return false;
    if (!async) WaitUntilEnded();
    return true;
}

void CSound::StopPlayback() {
    if (m_output) m_output->Stop(this);
}

bool CSound::IsPlaying() const { return m_output && m_output->IsPlaying(this); }

void CSound::Stop() {
    if (const auto output = CAudioOutput::Existing()) output->StopAll();
}

void CSound::WaitUntilEnded() const {
    const std::uint32_t limit = m_clip->GetDurationMs() + kSyncGraceMs;
    const std::uint32_t start = tarn::win32::GetTickCount();
    while (IsPlaying() && tarn::win32::GetTickCount() - start < limit) SDL_Delay(kSyncPollMs);
}
