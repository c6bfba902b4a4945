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

#include <string>

namespace dusk {

// Texts at the seam are UTF-8; the system's wide calls take them whatever its code page is.
inline std::wstring Wide(const std::string& utf8) {
  if (utf8.empty()) return std::wstring();
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), w.data(), n);
  return w;
}

inline std::string Utf8(const wchar_t* text, int length = -1) {
  if (!text || length == 0) return std::string();
  const int n = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(CP_UTF8, 0, text, length, s.data(), n, nullptr, nullptr);
  if (length < 0 && !s.empty()) s.pop_back();  // the terminating zero
  return s;
}

}  // namespace dusk
