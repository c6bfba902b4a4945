// The settings dialog's live previews: shorter scripts keyed to the dialog's counters, the owl and
// the fireflies drawn with their masks, and the fireflies kept inside their box.
#include "platform/labels.h"
#include "platform/numbers.h"
#include "platform/system.h"
#include "scene/animations.h"
#include "scene/motion.h"

namespace dusk {

void Anim_Preview_Multiple(Stage& p, CreatureState& r, int boxWidth, int boxHeight) {
  Guarded(p, label::kAnimPreviewMultiple, [&] {
    const double W = boxWidth, H = boxHeight;
    const double w = p.scene.PreviewState1.Width, h = p.scene.PreviewState1.Height;
    CreatureState copy = r;
    const int32_t positions[3][2] = {{RoundToInt32(W / 3 - w / 2), r.Y},
                                     {RoundToInt32(2 * W / 3 - w / 2), RoundToInt32(H / 3 - h / 2)},
                                     {RoundToInt32(2 * W / 3 - w / 2), RoundToInt32(2 * H / 3 - h / 2)}};
    for (const auto& at : positions) {
      copy.X = at[0];
      copy.Y = at[1];
      DrawSprite(p, copy);
    }
    NextFrame(r);
  });
}

void Anim_Preview_FireFly(Stage& p, int boxWidth, int boxHeight) {
  Guarded(p, label::kAnimPreviewFireFly, [&] {
    const int W = boxWidth, H = boxHeight;
    Scene& s = p.scene;
    for (int i = 1; i <= 8; ++i) {
      CreatureState& f = s.FireFlies[i];
      DrawSpriteFrom(p, f, s.FireFlies[1].Picture);
      StepAndMove(f);
      if (f.X > W - f.Width - 5 || f.X < 0) f.StepX = -f.StepX;
      if (f.Y > H - f.Height - 5 || f.Y < 0) f.StepY = -f.StepY;
    }
  });
}

void Anim_Preview_Hand(Stage& p) {
  Guarded(p, label::kAnimPreviewHand, [&] {
    CreatureState& r = p.scene.PreviewState2;
    DrawSprite(p, r);
    const int t = p.scene.MediumTick;
    if (Within(t, 5, 20)) r.Frame += 1;
    else if (Within(t, 70, 85)) r.Frame -= 1;
  });
}

void Anim_Preview_Owl(Stage& p) {
  Guarded(p, label::kAnimPreviewOwl, [&] {
    CreatureState& r = p.scene.PreviewState1;
    DrawSprite(p, r);
    const int t = p.scene.ShortTick;
    if (Within(t, 1, 3)) r.Frame += 1;
    else if (Within(t, 15, 17)) r.Frame -= 1;
  });
}

void Anim_Preview_Lightning(Stage& p) {
  Guarded(p, label::kAnimPreviewLightning, [&] {
    CreatureState& r = p.scene.PreviewState2;
    DrawSprite(p, r);
    const int t = p.scene.ShortTick;
    if (Within(t, 1, 4) || Within(t, 23, 26)) r.Frame += 1;
    else if (Within(t, 5, 6)) r.Frame -= 1;
    else r.Frame = -1;
  });
}

void Anim_Preview_Spider(Stage& p) {
  Guarded(p, label::kAnimPreviewSpider, [&] {
    CreatureState& r = p.scene.Spider;
    DrawSprite(p, r);
    DrawSpiderThread(p, r);
    const int t = p.scene.MediumTick;
    r.StepY = Within(t, 1, 20) ? 8 : Within(t, 61, 80) ? -8 : 0;
    r.Y = r.Y + r.StepY;
  });
}

}  // namespace dusk
