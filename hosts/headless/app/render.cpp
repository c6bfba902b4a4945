#include "hosts/headless/app/render.h"

#include <cairo.h>
#include <png.h>

#include <cstdio>
#include <cstring>

#include "hosts/kit/labels.h"

namespace dusk::headless {
namespace {

// The image as a PNG file, compressed lightly: frames are many and large, and a test reads them once.
bool EncodePng(cairo_surface_t* surface, const std::string& path) {
  const int width = cairo_image_surface_get_width(surface), height = cairo_image_surface_get_height(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  bool ok = false;
  if (info && setjmp(png_jmpbuf(png)) == 0) {
    png_init_io(png, file);
    png_set_compression_level(png, 1);
    png_set_filter(png, 0, PNG_FILTER_SUB);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    // Pixels are 0x00RRGGBB words: blue first in memory on this machine, then the unused byte.
    png_set_bgr(png);
    png_set_filler(png, 0, PNG_FILLER_AFTER);
    for (int y = 0; y < height; ++y) png_write_row(png, data + static_cast<size_t>(y) * stride);
    png_write_end(png, nullptr);
    ok = true;
  }
  png_destroy_write_struct(&png, &info);
  return std::fclose(file) == 0 && ok;
}

}  // namespace

bool WritePng(const WindowFrame& frame, const std::string& path) {
  if (!frame.canvas) return false;
  const Bitmap& canvas = *frame.canvas;
  if (canvas.width <= 0 || canvas.height <= 0) return false;
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, canvas.width, canvas.height);
  cairo_surface_flush(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  for (int y = 0; y < canvas.height; ++y)
    std::memcpy(data + static_cast<size_t>(y) * stride, canvas.Row(y), static_cast<size_t>(canvas.width) * 4);
  cairo_surface_mark_dirty(surface);

  cairo_t* cr = cairo_create(surface);
  kit::DrawLabels(cr, frame.labels);
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  const bool ok = EncodePng(surface, path);
  cairo_surface_destroy(surface);
  return ok;
}

}  // namespace dusk::headless
