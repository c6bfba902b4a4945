// A still of the whole scene composed from the written pictures, in the saver's layer order, to
// judge the composition: every creature on stage at once.
#include <cstring>
#include <map>
#include <string>

#include "pic_art.h"
#include "pic_draw.h"

namespace assetgen {

bool WriteScenePreview(const std::string& dir, const std::string& pngPath, int tick) {
  std::map<std::string, Image> pics;
  std::map<std::string, const SheetInfo*> info;
  for (const SheetInfo& s : SheetTable()) {
    Image img;
    if (!ReadBmp(dir + "/" + s.file, img)) return false;
    pics[s.file] = std::move(img);
    info[s.file] = &s;
  }
  Image scene(800, 600);
  auto strip = [&](const char* f, int y) { Paste(scene, pics[f], 0, y); };
  auto sprite = [&](const char* f, int frame, int x, int y, int run = 0) {
    const SheetInfo& s = *info[f];
    const int fx = (run * s.frames + frame % s.frames) * s.w;
    if (s.draw == Draw::Additive)
      DrawAdditive(scene, pics[f], fx, s.w, s.h, x, y);
    else if (s.draw == Draw::Opaque)
      Paste(scene, Crop(pics[f], fx, 0, s.w, s.h), x, y);
    else
      DrawMasked(scene, pics[f], fx, s.w, s.h, x, y);
  };
  auto at = [&](const char* f, int frame, int run = 0) {
    sprite(f, frame, info[f]->x, info[f]->y, run);
  };
  const int t = tick;
  strip("h_background_top.bmp", 0);
  strip("h_background_mid1.bmp", 315);
  const int bats[][3] = {{330, 322, 0}, {372, 340, 1}, {420, 326, 0}, {150, 350, 1}, {640, 318, 1}, {700, 345, 0}};
  for (const auto& b : bats) sprite("h_bat.bmp", t + b[0], b[0], b[1], b[2]);
  at("h_dove.bmp", t, 0);
  at("h_skeleton2.bmp", t, 0);
  at("h_zombie.bmp", t);
  for (int y = 0; y < 132; ++y)
    for (int x = 0; x < 800; ++x) {
      uint32_t& d = scene.at(x, 315 + y);
      d = (d & pics["h_background_mid2.bmp"].at(x, y)) | pics["h_background_mid3.bmp"].at(x, y);
    }
  strip("h_background_bot.bmp", 447);
  if (t % 2) {
    sprite("h_lightning1.bmp", t / 2, 320, 214);
    sprite("h_lightning2.bmp", t / 2 + 1, 20, 125);
  }
  at("h_gravedigger.bmp", t);
  at("h_flower.bmp", t);
  at("h_rat2.bmp", t, 1);
  at("h_watchman.bmp", t);
  at("h_scorpion.bmp", t);
  sprite("h_tombstone2.bmp", 0, 250, 450);
  sprite("h_tombstone2.bmp", 0, 473, 450);
  at("h_bouncingpumpkin.bmp", t);
  at("h_skeleton1.bmp", t);
  at("h_tombstone1.bmp", 0);
  at("h_tombstone4.bmp", 0);
  at("h_medallion.bmp", t);
  at("h_crow1.bmp", t);
  at("h_Crow2.bmp", t);
  at("h_hand.bmp", 16 - t % 17);
  at("h_blooddrip.bmp", t);
  at("h_rat1.bmp", t, 0);
  at("h_spider.bmp", 0);
  for (int y = 0; y <= info["h_spider.bmp"]->y; ++y) scene.at(200 + 39, y) = 0x808080;
  at("h_owl.bmp", t);
  const int flies[][2] = {{120, 380}, {300, 300}, {460, 420}, {620, 390}, {90, 250}, {540, 260}, {700, 330}};
  for (const auto& f : flies) sprite("h_firefly.bmp", t + f[0], f[0], f[1]);
  return WritePng(scene, pngPath.c_str());
}

}  // namespace assetgen
