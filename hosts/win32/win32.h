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

// How the host hands every picture to GDI: 32 bits a pixel (0x00RRGGBB), top row first.
inline BITMAPINFO TopDownRgb32(int width, int height) {
  BITMAPINFO bmi{};
  bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
  bmi.bmiHeader.biWidth = width;
  bmi.bmiHeader.biHeight = -height;
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  bmi.bmiHeader.biCompression = BI_RGB;
  return bmi;
}
