// Drawing surfaces: software bitmaps identified by handles above 0, with the block transfers,
// stretch transfers and pixel writes of the platform's graphics interface, clipping included.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/bitmap.h"

namespace dusk {

// Raster operations the program uses.
enum class Rop { kSrcCopy, kSrcAnd, kSrcPaint, kBlackness };

// A transfer onto a surface, as recorded: a block transfer, or one pixel (w = h = 1) of `rgb`.
struct Transfer {
  int32_t dst = 0, x = 0, y = 0, w = 0, h = 0;
  int32_t src = 0, sx = 0, sy = 0;
  Rop rop = Rop::kSrcCopy;
  bool pixel = false;
  uint32_t rgb = 0;
  bool operator==(const Transfer&) const = default;
};

class Surfaces {
 public:
  // A new surface's handle (above 0).
  int32_t Add(Bitmap bitmap);
  // A blank (black) surface of the given size in the format of `reference` (32-bit without one).
  // 0 when the size cannot be made.
  int32_t AddBlank(int32_t width, int32_t height, int32_t reference);
  // Releases a surface: false for a handle that is not a live surface.
  bool Remove(int32_t handle);
  Bitmap* Find(int32_t handle);
  const Bitmap* Find(int32_t handle) const;
  size_t LiveCount() const;

  // Block transfer of w x h pixels from (sx, sy) of `src` to (x, y) of `dst`. Only pixels inside
  // both surfaces take part; a 0 or unknown source draws nothing (except BLACKNESS, which has none).
  void BitBlt(int32_t dst, int32_t x, int32_t y, int32_t w, int32_t h, int32_t src, int32_t sx,
              int32_t sy, Rop rop);
  // Stretch copy of the source rectangle onto the destination rectangle, nearest pixel. With a
  // clip, only the destination pixels inside it are written (each with the same source pixel).
  void StretchBlt(int32_t dst, int32_t x, int32_t y, int32_t w, int32_t h, int32_t src, int32_t sx,
                  int32_t sy, int32_t sw, int32_t sh, const Rect* clip = nullptr);
  void SetPixel(int32_t dst, int32_t x, int32_t y, uint32_t rgb);

  // While recording, block transfers and pixels onto `target` are kept, in order, instead of
  // drawn; Replay (once recording has stopped) draws such a list, all of it or only what falls
  // inside a clip.
  void Record(int32_t target);
  std::vector<Transfer> TakeRecording();  // and stops recording
  void Replay(const std::vector<Transfer>& transfers, const Rect* clip = nullptr);

  // Destination pixels written by transfers so far (what a frame costs in memory traffic).
  uint64_t PixelsWritten() const { return pixelsWritten_; }

 private:
  uint64_t pixelsWritten_ = 0;
  int32_t recordTarget_ = 0;
  std::vector<Transfer> recorded_;
  std::vector<std::unique_ptr<Bitmap>> slots_;  // handle n lives in slots_[n - 1]
};

}  // namespace dusk
