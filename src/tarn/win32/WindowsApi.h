#pragma once
// The Windows API for the platform's Windows sources. windows.h defines macros such as
// DeleteFile and MoveFile, which would rename the system object's operations of those names
// in the sources that see it and not in the others.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#undef CopyFile
#undef DeleteFile
#undef MoveFile
#undef Yield
