#include "settings_dialog/configuration.h"

#include <algorithm>
#include <cmath>

#include "platform/labels.h"
#include "platform/numbers.h"
#include "scene/animations.h"

namespace dusk {
namespace {

// Creature rows on the two creature pages: frame at (240, 510); rows 360, 840, ... below its top;
// check boxes 240 and 2160 from its left edge, preview buttons at 1575 and 3480.
constexpr int kFrameLeft = Configuration::kCreatureFrame.left, kFrameTop = Configuration::kCreatureFrame.top;
constexpr int kRowTops[5] = {360, 840, 1320, 1800, 2280};
constexpr int kRowHeight = 255;

// Song and effect rows on the Sounds page: two columns of six.
constexpr int kSoundRowTops[6] = {360, 750, 1140, 1550, 1920, 2310};
struct SlotPlace {
  int slot, column, row;
};
constexpr const char* kSongCaptions[12] = {"Horror Hill", "Death Toll", "Pipe Organ", "Descent",
                                           "Leviathan",  "Demony",     "Nitemare",   "Lurker",
                                           "Moonwake",   "Adams Family", "Thriller", "GhostBusters"};
constexpr SlotPlace kSongPlaces[12] = {{0, 0, 0}, {1, 1, 0}, {2, 0, 1}, {3, 1, 1}, {4, 0, 2}, {5, 1, 2},
                                       {6, 1, 3}, {7, 0, 3}, {8, 0, 4}, {9, 1, 4}, {10, 0, 5}, {11, 1, 5}};
constexpr const char* kSoundCaptions[12] = {"Greetings", "Blood Drip", "Thunder",  "Crow",
                                            "Owl",       "FootSteps",  "WereWolf", "Laugh II",
                                            "Scream I",  "Ghost",      "Laugh I",  "Scream II"};
constexpr SlotPlace kSoundPlaces[12] = {{0, 0, 0}, {1, 0, 1}, {2, 1, 0}, {3, 0, 3}, {4, 0, 4}, {5, 0, 5},
                                        {6, 0, 2}, {7, 1, 3}, {8, 1, 4}, {9, 1, 1}, {10, 1, 2}, {11, 1, 5}};

// Where an audition starts: some songs have their best part a little later.
int AuditionStart(int slot) {
  switch (slot) {
    case 5: return 40;
    case 10: return 170;
    case 11: return 80;
    default: return 0;
  }
}

}  // namespace

const char* const Configuration::kPageCaptions[kPageCount] = {"Creatures", "More Creatures", "Sounds",
                                                              "Options", "About"};

Configuration::Configuration(Stage& p) : p_(p) {
  for (const CreatureEntry& t : kCreatures) {
    CreatureRow row;
    row.Key = t.key;
    row.Record = &t.record(p.scene);
    row.Entry = &t;
    row.Check.Name = t.checkName;
    row.Check.Caption = t.caption;
    row.Check.ToolTip = std::string("Show the ") + t.caption + " in the graveyard";
    row.Check.Page = t.page;
    const int top = kFrameTop + kRowTops[t.row];
    row.Check.Place = {kFrameLeft + (t.column ? 2160 : 240), top, t.column ? 1320 : 1335, kRowHeight};
    row.PreviewButton = t.button;
    row.ButtonPlace = {kFrameLeft + (t.column ? 3480 : 1575), top, 255, 255};
    Creatures.push_back(row);
  }

  // A column of listen rows: check boxes at checkLeft, listen buttons at buttonLeft of each column.
  // A check box reaches up to its button, so that a longer caption (or a larger font) has room.
  struct Column {
    int checkLeft, buttonLeft;
  };
  auto soundRows = [&](SoundRow (&rows)[12], const SlotPlace (&places)[12], const char* const (&captions)[12],
                       const char* name, const char* toolTip, const TwipsRect& frame, Column left,
                       Column right) {
    for (const SlotPlace& s : places) {
      SoundRow& r = rows[s.slot];
      const Column& c = s.column ? right : left;
      const int top = frame.top + kSoundRowTops[s.row];
      r.Check.Name = std::string(name) + "(" + std::to_string(s.slot) + ")";
      r.Check.Caption = captions[s.slot];
      r.Check.ToolTip = toolTip;
      r.Check.Page = 2;
      r.Check.Place = {frame.left + c.checkLeft, top, c.buttonLeft - c.checkLeft, kRowHeight};
      r.ButtonPlace = {frame.left + c.buttonLeft, top, 255, 255};
    }
  };
  soundRows(songchk, kSongPlaces, kSongCaptions, "songchk", "Select Background Music", kMusicFrame, {240, 1440},
            {1920, 3360});
  soundRows(soundchk, kSoundPlaces, kSoundCaptions, "soundchk", "Select Sound Effects", kEffectsFrame, {240, 1320},
            {1800, 2880});
  clockcheck.Name = "clockcheck";
  clockcheck.Caption = "Enable Digital Clock";
  clockcheck.ToolTip = "Include A  Digital Clock On-Screen";
  clockcheck.Page = 3;
  monitorscheck.Name = "monitorscheck";
  monitorscheck.Caption = "Show the scene on every monitor";
  monitorscheck.ToolTip = "Show The Graveyard On Every Monitor";
  monitorscheck.Page = 3;
  proportionscheck.Name = "proportionscheck";
  proportionscheck.Caption = "Keep the picture's proportions";
  proportionscheck.ToolTip = "Black Bars Instead Of Stretching On Wide Screens";
  proportionscheck.Page = 3;
  // The two preview boxes: 3015 x 2925 twips with a sunken border of two pixels.
  for (PictureBoxControl* box : {&PreviewPicture, &PreviewPicture2}) {
    box->Place = {4440, 600, 3015, 2925};
    box->ScaleWidth = 3015 / 15 - 4;
    box->ScaleHeight = 2925 / 15 - 4;
  }
}

CreatureRow* Configuration::Row(const std::string& key) {
  for (CreatureRow& r : Creatures)
    if (r.Key == key) return &r;
  return nullptr;
}

void Configuration::Form_Load() {
  Guarded(p_, label::kConfigFormLoad, [&] {
    CenterForm(p_, Geometry);
    for (CreatureRow& row : Creatures)
      row.Check.Value = (row.Record->Enabled == kTrue && row.Record->FileFound == kTrue) ? 1 : 0;
    // A stored speed the scroll bar cannot show puts the thumb at the nearest end, so that this
    // dialog can always open and repair it.
    const long long value = static_cast<long long>(speedchk.Max) - static_cast<int16_t>(p_.settings.Speed);
    speedchk.Value = static_cast<int>(std::clamp<long long>(value, speedchk.Min, speedchk.Max));
    for (int i = 0; i <= 11; ++i) songchk[i].Check.Value = p_.settings.SongOn[i] == kTrue ? 1 : 0;
    for (int i = 0; i <= 11; ++i) soundchk[i].Check.Value = p_.settings.SoundOn[i] == kTrue ? 1 : 0;
    Text1 = p_.settings.MessageText;
    clockcheck.Value = p_.settings.ClockOn == kTrue ? 1 : 0;
    monitorscheck.Value = p_.settings.MonitorsOn == kTrue ? 1 : 0;
    proportionscheck.Value = p_.settings.KeepProportions == kTrue ? 1 : 0;
    p_.PaletteSurface = GenerateDC(p_, p_.DataDir + "h_palette.bmp");
    p_.BackBuffer = GenerateBufferDC(p_, p_.ScreenWidth, p_.ScreenHeight, p_.PaletteSurface);
    for (PictureBoxControl* box : {&PreviewPicture, &PreviewPicture2})
      box->Image = p_.surfaces.AddBlank(box->ScaleWidth, box->ScaleHeight, 0);
    for (CreatureState* r : {&p_.scene.PreviewState1, &p_.scene.PreviewState2}) {
      *r = CreatureState{};
      r->Width = 127;
      r->Height = 100;
      r->FrameCount = 21;
      r->FileName = "h_preview.bmp";
      r->Picture = GenerateDC(p_, p_.DataDir + r->FileName);
    }
    p_.os.ShowConfigurationWindow(*p_.windows);
  });
}

void Configuration::Command1_Click() { Form_Unload(); }

void Configuration::Command2_Click() {
  const bool saved = Guarded(p_, label::kConfigApply, [&] {
    SettingPairs pairs;
    auto put = [&](const std::string& key, const std::string& value) { pairs.emplace_back(key, value); };
    put("firstrun", "1");
    for (const CreatureRow& row : Creatures) put(row.Key, NumberText(row.Check.Value));
    put("speed", speedchk.Value == speedchk.Max ? "1" : NumberText(speedchk.Max - speedchk.Value));
    for (int i = 0; i <= 11; ++i) put("song" + std::to_string(i), NumberText(songchk[i].Check.Value));
    for (int i = 0; i <= 11; ++i) put("sound" + std::to_string(i), NumberText(soundchk[i].Check.Value));
    put("messagetext", Text1);
    put("clock", NumberText(clockcheck.Value));
    put("monitors", NumberText(monitorscheck.Value));
    put("proportions", NumberText(proportionscheck.Value));
    return SaveSettings(p_, pairs);
  });
  // Settings that could not be saved leave the dialog open with the user's choices.
  if (saved) Form_Unload();
}

void Configuration::Form_Unload() { EndRun(p_); }

void Configuration::CloseAuditionSong() { CloseSong(p_.os, "song1"); }

void Configuration::SilenceWaveOutput() { p_.os.PlaySoundNamed("0", kSndNoDefault); }

void Configuration::Tabs_Click(int) {
  // Leaving the Sounds page for another page stops the song, not an effect; an index that names
  // no page of ours does nothing.
  if (Tabs == 0 || Tabs == 1 || Tabs == 3 || Tabs == 4) CloseAuditionSong();
}

void Configuration::speaker_Click(int16_t index) {
  SilenceWaveOutput();
  CloseAuditionSong();
  std::string reply(255, ' ');
  p_.os.MciSendString("open \"" + SongFile(p_.DataDir, index) + "\" type sequencer alias song1", reply);
  p_.os.MciSendString("play song1 from " + std::to_string(AuditionStart(index)), reply);
}

void Configuration::fxspeaker_Click(int16_t index) {
  CloseAuditionSong();
  SilenceWaveOutput();
  const std::string path = EffectFile(p_.DataDir, index);
  // A missing effect plays nothing: the user's unsaved choices are worth more than an error box.
  if (!FileInstallCheck(p_, path)) return;
  waveBuffer_ = LoadSound(p_, path);
  p_.os.PlaySoundMemory(waveBuffer_, kSndAsyncMemory);
}

void Configuration::PreviewButton_Click(const std::string& button) {
  CreatureRow* row = nullptr;
  for (CreatureRow& r : Creatures)
    if (r.PreviewButton == button) row = &r;
  if (!row) return;
  const CreatureEntry& entry = *row->Entry;
  Scene& s = p_.scene;
  const bool first = row->Check.Page == 0;
  CreatureState& target = first ? s.PreviewState1 : s.PreviewState2;
  previewKind_[first ? 0 : 1] = entry.preview;
  // The surface the new selection replaces goes at once (the group pictures are not the preview's).
  if (target.Picture > 0 && target.Picture != s.FireFlies[1].Picture && target.Picture != s.Spider.Picture)
    RemoveDC(p_, target.Picture);
  target = *row->Record;
  if (entry.previewFile) {
    target.FileName = entry.previewFile;
    target.Width = entry.previewWidth;
    target.Height = entry.previewHeight;
    target.FrameCount = entry.previewFrames;
  }
  if (entry.preview == PreviewKind::kFireFlies) {
    RemoveDC(p_, s.FireFlies[1].Picture);
    s.FireFlies[1].Picture = GenerateDC(p_, p_.DataDir + s.FireFlies[1].FileName);
    target.Picture = 0;  // the fireflies draw from their own picture
  } else {
    target.Picture = GenerateDC(p_, p_.DataDir + target.FileName);
  }
  switch (entry.preview) {
    case PreviewKind::kOwl:
    case PreviewKind::kLightning:
      s.ShortTick = 0;
      break;
    case PreviewKind::kSpider:
      RemoveDC(p_, s.Spider.Picture);
      s.Spider.Picture = GenerateDC(p_, p_.DataDir + s.Spider.FileName);
      s.Spider.Y = -s.Spider.Height;
      s.Spider.X = RoundToInt32(PreviewPicture2.ScaleWidth / 2.0 - s.PreviewState2.Width / 2.0);
      s.MediumTick = 0;
      break;
    case PreviewKind::kHand:
      s.MediumTick = 0;
      break;
    case PreviewKind::kFireFlies: {
      const int W = PreviewPicture2.ScaleWidth, H = PreviewPicture2.ScaleHeight;
      for (int n = 1; n <= 8; ++n) {
        CreatureState& f = s.FireFlies[n];
        p_.Rnd.Seed(p_.os.ClockSeconds());
        f.X = static_cast<int32_t>(std::floor((W - f.Width - 4) * p_.Rnd.Next()));
        p_.Rnd.Seed(p_.os.ClockSeconds());
        f.Y = static_cast<int32_t>(std::floor((H - f.Height - 4) * p_.Rnd.Next()));
        if (n >= 5) f.StepX = -f.StepX;
      }
      break;
    }
    default:
      break;
  }
}

void Configuration::DrawPreview(PictureBoxControl& box, CreatureState& record, PreviewKind kind) {
  const int W = box.ScaleWidth, H = box.ScaleHeight;
  record.X = RoundToInt32(W / 2.0 - record.Width / 2.0);
  record.Y = RoundToInt32(H / 2.0 - record.Height / 2.0);
  p_.surfaces.BitBlt(p_.BackBuffer, 0, 0, W, H, 0, 0, 0, Rop::kBlackness);
  p_.surfaces.BitBlt(box.Image, 0, 0, W, H, 0, 0, 0, Rop::kBlackness);
  switch (kind) {
    case PreviewKind::kCrow: Anim_Crow1(p_, record); break;
    case PreviewKind::kOwl: Anim_Preview_Owl(p_); break;
    case PreviewKind::kBats: Anim_Preview_Multiple(p_, record, W, H); break;
    case PreviewKind::kHand: Anim_Preview_Hand(p_); break;
    case PreviewKind::kLightning: Anim_Preview_Lightning(p_); break;
    case PreviewKind::kFireFlies: Anim_Preview_FireFly(p_, W, H); break;
    case PreviewKind::kSpider: Anim_Preview_Spider(p_); break;
    case PreviewKind::kStillLoop: Anim_Still_Loop(p_, record); break;
  }
  p_.surfaces.BitBlt(box.Image, 0, 0, p_.ScreenWidth, p_.ScreenHeight, p_.BackBuffer, 0, 0, Rop::kSrcCopy);
}

void Configuration::Timer1_Timer() {
  Guarded(p_, label::kConfigTimer, [&] {
    Scene& s = p_.scene;
    s.ShortTick += 1;
    if (s.ShortTick == 40) s.ShortTick = 0;
    s.MediumTick += 1;
    if (s.MediumTick == 100) s.MediumTick = 0;
    s.LongTick += 1;
    if (s.LongTick == 1000) s.LongTick = 0;
    DrawPreview(PreviewPicture, s.PreviewState1, previewKind_[0]);
    DrawPreview(PreviewPicture2, s.PreviewState2, previewKind_[1]);
    p_.os.RefreshWindow();
  });
}

const WindowFrame& Configuration::Frame(size_t box) {
  WindowFrame& f = frames_[box == 0 ? 0 : 1];
  const PictureBoxControl& control = box == 0 ? PreviewPicture : PreviewPicture2;
  f.canvas = p_.surfaces.Find(control.Image);
  f.changed.clear();
  if (f.canvas) f.changed.push_back(Rect{0, 0, f.canvas->width, f.canvas->height});
  return f;
}

}  // namespace dusk
