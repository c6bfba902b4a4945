// Every picture the program loads and the layout it reads it in: one frame's size, frames per
// facing, facings side by side (a masked sheet has its mask row under the image row). The scene
// sets its records up from these, and the asset generator draws the sheets to them.
#pragma once

namespace dusk {

struct SpriteSheet {
  const char* file;
  int width, height;  // one frame
  int frames;         // per facing
  int facings;        // runs side by side: the second faces the other way
};

namespace sheet {
// The backdrop strips, the palette and the tombstones.
inline constexpr SpriteSheet kBackTop{"h_background_top.bmp", 800, 315, 1, 1};
inline constexpr SpriteSheet kBackMid1{"h_background_mid1.bmp", 800, 132, 1, 1};
inline constexpr SpriteSheet kBackMid2{"h_background_mid2.bmp", 800, 132, 1, 1};
inline constexpr SpriteSheet kBackMid3{"h_background_mid3.bmp", 800, 132, 1, 1};
inline constexpr SpriteSheet kBackBottom{"h_background_bot.bmp", 800, 153, 1, 1};
inline constexpr SpriteSheet kPalette{"h_palette.bmp", 8, 8, 1, 1};
inline constexpr SpriteSheet kTomb1{"h_tombstone1.bmp", 134, 199, 1, 1};
inline constexpr SpriteSheet kTomb2{"h_tombstone2.bmp", 77, 125, 1, 1};
inline constexpr SpriteSheet kTomb4{"h_tombstone4.bmp", 102, 184, 1, 1};
// The creatures.
inline constexpr SpriteSheet kHand{"h_hand.bmp", 61, 98, 17, 1};
inline constexpr SpriteSheet kWatchman{"h_watchman.bmp", 87, 157, 14, 1};
inline constexpr SpriteSheet kOwl{"h_owl.bmp", 32, 48, 6, 1};
inline constexpr SpriteSheet kDove{"h_dove.bmp", 27, 46, 8, 2};
inline constexpr SpriteSheet kMedallion{"h_medallion.bmp", 65, 38, 3, 1};
inline constexpr SpriteSheet kSkeleton1{"h_skeleton1.bmp", 151, 200, 12, 1};
inline constexpr SpriteSheet kSkeleton2{"h_skeleton2.bmp", 45, 64, 12, 2};
inline constexpr SpriteSheet kCrow1{"h_crow1.bmp", 83, 64, 6, 1};
inline constexpr SpriteSheet kCrow2{"h_Crow2.bmp", 84, 59, 7, 1};
inline constexpr SpriteSheet kBat{"h_bat.bmp", 26, 23, 8, 2};
inline constexpr SpriteSheet kLightning1{"h_lightning1.bmp", 171, 182, 2, 1};
inline constexpr SpriteSheet kLightning2{"h_lightning2.bmp", 171, 182, 2, 1};
inline constexpr SpriteSheet kZombie{"h_zombie.bmp", 39, 66, 10, 1};
inline constexpr SpriteSheet kBloodDrip{"h_blooddrip.bmp", 51, 113, 14, 1};
inline constexpr SpriteSheet kRat1{"h_rat1.bmp", 65, 43, 5, 2};
inline constexpr SpriteSheet kRat2{"h_rat2.bmp", 45, 30, 5, 2};
inline constexpr SpriteSheet kScorpion{"h_scorpion.bmp", 38, 33, 5, 1};
inline constexpr SpriteSheet kFlower{"h_flower.bmp", 50, 50, 8, 1};
inline constexpr SpriteSheet kGraveDigger{"h_gravedigger.bmp", 59, 74, 16, 1};
inline constexpr SpriteSheet kPumpkin{"h_bouncingpumpkin.bmp", 46, 137, 8, 1};
inline constexpr SpriteSheet kSpider{"h_spider.bmp", 79, 93, 1, 1};
inline constexpr SpriteSheet kFirefly{"h_firefly.bmp", 20, 19, 8, 1};
// The previews: the control panel's strip and the dialog's larger sheets.
inline constexpr SpriteSheet kPreview{"h_preview.bmp", 127, 100, 21, 1};
inline constexpr SpriteSheet kOwlPreview{"h_owl_preview.bmp", 82, 81, 4, 1};
inline constexpr SpriteSheet kBatPreview{"h_bat_preview.bmp", 36, 32, 8, 1};
}  // namespace sheet

}  // namespace dusk
