#include "tarn/win32/System.h"

#include "tarn/Singleton.h"
#include "tarn/win32/DiskStreamFactory.h"
#include "tarn/win32/VersionText.h"

namespace tarn::win32 {

namespace {

// The platform comes up with its system object: from then on files open by URI.
P<IWin32System> MakeSystem() {
    CDiskStreamFactory::RegisterWithStreamManager();
    return New<CSystem>();
}

}  // namespace

CSystem::CSystem() : m_pathes(New<CPathes>()) {}

std::wstring CSystem::GetVersionText() { return LocalVersionText(); }

std::uint32_t CSystem::GetLibraryVersion(const std::wstring& library) {
    // None of the versioned shell libraries exist here; each counts as 4.0, asked once.
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_libraryVersions.try_emplace(library, kDefaultLibraryVersion).first->second;
}

void CSystem::SeedUniqueNames(std::uint32_t seed) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_random.seed(seed);
}

P<IWin32System> GetSystem() {
    static TSingletonHolder<IWin32System> holder;
    return holder.Get(&MakeSystem);
}

}  // namespace tarn::win32
