// Every picture of the data folder, one function each, and the table of sheets the scene reads.
#pragma once

#include <string>
#include <vector>

#include "bmp_io.h"
#include "scene/sprites.h"

namespace assetgen {

// How the program draws a picture.
enum class Draw { Strip, Masked, Opaque, Additive };

struct SheetInfo {
  const char* file;
  int w, h, frames, runs;
  Draw draw;
  int x, y;  // where it stands in the scene (a still of the whole scene); strips at their band

  SheetInfo(const dusk::SpriteSheet& s, Draw d, int atX, int atY)
      : file(s.file), w(s.width), h(s.height), frames(s.frames), runs(s.facings), draw(d), x(atX), y(atY) {}
};

// Every picture the program loads, with the layout it reads.
const std::vector<SheetInfo>& SheetTable();

// Where the backdrop's scenery meets the creatures.
constexpr int kMoonX = 585, kMoonY = 96, kMoonR = 50;
constexpr int kOwlX = 688, kOwlY = 174;

struct Backdrop {
  Image top, mid1, mid2, mid3, bot;
};
Backdrop MakeBackdrop();
Image MakePalette();

// The five strips composed to 800 x 600.
Image ComposeStrips(const Backdrop& b);
// The backdrop composed to 800 x 600 in the scene's order (strips, far and near tombstones).
Image ComposeStill(const Backdrop& b, const Image& tomb1, const Image& tomb2, const Image& tomb4);

// Tombstones, their soft edges blended with the backdrop behind their places.
Image MakeTombstone1(const Image& backdrop);
Image MakeTombstone2(const Image& backdrop);
Image MakeTombstone4(const Image& backdrop);

// Creatures that stay in one place take the still scene behind them for their soft edges.
Image MakeOwl(const Image& still);
Image MakeCrow1(const Image& still);
Image MakeCrow2(const Image& still);
Image MakeBloodDrip(const Image& still);
Image MakeMedallion(const Image& still);
Image MakeHand(const Image& still);
Image MakeFlower(const Image& still);
Image MakeGraveDigger(const Image& still);
Image MakeLightning(const Image& still, int which);

Image MakeSkeleton1();
Image MakeSkeleton2();
Image MakeZombie();
Image MakeWatchman();
Image MakeDove();
Image MakeRat(int which);
Image MakeScorpion();
Image MakePumpkin();
Image MakeSpider();
Image MakeBat();
Image MakeFirefly();

Image MakePreview(const Image& still);
Image MakeOwlPreview();
Image MakeBatPreview();

// Composes a still of the whole scene from the pictures in `dir` into a PNG, every creature on
// stage at once; `tick` picks their frames.
bool WriteScenePreview(const std::string& dir, const std::string& pngPath, int tick);

}  // namespace assetgen
