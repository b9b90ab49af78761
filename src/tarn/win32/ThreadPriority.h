#pragma once
// The system's side of thread priorities.

#include "tarn/win32/Thread.h"

namespace tarn::win32 {

// The system's id of the calling thread (never 0).
int CurrentSystemThreadId();
// Sets the priority of the thread with that id; false when the system refuses.
bool SetSystemThreadPriority(int id, EThreadPriority priority);

}  // namespace tarn::win32
