// Controls of the program's windows as plain data: a host renders them and forwards events.
#pragma once

#include <cstdint>
#include <string>

namespace dusk {

struct TimerControl {
  int32_t Interval = 0;  // milliseconds; 0 means no ticks
  bool Enabled = false;
};

enum class Alignment { kLeft, kCenter };

struct LabelControl {
  std::string Caption;
  int32_t Left = 0, Top = 0, Width = 0, Height = 0;  // pixels
  bool Visible = false;
  Alignment TextAlign = Alignment::kCenter;
};

// The look both saver labels share: Arial 12 pt bold, dark grey on a black box.
inline constexpr const char* kLabelFont = "Arial";
inline constexpr int kLabelPoints = 12;
inline constexpr int kLabelWeight = 700;
inline constexpr uint32_t kLabelTextColor = 0x404040;  // RGB(64, 64, 64)
inline constexpr uint32_t kLabelBackColor = 0x000000;

}  // namespace dusk
