// <windows.h> for the host's own files, without the macros that would rename the seam's methods
// (MessageBox, GetProfileString, WriteProfileString): the real calls are always spelt with their
// A suffix here.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <mmsystem.h>

#undef MessageBox
#undef GetProfileString
#undef WriteProfileString
