#include "saver/screensaver.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <iterator>
#include <utility>

#include "platform/labels.h"
#include "platform/numbers.h"
#include "platform/system.h"
#include "saver/presentation.h"
#include "scene/animations.h"

namespace dusk {
namespace {

void CopyStrip(Stage& p, const CreatureState& r, Rop rop) {
  p.surfaces.BitBlt(p.BackBuffer, r.X, r.Y, r.Width, r.Height, r.Picture, 0, 0, rop);
}

}  // namespace

ScreenSaver::ScreenSaver(Stage& p) : p_(p) {
  // 1335 x 285 twips: 89 x 19 pixels at 96 dots per inch, more where the screen has more.
  const int labelHeight = RoundToInt32(285 / p.TwipsPerPixelY);
  ClockLabel.Caption = "CLOCK";
  ClockLabel.Width = RoundToInt32(1335 / p.TwipsPerPixelX);
  ClockLabel.Height = labelHeight;
  ScreenLabel.Caption = "INSERT TEXT MESSAGE HERE";
  ScreenLabel.Height = labelHeight;
  Canvas = p.surfaces.AddBlank(p.ScreenWidth, p.ScreenHeight, 0);
  // Monitors of one size show one presentation: such a window shares the canvas of the first
  // of that size (the primary's too). Black monitors each keep a canvas of their own.
  for (const Rect& r : p.os.OtherMonitors()) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    MonitorView view{r, 0, false, {}};
    if (p.settings.MonitorsOn == kTrue) {
      if (w == p.ScreenWidth && h == p.ScreenHeight) view.Canvas = Canvas;
      for (const MonitorView& m : OtherMonitors)
        if (!view.Canvas && m.Place.right - m.Place.left == w && m.Place.bottom - m.Place.top == h) view.Canvas = m.Canvas;
      view.Shared = view.Canvas != 0;
    }
    if (!view.Canvas) view.Canvas = p.surfaces.AddBlank(w, h, 0);
    OtherMonitors.push_back(view);
  }
}

void ScreenSaver::Form_Initialize() {
  Guarded(p_, label::kSaverFormInitialize, [&] {
    if (p_.settings.Speed < 0) Raise(kErrInvalidPropertyValue);  // no negative timer interval
    maintimer.Interval = p_.settings.Speed;
    Scene& s = p_.scene;
    CopyStrip(p_, s.BackTop, Rop::kSrcCopy);
    CopyStrip(p_, s.BackMid1, Rop::kSrcCopy);
    CopyStrip(p_, s.BackBottom, Rop::kSrcCopy);
    p_.ErrorStep = "9";
    Initialize_Songs();
    p_.ErrorStep = "8";
    Initialize_SoundFX();

    const int W = p_.ScreenWidth;
    if (!p_.settings.MessageText.empty()) {
      ScreenLabel.Width = W;
      ScreenLabel.Caption = "  " + p_.settings.MessageText + "  ";
      ScreenLabel.Left = RoundToInt32(static_cast<float>(W) / 2.0f - static_cast<float>(ScreenLabel.Width) / 2.0f);
      ScreenLabel.Top = 5;
      ScreenLabel.Visible = true;
      // With the clock at the top right, the message starts at the left edge.
      if (p_.settings.ClockOn) ScreenLabel.TextAlign = Alignment::kLeft;
    }
    if (p_.settings.ClockOn) {
      ClockLabel.Visible = true;
      ClockLabel.Left = RoundToInt32(static_cast<float>(W) / 2.0f - static_cast<float>(ClockLabel.Width) / 2.0f);
      ClockLabel.Top = 5;
    }
  });
}

void ScreenSaver::Form_Load() {
  Guarded(p_, label::kSaverFormLoad, [&] {
    p_.surfaces.BitBlt(Canvas, 0, 0, p_.ScreenWidth, p_.ScreenHeight, 0, 0, 0, Rop::kBlackness);
    for (const MonitorView& m : OtherMonitors)
      p_.surfaces.BitBlt(m.Canvas, 0, 0, m.Place.right - m.Place.left, m.Place.bottom - m.Place.top, 0, 0, 0,
                         Rop::kBlackness);
    maintimer.Enabled = true;
    BuildFrames(true);
    p_.os.ShowSaverWindow(*p_.windows);
  });
}

void ScreenSaver::maintimer_Timer() {
  Guarded(p_, label::kMainTimer, [&] {
    // Nobody sees frames while the display is off: none are composed until it comes back.
    if (!DisplayOn) return;
    ComposeFrame();
    PresentBackBuffer();
    p_.os.RefreshWindow();
  });
}

void ScreenSaver::ComposeFrame() {
  Surfaces& surfaces = p_.surfaces;
  surfaces.Record(p_.BackBuffer);
  try {
    DrawScene();
  } catch (...) {
    surfaces.Replay(surfaces.TakeRecording());  // what was drawn before the run ended
    throw;
  }
  damage_.Redraw(surfaces, p_.BackBuffer, surfaces.TakeRecording());
}

void ScreenSaver::DrawScene() {
  Stage& p = p_;
  Scene& s = p.scene;
  s.LongTick += 1;
  if (s.LongTick > 1000) s.LongTick = 0;
  s.ShortTick += 1;
  if (s.ShortTick > 40) s.ShortTick = 0;
  s.MediumTick += 1;
  if (s.MediumTick > 100) s.MediumTick = 0;

  // The backdrop, the tombstones and each creature that is on, back to front.
  DrawSceneInOrder(p);

  if (s.MediumTick == 99) Rotate_SoundFX();
  Update_Clock();
}

void ScreenSaver::PresentBackBuffer() {
  const bool everyMonitor = p_.settings.MonitorsOn == kTrue;
  Damage.clear();
  for (MonitorView& m : OtherMonitors) m.Damage.clear();
  // The same frame, composed once, on every canvas: the first frame whole; after it only the
  // bands of the back buffer that changed are drawn again. Monitors are left black when the
  // scene is to be on the primary only.
  auto present = [&](int32_t canvas, const Rect* changed) {
    return PresentScene(p_.surfaces, canvas, p_.BackBuffer, ShowsWhole(canvas), changed);
  };
  const bool first = !damage_.Presented();
  const std::vector<Rect> changes = damage_.TakeChanges(p_.surfaces, p_.BackBuffer);
  for (size_t k = 0; k < (first ? 1 : changes.size()); ++k) {
    const Rect* changed = first ? nullptr : &changes[k];
    Damage.push_back(present(Canvas, changed));
    if (everyMonitor)
      for (MonitorView& m : OtherMonitors)
        if (!m.Shared) m.Damage.push_back(present(m.Canvas, changed));
  }
  BuildFrames(false);
}

bool ScreenSaver::ShowsWhole(int32_t canvas) const {
  if (p_.settings.KeepProportions == kTrue) return true;
  // A daemon's window smaller than the scene is its preview: a cut corner would show nothing of
  // the picture, so it gets the whole scene, scaled down.
  const Bitmap* c = p_.surfaces.Find(canvas);
  return c && p_.os.SaverWindowGiven() && (c->width < kSceneWidth || c->height < kSceneHeight);
}

const std::vector<Rect>& ScreenSaver::DamageOf(int32_t canvas) const {
  static const std::vector<Rect> kNone;
  if (canvas == Canvas) return Damage;
  for (const MonitorView& m : OtherMonitors)
    if (!m.Shared && m.Canvas == canvas) return m.Damage;
  return kNone;
}

const Bitmap* ScreenSaver::CanvasOf(size_t window) const {
  return p_.surfaces.Find(window == 0 ? Canvas : OtherMonitors[window - 1].Canvas);
}

// The labels as they stand on a window `width` wide. On a window as wide as the screen they are
// where the window's controls put them; on one of another width the message still spans it and
// the clock keeps its distance from the right edge. The message's box stops at the clock's.
std::vector<LabelLayout> ScreenSaver::LabelsFor(int32_t width) const {
  std::vector<LabelLayout> out;
  const int screenW = p_.ScreenWidth;
  const int fontPixels = RoundToInt32(kLabelPoints * 20 / p_.TwipsPerPixelY);  // 20 twips a point
  for (const LabelControl* l : {&ScreenLabel, &ClockLabel}) {
    if (!l->Visible) continue;
    int left = l->Left, w = l->Width;
    if (width != screenW) {
      if (l->Left <= 0 && l->Width >= screenW) w = width;
      else if (l->Left + l->Width / 2 > screenW / 2) left = width - (screenW - l->Left);
    }
    out.push_back(LabelLayout{l->Caption, Rect{left, l->Top, left + w, l->Top + l->Height}, fontPixels,
                              kLabelTextColor, kLabelBackColor, l->TextAlign});
  }
  // The message ends where the clock begins: a long one, or a large font, ends in an ellipsis
  // before the time rather than under it. The clock's caption keeps its own margin.
  if (out.size() == 2) {
    Rect& message = out[0].box;
    message.right = std::min(message.right, out[1].box.left);
    if (message.right <= message.left) out.erase(out.begin());
  }
  return out;
}

void ScreenSaver::BuildFrames(bool whole) {
  frames_.resize(WindowCount());
  labelsSent_.resize(WindowCount());
  for (size_t i = 0; i < WindowCount(); ++i) BuildFrame(i, whole);
}

void ScreenSaver::BuildFrame(size_t i, bool whole) {
  WindowFrame& f = frames_[i];
  f.canvas = CanvasOf(i);
  if (!f.canvas) return;
  const Rect all{0, 0, f.canvas->width, f.canvas->height};
  f.place = i == 0 ? all : OtherMonitors[i - 1].Place;
  f.changed = whole ? std::vector<Rect>{all} : DamageOf(i == 0 ? Canvas : OtherMonitors[i - 1].Canvas);
  // The clock and the message stand on the primary monitor only. Labels that changed are sent
  // again, and so is where they stood before, which the canvas now shows.
  f.labels = i == 0 ? LabelsFor(f.canvas->width) : std::vector<LabelLayout>{};
  if (!whole && f.labels != labelsSent_[i]) {
    for (const LabelLayout& l : labelsSent_[i]) f.changed.push_back(l.box);
    for (const LabelLayout& l : f.labels) f.changed.push_back(l.box);
  }
  labelsSent_[i] = f.labels;
  // Only what lies on the window.
  std::vector<Rect> on;
  for (const Rect& r : f.changed) {
    const Rect c{std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, all.right), std::min(r.bottom, all.bottom)};
    if (c.left < c.right && c.top < c.bottom) on.push_back(c);
  }
  f.changed = std::move(on);
}

const WindowFrame& ScreenSaver::Frame(size_t window) const {
  static const WindowFrame kNone;
  return window < frames_.size() ? frames_[window] : kNone;
}

void ScreenSaver::ResizeWindow(size_t window, int32_t width, int32_t height) {
  if (window >= WindowCount() || width <= 0 || height <= 0) return;
  const Bitmap* now = CanvasOf(window);
  if (now && now->width == width && now->height == height) return;
  // The window gets a canvas of its own. Whoever else showed the old one keeps it: the first
  // such monitor becomes its owner.
  int32_t& canvas = window == 0 ? Canvas : OtherMonitors[window - 1].Canvas;
  const int32_t old = canvas;
  bool stillShown = window != 0 && old == Canvas;
  for (size_t k = 0; k < OtherMonitors.size(); ++k) {
    MonitorView& m = OtherMonitors[k];
    if (k + 1 == window || m.Canvas != old) continue;
    if (!stillShown) m.Shared = false;
    stillShown = true;
  }
  if (!stillShown) p_.surfaces.Remove(old);
  canvas = p_.surfaces.AddBlank(width, height, 0);
  if (window > 0) OtherMonitors[window - 1].Shared = false;
  const bool scene = window == 0 || p_.settings.MonitorsOn == kTrue;
  if (scene && damage_.Presented()) PresentScene(p_.surfaces, canvas, p_.BackBuffer, ShowsWhole(canvas));
  frames_.resize(WindowCount());
  labelsSent_.resize(WindowCount());
  BuildFrame(window, true);
}

void ScreenSaver::Update_Clock() {
  // 100 pixels from the right edge, further where a larger label would not fit.
  ClockLabel.Left = Int16(p_.ScreenWidth - std::max(100, ClockLabel.Width + 11));
  const LocalTime t = p_.os.Now();
  const int hour12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
  char hm[16];
  std::snprintf(hm, sizeof hm, "%d:%02d", hour12, t.minute);
  ClockLabel.Caption = std::string(" ") + hm + " " + p_.os.TimeDesignator(t.hour >= 12) + " ";
}

uint32_t ScreenSaver::SendMci(const std::string& command) {
  p_.sound.MciResult = p_.os.MciSendString(command, p_.sound.MciReply);
  return p_.sound.MciResult;
}

void ScreenSaver::Initialize_Songs() {
  Guarded(p_, label::kInitializeSongs, [&] {
    auto& on = p_.settings.SongOn;
    for (int n = 0; n <= 11; ++n)
      if (on[n])
        SendMci("open \"" + SongFile(p_.DataDir, n) + "\" type sequencer alias " + SongAlias(n));
    for (int n = 0; n <= 11; ++n)
      if (on[n]) MusicTimer.Enabled = true;
    if (!MusicTimer.Enabled) return;
    for (int n = 0; n <= 11; ++n)
      if (on[n]) {
        p_.sound.CurrentSong = n;
        break;
      }
    if (SendMci("play " + SongAlias(p_.sound.CurrentSong) + " from 0") != 0) MusicTimer.Enabled = false;
  });
}

// Moves CurrentSong to the next enabled song that has not failed, counting upward and wrapping
// from 11 to 0 (the same song again when it is the only one). False when none is left.
bool ScreenSaver::NextPlayableSong() {
  int n = p_.sound.CurrentSong;
  for (int k = 0; k < 12; ++k) {
    n = n >= 11 ? 0 : n + 1;
    if (p_.settings.SongOn[n] && !songFailed_[n]) {
      p_.sound.CurrentSong = n;
      return true;
    }
  }
  return false;
}

void ScreenSaver::MusicTimer_Timer() {
  Guarded(p_, label::kMusicTimer, [&] {
    if (!skipCurrentSong_) {
      SendMci("status " + SongAlias(p_.sound.CurrentSong) + " mode");
      if (p_.sound.MciResult != 0 || p_.sound.MciReply.compare(0, 7, "stopped") != 0) return;
    }
    skipCurrentSong_ = false;
    if (!NextPlayableSong()) {
      MusicTimer.Enabled = false;
      return;
    }
    if (SendMci("play " + SongAlias(p_.sound.CurrentSong) + " from 0") != 0) {
      // A song that cannot be played is passed by: the next one is tried on the next tick, and
      // when none can play the saver runs on in silence.
      songFailed_[p_.sound.CurrentSong] = true;
      skipCurrentSong_ = true;
      bool anyLeft = false;
      for (int n = 0; n <= 11; ++n) anyLeft = anyLeft || (p_.settings.SongOn[n] && !songFailed_[n]);
      if (!anyLeft) MusicTimer.Enabled = false;
    }
  });
}

void ScreenSaver::Initialize_SoundFX() {
  Guarded(p_, label::kInitializeSoundFX, [&] {
    SoundState& snd = p_.sound;
    auto& on = p_.settings.SoundOn;
    p_.ErrorStep = "0";
    snd.MixSession = p_.os.WaveMixInit();
    p_.ErrorStep = "1";
    if (snd.MixSession == 0) {
      for (int n = 0; n <= 11; ++n) on[n] = kFalse;
      snd.SoundAvailable = kFalse;
      return;
    }
    snd.SoundAvailable = kTrue;
    p_.ErrorStep = "2";
    for (int n = 0; n <= 11; ++n)
      if (on[n]) snd.WaveHandle[n] = p_.os.WaveMixOpenWave(snd.MixSession, EffectFile(p_.DataDir, n));
    p_.ErrorStep = "3";
    p_.os.WaveMixOpenChannel(snd.MixSession, 8, 2);
    p_.ErrorStep = "4";
    p_.os.WaveMixActivate(snd.MixSession, true);
    p_.ErrorStep = "5";
    for (int n = 0; n <= 11; ++n) {
      if (!on[n]) continue;
      auto& f = snd.PlayParams[n];
      const int32_t session = static_cast<int32_t>(snd.MixSession);
      const int32_t channel = n <= 5 ? n : 7;
      const int32_t wave = static_cast<int32_t>(snd.WaveHandle[n]);
      const int32_t flags = 5;
      f[0] = 24;
      f[1] = LoWord(session), f[2] = HiWord(session);
      f[3] = LoWord(channel), f[4] = HiWord(channel);
      f[5] = LoWord(wave), f[6] = HiWord(wave);
      f[7] = 0, f[8] = 0;  // no notification window
      f[9] = LoWord(flags), f[10] = HiWord(flags);
      f[11] = 0;  // play once
    }
    p_.ErrorStep = "6";
    snd.NextEffect = 5;
    p_.ErrorStep = "7";
    PlaySoundEffect(p_, 0);  // the greeting
  });
}

void ScreenSaver::Rotate_SoundFX() {
  Guarded(p_, label::kRotateSoundFX, [&] {
    auto& on = p_.settings.SoundOn;
    bool any = false;
    for (int n = 6; n <= 11; ++n) any = any || on[n];
    if (!any) return;
    SoundState& snd = p_.sound;
    snd.NextEffect += 1;
    p_.ErrorStep = "12";
    if (snd.NextEffect >= 12) snd.NextEffect = 6;
    while (!on[snd.NextEffect]) {
      snd.NextEffect += 1;
      if (snd.NextEffect >= 12) snd.NextEffect = 6;
    }
    p_.ErrorStep = "13";
    PlaySoundEffect(p_, snd.NextEffect);
  });
}

void ScreenSaver::Form_Click() { RequestClose(); }
void ScreenSaver::Form_DblClick() { RequestClose(); }
void ScreenSaver::Form_KeyDown(int16_t, int16_t) { RequestClose(); }
void ScreenSaver::Form_KeyPress(int16_t) { RequestClose(); }

void ScreenSaver::RequestClose(int16_t unloadMode) {
  if (p_.RunMode != kModeSaver) return;
  if (!Form_QueryUnload(unloadMode)) Form_Unload();
}

bool ScreenSaver::Form_QueryUnload(int16_t) {
  return Guarded(p_, label::kSaverQueryUnload, [&] {
    if (p_.RunMode != kModeSaver) return false;
    if (p_.OsVersion != "95" || p_.UsePassword != 1) return false;
    p_.os.ShowCursor(true);
    bool cancel = p_.os.VerifyScreenSavePwd() == 0;
    p_.os.ShowCursor(false);
    return cancel;
  });
}

void ScreenSaver::Form_Unload() { EndRun(p_); }

}  // namespace dusk
