// Writes every picture of the data folder, and the contact sheet that shows them all.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "assetgen.h"
#include "bmp_io.h"
#include "pic_art.h"
#include "pic_draw.h"
#include "scene/sprites.h"

namespace assetgen {

const std::vector<SheetInfo>& SheetTable() {
  // The sheet as the scene reads it, how it is drawn, where it stands in a still of the scene.
  using namespace dusk;
  static const std::vector<SheetInfo> table = {
      {sheet::kBackTop, Draw::Strip, 0, 0},
      {sheet::kBackMid1, Draw::Strip, 0, 315},
      {sheet::kBackMid2, Draw::Strip, 0, 315},
      {sheet::kBackMid3, Draw::Strip, 0, 315},
      {sheet::kBackBottom, Draw::Strip, 0, 447},
      {sheet::kPalette, Draw::Strip, 0, 0},
      {sheet::kTomb1, Draw::Masked, 15, 400},
      {sheet::kTomb2, Draw::Masked, 250, 450},
      {sheet::kTomb4, Draw::Masked, 688, 400},
      {sheet::kHand, Draw::Masked, 710, 500},
      {sheet::kWatchman, Draw::Additive, 400, 378},
      {sheet::kOwl, Draw::Opaque, kOwlX, kOwlY},
      {sheet::kDove, Draw::Masked, 640, 315},
      {sheet::kMedallion, Draw::Masked, 706, 450},
      {sheet::kSkeleton1, Draw::Masked, 140, 385},
      {sheet::kSkeleton2, Draw::Masked, 300, 386},
      {sheet::kCrow1, Draw::Masked, 66, 365},
      {sheet::kCrow2, Draw::Masked, 100, 540},
      {sheet::kBat, Draw::Masked, 380, 330},
      {sheet::kLightning1, Draw::Masked, 320, 214},
      {sheet::kLightning2, Draw::Masked, 20, 125},
      {sheet::kZombie, Draw::Masked, 430, 387},
      {sheet::kBloodDrip, Draw::Masked, -5, 483},
      {sheet::kRat1, Draw::Masked, 560, 550},
      {sheet::kRat2, Draw::Masked, 420, 500},
      {sheet::kScorpion, Draw::Masked, 600, 540},
      {sheet::kFlower, Draw::Masked, 335, 468},
      {sheet::kGraveDigger, Draw::Masked, 650, 415},
      {sheet::kPumpkin, Draw::Masked, 377, 448},
      {sheet::kSpider, Draw::Masked, 200, 120},
      {sheet::kFirefly, Draw::Additive, 0, 0},
      {sheet::kPreview, Draw::Masked, 0, 0},
      {sheet::kOwlPreview, Draw::Masked, 0, 0},
      {sheet::kBatPreview, Draw::Masked, 0, 0},
  };
  return table;
}

namespace {

std::vector<std::pair<std::string, Image>> BuildAll() {
  std::vector<std::pair<std::string, Image>> out;
  Backdrop b = MakeBackdrop();
  const Image strips = ComposeStrips(b);
  Image t1 = MakeTombstone1(strips), t2 = MakeTombstone2(strips), t4 = MakeTombstone4(strips);
  const Image still = ComposeStill(b, t1, t2, t4);
  out.emplace_back("h_background_top.bmp", std::move(b.top));
  out.emplace_back("h_background_mid1.bmp", std::move(b.mid1));
  out.emplace_back("h_background_mid2.bmp", std::move(b.mid2));
  out.emplace_back("h_background_mid3.bmp", std::move(b.mid3));
  out.emplace_back("h_background_bot.bmp", std::move(b.bot));
  out.emplace_back("h_palette.bmp", MakePalette());
  out.emplace_back("h_tombstone1.bmp", std::move(t1));
  out.emplace_back("h_tombstone2.bmp", std::move(t2));
  out.emplace_back("h_tombstone4.bmp", std::move(t4));
  out.emplace_back("h_hand.bmp", MakeHand(still));
  out.emplace_back("h_watchman.bmp", MakeWatchman());
  out.emplace_back("h_owl.bmp", MakeOwl(still));
  out.emplace_back("h_dove.bmp", MakeDove());
  out.emplace_back("h_medallion.bmp", MakeMedallion(still));
  out.emplace_back("h_skeleton1.bmp", MakeSkeleton1());
  out.emplace_back("h_skeleton2.bmp", MakeSkeleton2());
  out.emplace_back("h_crow1.bmp", MakeCrow1(still));
  out.emplace_back("h_Crow2.bmp", MakeCrow2(still));
  out.emplace_back("h_bat.bmp", MakeBat());
  out.emplace_back("h_lightning1.bmp", MakeLightning(still, 1));
  out.emplace_back("h_lightning2.bmp", MakeLightning(still, 2));
  out.emplace_back("h_zombie.bmp", MakeZombie());
  out.emplace_back("h_blooddrip.bmp", MakeBloodDrip(still));
  out.emplace_back("h_rat1.bmp", MakeRat(1));
  out.emplace_back("h_rat2.bmp", MakeRat(2));
  out.emplace_back("h_scorpion.bmp", MakeScorpion());
  out.emplace_back("h_flower.bmp", MakeFlower(still));
  out.emplace_back("h_gravedigger.bmp", MakeGraveDigger(still));
  out.emplace_back("h_bouncingpumpkin.bmp", MakePumpkin());
  out.emplace_back("h_spider.bmp", MakeSpider());
  out.emplace_back("h_firefly.bmp", MakeFirefly());
  out.emplace_back("h_preview.bmp", MakePreview(still));
  out.emplace_back("h_owl_preview.bmp", MakeOwlPreview());
  out.emplace_back("h_bat_preview.bmp", MakeBatPreview());
  return out;
}

}  // namespace

bool WritePictures(const std::string& dir) {
  for (const auto& [name, img] : BuildAll()) {
    if (!WriteBmp24(dir + "/" + name, img)) {
      std::fprintf(stderr, "assetgen: cannot write %s/%s\n", dir.c_str(), name.c_str());
      return false;
    }
  }
  return true;
}

// ---- contact sheet -----------------------------------------------------------------------

namespace {

constexpr uint32_t kNeutral = 0x6e6e74, kPage = 0x2b2b30;

// One frame as the scene would show it over the neutral grey.
Image FrameOnNeutral(const Image& sheet, const SheetInfo& s, int index) {
  Image out(s.w, s.h, kNeutral);
  const int fx = index * s.w;
  switch (s.draw) {
    case Draw::Strip:
    case Draw::Opaque:
      out = Crop(sheet, fx, 0, s.w, s.h);
      break;
    case Draw::Masked:
      DrawMasked(out, sheet, fx, s.w, s.h, 0, 0);
      break;
    case Draw::Additive:
      out = Image(s.w, s.h, 0x000000);
      DrawAdditive(out, sheet, fx, s.w, s.h, 0, 0);
      break;
  }
  return out;
}

void PaintImage(cairo_t* cr, const Image& img, double x, double y, double scale) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, img.w, img.h);
  cairo_surface_flush(s);
  unsigned char* data = cairo_image_surface_get_data(s);
  const int stride = cairo_image_surface_get_stride(s);
  for (int j = 0; j < img.h; ++j)
    for (int i = 0; i < img.w; ++i)
      *reinterpret_cast<uint32_t*>(data + static_cast<size_t>(j) * stride + i * 4) = img.at(i, j);
  cairo_surface_mark_dirty(s);
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, scale, scale);
  cairo_set_source_surface(cr, s, 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
  cairo_paint(cr);
  cairo_restore(cr);
  cairo_surface_destroy(s);
}

}  // namespace

bool WriteContactSheet(const std::string& dir, const std::string& pngPath) {
  constexpr int kPageW = 1640, kGap = 6, kLabel = 12, kTitle = 18;
  struct Item {
    const SheetInfo* info;
    Image sheet;
    int scale;
  };
  std::vector<Item> items;
  for (const SheetInfo& s : SheetTable()) {
    Item it{&s, {}, 1};
    if (!ReadBmp(dir + "/" + s.file, it.sheet)) {
      std::fprintf(stderr, "assetgen: contact sheet cannot read %s\n", s.file);
      return false;
    }
    it.scale = s.w <= 40 && s.h <= 50 ? 3 : (s.w <= 90 && s.h <= 100 ? 2 : 1);
    items.push_back(std::move(it));
  }
  // Lay out: a title line per sheet, then its frames in rows that wrap at the page width.
  struct Place {
    const Item* item;
    int frame;
    int x, y;
  };
  std::vector<Place> places;
  std::vector<std::pair<int, const Item*>> titles;
  int y = kGap;
  for (const Item& it : items) {
    titles.emplace_back(y, &it);
    y += kTitle;
    const int fw = it.info->w * it.scale, fh = it.info->h * it.scale;
    int x = kGap;
    const int total = it.info->frames * it.info->runs;
    for (int f = 0; f < total; ++f) {
      if (x + fw > kPageW - kGap && x > kGap) {
        x = kGap;
        y += fh + kLabel + kGap;
      }
      places.push_back({&it, f, x, y + kLabel});
      x += fw + kGap;
    }
    y += fh + kLabel + 2 * kGap;
  }
  cairo_surface_t* page = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kPageW, y);
  cairo_t* cr = cairo_create(page);
  Col(cr, kPage);
  cairo_paint(cr);
  cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  for (const auto& [ty, it] : titles) {
    char text[200];
    const SheetInfo& s = *it->info;
    std::snprintf(text, sizeof text, "%s   %d x %d, %d frame%s%s, %s%s", s.file, s.w, s.h, s.frames,
                  s.frames > 1 ? "s" : "", s.runs > 1 ? " x 2 facings" : "",
                  s.draw == Draw::Masked     ? "masked"
                  : s.draw == Draw::Additive ? "additive (shown on black)"
                  : s.draw == Draw::Opaque   ? "opaque copy"
                                             : "strip",
                  it->scale > 1 ? (it->scale == 2 ? ", shown x2" : ", shown x3") : "");
    cairo_set_font_size(cr, 13);
    Col(cr, 0xe8e8f0);
    cairo_move_to(cr, kGap, ty + 13);
    cairo_show_text(cr, text);
  }
  cairo_set_font_size(cr, 10);
  for (const Place& p : places) {
    const SheetInfo& s = *p.item->info;
    Image frame = FrameOnNeutral(p.item->sheet, s, p.frame);
    PaintImage(cr, frame, p.x, p.y, p.item->scale);
    char label[16];
    if (s.runs > 1)
      std::snprintf(label, sizeof label, "%c%d", p.frame < s.frames ? 'a' : 'b', p.frame % s.frames);
    else
      std::snprintf(label, sizeof label, "%d", p.frame);
    Col(cr, 0xb0b0c0);
    cairo_move_to(cr, p.x + 1, p.y - 2);
    cairo_show_text(cr, label);
  }
  cairo_destroy(cr);
  bool ok = cairo_surface_write_to_png(page, pngPath.c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(page);
  return ok;
}

}  // namespace assetgen
