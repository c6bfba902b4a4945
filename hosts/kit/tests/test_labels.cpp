// Label text as the hosts without GDI draw it: too long for its box, it ends in "..." after
// whole characters, as the Windows host's end ellipsis draws it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hosts/kit/labels.h"

namespace dusk::kit {
namespace {

std::vector<uint32_t> Draw(const LabelLayout& label, int width = 320, int height = 40) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  cairo_t* cr = cairo_create(s);
  DrawLabels(cr, {label});
  cairo_destroy(cr);
  cairo_surface_flush(s);
  const auto* data = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(s));
  std::vector<uint32_t> px;
  const int stride = cairo_image_surface_get_stride(s) / 4;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) px.push_back(data[y * stride + x] & 0xFFFFFF);
  cairo_surface_destroy(s);
  return px;
}

TEST(Labels, TextTooLongForItsBoxEndsInAnEllipsisAfterWholeCharacters) {
  const std::string text = "  I shall not be cut mid-letter, whatever the size \xC3\xA9t\xC3\xA9  ";
  for (int fontPixels : {16, 24}) {
    for (Alignment align : {Alignment::kLeft, Alignment::kCenter}) {
      LabelLayout l{text, Rect{10, 5, 250, 5 + fontPixels + 4}, fontPixels, 0xC0C0C0, 0, align};
      const std::vector<uint32_t> drawn = Draw(l);
      size_t shown = 0;  // the characters before the ellipsis whose drawing matches
      for (size_t k = 1; k < text.size(); ++k) {
        if ((static_cast<unsigned char>(text[k]) & 0xC0) == 0x80) continue;
        LabelLayout whole = l;
        whole.text = text.substr(0, k) + "...";
        if (Draw(whole) == drawn) shown = k;
      }
      EXPECT_GT(shown, 20u) << fontPixels;  // most of the box is used
      // A text that fits is drawn as it is.
      LabelLayout fits = l;
      fits.text = "  Boo  ";
      LabelLayout wide = fits;
      wide.box.right = 310;
      if (align == Alignment::kLeft) {
        EXPECT_EQ(Draw(fits), Draw(wide));
      }
    }
  }
}

}  // namespace
}  // namespace dusk::kit
