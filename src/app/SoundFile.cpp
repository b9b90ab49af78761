// The sound's file on both systems: a temporary copy of the content's music may be the
// sound's to remove, also when the player is ended by a signal.

#include <wx/filefn.h>
#include <wx/log.h>

#include "app/Sound.h"
#include "tarn/win32/TerminationCleanup.h"

void CSound::RemoveFileOnDestroy(bool remove) {
    if (remove == m_removeFile) return;
    m_removeFile = remove;
    if (remove) {
        tarn::win32::RemoveOnTermination(m_fileName);
    } else {
        tarn::win32::KeepOnTermination(m_fileName);
    }
}

void CSound::RemoveOwnFile() {
    if (!m_removeFile) return;
    if (wxFileExists(m_fileName)) {
        wxLogNull quiet;
        wxRemoveFile(m_fileName);
    }
    tarn::win32::KeepOnTermination(m_fileName);
}
