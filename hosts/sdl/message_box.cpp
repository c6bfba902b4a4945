#include "hosts/sdl/message_box.h"

#include <SDL.h>
#include <cairo.h>

#include <sstream>
#include <vector>

#include "platform/controls.h"

namespace dusk::sdl {
namespace {

constexpr int kWidth = 460, kPad = 16, kButtonW = 88, kButtonH = 26;
constexpr double kFontPixels = 10 * 96.0 / 72.0;  // 10 points

void Font(cairo_t* cr) {
  cairo_select_font_face(cr, kLabelFont, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, kFontPixels);
}

// The text in lines that fit the box, paragraph by paragraph.
std::vector<std::string> Wrap(cairo_t* cr, const std::string& text, double width) {
  std::vector<std::string> lines;
  std::istringstream paragraphs(text);
  for (std::string paragraph; std::getline(paragraphs, paragraph);) {
    std::istringstream words(paragraph);
    std::string line;
    for (std::string word; words >> word;) {
      const std::string longer = line.empty() ? word : line + " " + word;
      cairo_text_extents_t e;
      cairo_text_extents(cr, longer.c_str(), &e);
      if (e.x_advance > width && !line.empty()) {
        lines.push_back(line);
        line = word;
      } else {
        line = longer;
      }
    }
    lines.push_back(line);
  }
  return lines;
}

}  // namespace

bool ShowOwnMessageBox(const std::string& title, const std::string& text, const std::atomic<int>& stop) {
  cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1);
  cairo_t* measure = cairo_create(scratch);
  Font(measure);
  const std::vector<std::string> lines = Wrap(measure, text, kWidth - 2 * kPad);
  cairo_font_extents_t fe;
  cairo_font_extents(measure, &fe);
  cairo_destroy(measure);
  cairo_surface_destroy(scratch);
  const int lineH = static_cast<int>(fe.height + 0.5);
  const int height = kPad + static_cast<int>(lines.size()) * lineH + kPad + kButtonH + kPad;
  SDL_Rect button{(kWidth - kButtonW) / 2, height - kPad - kButtonH, kButtonW, kButtonH};

  SDL_Window* w = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kWidth, height,
                                   SDL_WINDOW_ALWAYS_ON_TOP);
  if (!w) return false;
  SDL_RaiseWindow(w);
  cairo_surface_t* page = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, height);
  auto draw = [&] {
    cairo_t* cr = cairo_create(page);
    cairo_set_source_rgb(cr, 0.94, 0.94, 0.94);
    cairo_paint(cr);
    Font(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    for (size_t i = 0; i < lines.size(); ++i) {
      cairo_move_to(cr, kPad, kPad + fe.ascent + static_cast<double>(i) * lineH);
      cairo_show_text(cr, lines[i].c_str());
    }
    cairo_rectangle(cr, button.x + 0.5, button.y + 0.5, button.w - 1, button.h - 1);
    cairo_set_source_rgb(cr, 0.88, 0.88, 0.88);
    cairo_fill_preserve(cr);
    cairo_set_source_rgb(cr, 0.2, 0.2, 0.2);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    cairo_text_extents_t ok;
    cairo_text_extents(cr, "OK", &ok);
    cairo_move_to(cr, button.x + (button.w - ok.x_advance) / 2, button.y + (button.h + fe.ascent - fe.descent) / 2);
    cairo_show_text(cr, "OK");
    cairo_destroy(cr);
    cairo_surface_flush(page);
    SDL_Surface* dst = SDL_GetWindowSurface(w);
    SDL_Surface* src = SDL_CreateRGBSurfaceWithFormatFrom(cairo_image_surface_get_data(page), kWidth, height, 32,
                                                          cairo_image_surface_get_stride(page), SDL_PIXELFORMAT_RGB888);
    if (dst && src) {
      SDL_BlitSurface(src, nullptr, dst, nullptr);
      SDL_UpdateWindowSurface(w);
    }
    if (src) SDL_FreeSurface(src);
  };
  draw();
  for (bool done = false; !done && !stop;) {
    SDL_Event e;
    if (!SDL_WaitEventTimeout(&e, 50)) continue;
    switch (e.type) {
      case SDL_QUIT:
        done = true;
        break;
      case SDL_WINDOWEVENT:
        if (e.window.windowID != SDL_GetWindowID(w)) break;
        if (e.window.event == SDL_WINDOWEVENT_CLOSE) done = true;
        else if (e.window.event == SDL_WINDOWEVENT_EXPOSED) draw();
        break;
      case SDL_KEYDOWN:
        done = e.key.keysym.sym == SDLK_RETURN || e.key.keysym.sym == SDLK_KP_ENTER ||
               e.key.keysym.sym == SDLK_ESCAPE || e.key.keysym.sym == SDLK_SPACE;
        break;
      case SDL_MOUSEBUTTONUP: {
        const SDL_Point at{e.button.x, e.button.y};
        done = e.button.windowID == SDL_GetWindowID(w) && SDL_PointInRect(&at, &button);
        break;
      }
    }
  }
  cairo_surface_destroy(page);
  SDL_DestroyWindow(w);
  return true;
}

}  // namespace dusk::sdl
