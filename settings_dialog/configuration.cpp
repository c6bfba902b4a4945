#include "settings_dialog/configuration.h"

#include <algorithm>
#include <cmath>

#include "platform/labels.h"
#include "platform/numbers.h"
#include "scene/animations.h"
#include "scene/settings_table.h"

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
constexpr SlotPlace kSongPlaces[12] = {{0, 0, 0}, {1, 1, 0}, {2, 0, 1}, {3, 1, 1}, {4, 0, 2}, {5, 1, 2},
                                       {6, 1, 3}, {7, 0, 3}, {8, 0, 4}, {9, 1, 4}, {10, 0, 5}, {11, 1, 5}};
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
  auto soundRows = [&](SoundRow (&rows)[12], const SlotPlace (&places)[12], const char* key, const char* toolTip,
                       const TwipsRect& frame, Column left, Column right) {
    for (const SlotPlace& s : places) {
      SoundRow& r = rows[s.slot];
      const Column& c = s.column ? right : left;
      const int top = frame.top + kSoundRowTops[s.row];
      const SettingKey& setting = *FindSetting(key + std::to_string(s.slot));
      r.Check.Name = setting.Control();
      r.Check.Caption = setting.Caption();
      r.Check.ToolTip = toolTip;
      r.Check.Page = 2;
      r.Check.Place = {frame.left + c.checkLeft, top, c.buttonLeft - c.checkLeft, kRowHeight};
      r.ButtonPlace = {frame.left + c.buttonLeft, top, 255, 255};
    }
  };
  soundRows(songchk, kSongPlaces, "song", "Select Background Music", kMusicFrame, {240, 1440}, {1920, 3360});
  soundRows(soundchk, kSoundPlaces, "sound", "Select Sound Effects", kEffectsFrame, {240, 1320}, {1800, 2880});
  auto option = [](CheckBoxControl& box, const char* key, const char* toolTip) {
    const SettingKey& setting = *FindSetting(key);
    box.Name = setting.Control();
    box.Caption = setting.Caption();
    box.ToolTip = toolTip;
    box.Page = 3;
  };
  option(clockcheck, "clock", "Include A  Digital Clock On-Screen");
  option(monitorscheck, "monitors", "Show The Graveyard On Every Monitor");
  option(proportionscheck, "proportions", "Black Bars Instead Of Stretching On Wide Screens");
  speedchk.Max = FindSetting("speed")->row->high;
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

CheckBoxControl* Configuration::CheckBox(const std::string& name) {
  for (CreatureRow& r : Creatures)
    if (r.Check.Name == name) return &r.Check;
  for (SoundRow* rows : {songchk, soundchk})
    for (int i = 0; i <= 11; ++i)
      if (rows[i].Check.Name == name) return &rows[i].Check;
  for (CheckBoxControl* box : {&clockcheck, &monitorscheck, &proportionscheck})
    if (box->Name == name) return box;
  return nullptr;
}

void Configuration::Form_Load() {
  Guarded(p_, label::kConfigFormLoad, [&] {
    CenterForm(p_, Geometry);
    for (const SettingKey& k : SettingKeys()) {
      switch (k.row->type) {
        case SettingType::kSwitch: {
          // A creature whose picture is missing cannot be shown: its box stays unticked.
          const bool shown = !k.creature || k.creature->record(p_.scene).FileFound == kTrue;
          CheckBox(k.Control())->Value = k.Flag(p_) == kTrue && shown ? 1 : 0;
          break;
        }
        case SettingType::kNumber: {
          // A stored speed the scroll bar cannot show puts the thumb at the nearest end, so that
          // this dialog can always open and repair it.
          const long long value = static_cast<long long>(speedchk.Max) - static_cast<int16_t>(k.Number(p_));
          speedchk.Value = static_cast<int>(std::clamp<long long>(value, speedchk.Min, speedchk.Max));
          break;
        }
        case SettingType::kText:
          Text1 = k.Text(p_);
          Text1MaxLength = k.row->maxLength;
          break;
        case SettingType::kMark: break;
      }
    }
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
    for (const SettingKey& k : SettingKeys()) {
      switch (k.row->type) {
        case SettingType::kMark: put(k.key, k.Written(1)); break;
        case SettingType::kSwitch: put(k.key, k.Written(CheckBox(k.Control())->Value)); break;
        case SettingType::kNumber: put(k.key, k.Written(speedchk.Max - speedchk.Value)); break;
        case SettingType::kText: put(k.key, k.Written(Text1)); break;
      }
    }
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
  if (const SpriteSheet* sheet = entry.previewSheet) {
    target.FileName = sheet->file;
    target.Width = sheet->width;
    target.Height = sheet->height;
    target.FrameCount = sheet->frames;
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
