#include "tarn/win32/Thread.h"

#include <system_error>

#include "tarn/Exception.h"
#include "tarn/Text.h"
#include "tarn/win32/ThreadManager.h"
#include "tarn/win32/ThreadPriority.h"

namespace tarn::win32 {

CThreadImpl::CThreadImpl(std::function<void()> body) {
    AddRef();  // the body's reference, adopted by Run
    try {
        m_thread = std::thread(&CThreadImpl::Run, this, std::move(body));
    } catch (const std::system_error& error) {
        m_refs.fetch_sub(1);
        throw CError(SetPlaceholder(L"Error creating thread (%ERRORDESC%).", L"ERRORDESC",
                                    FromUtf8(error.what())));
    }
}

CThreadImpl::~CThreadImpl() {
    // The last reference normally goes with the body, on the thread itself.
    if (m_thread.joinable() && m_thread.get_id() == std::this_thread::get_id()) {
        m_thread.detach();
    } else {
        Wait();
    }
}

void CThreadImpl::Run(std::function<void()> body) {
    const P<CThreadImpl> self = P<CThreadImpl>::Adopt(this);
    m_systemId.store(CurrentSystemThreadId());
    try {
        body();
    } catch (...) {
        // A worker's failure must not end the process; the body reports its own errors.
    }
    m_finished.store(true);
}

void CThreadImpl::SetPriority(EThreadPriority priority) {
    while (m_systemId.load() == 0 && !m_finished.load()) CThreadManager::Instance()->Yield(false);
    const int id = m_systemId.load();
    if (m_finished.load() || !SetSystemThreadPriority(id, priority)) {
        throw CException(L"Error setting thread priority", L"Error");
    }
    m_priority = priority;
}

void CThreadImpl::Wait() {
    std::lock_guard<std::mutex> lock(m_joining);
    if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id()) m_thread.join();
}

}  // namespace tarn::win32
