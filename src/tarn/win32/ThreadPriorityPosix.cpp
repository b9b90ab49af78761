#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "tarn/win32/ThreadPriority.h"

namespace tarn::win32 {

namespace {

// Threads of one process have their own nice values on Linux; each step is five of them.
int NiceValue(EThreadPriority priority) { return -5 * static_cast<int>(priority); }

}  // namespace

int CurrentSystemThreadId() { return static_cast<int>(syscall(SYS_gettid)); }

// Lowering always works; raising above the normal priority needs privileges on Linux.
bool SetSystemThreadPriority(int id, EThreadPriority priority) {
    return setpriority(PRIO_PROCESS, static_cast<id_t>(id), NiceValue(priority)) == 0;
}

}  // namespace tarn::win32
