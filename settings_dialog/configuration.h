// The settings dialog: loads the settings into its controls, previews creatures live, auditions
// songs and effects, and writes everything back on Apply. Positions are in twips.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/frame.h"
#include "platform/system.h"
#include "platform/controls.h"
#include "scene/catalogue.h"
#include "scene/stage.h"

namespace dusk {

struct TwipsRect {
  int left = 0, top = 0, width = 0, height = 0;
};

struct CheckBoxControl {
  std::string Name, Caption, ToolTip;
  int Value = 0;  // 1 ticked, 0 not
  int Page = 0;
  TwipsRect Place;  // on its page
};

// A creature row: its check box, the settings key, the record it stands for and its preview button.
struct CreatureRow {
  CheckBoxControl Check;
  std::string Key;
  CreatureState* Record = nullptr;
  const CreatureEntry* Entry = nullptr;  // what the catalogue says of it
  std::string PreviewButton;  // the button's name, e.g. "Picture8"
  TwipsRect ButtonPlace;
};

struct SoundRow {
  CheckBoxControl Check;  // songchk(i) or soundchk(i)
  TwipsRect ButtonPlace;  // speaker(i) or fxspeaker(i)
};

struct ScrollBarControl {
  int Min = 0, Max = 140, SmallChange = 5, LargeChange = 10, Value = 0;
};

struct PictureBoxControl {
  TwipsRect Place;
  int ScaleWidth = 0, ScaleHeight = 0;  // inner size in pixels
  int32_t Image = 0;                    // the persistent image (a surface of the inner size)
};

class Configuration {
 public:
  explicit Configuration(Stage& p);

  static constexpr const char* kCaption = "Duskhollow ScreenSaver";
  FormGeometry Geometry{0, 0, 7680, 4200};  // client area in twips
  static constexpr int kPageCount = 5;
  static const char* const kPageCaptions[kPageCount];
  int Tabs = 0;  // the page in front

  std::vector<CreatureRow> Creatures;  // the twenty rows, in the order the settings file lists them
  SoundRow songchk[12];
  SoundRow soundchk[12];
  ScrollBarControl speedchk;
  CheckBoxControl clockcheck;
  CheckBoxControl monitorscheck, proportionscheck;
  std::string Text1;
  size_t Text1MaxLength = 0;  // the most characters the message box takes (UTF-16 units)
  PictureBoxControl PreviewPicture, PreviewPicture2;
  TimerControl Timer1{100, true};
  // The frames the rows stand in, on their pages: fraOptions and Frame4 on the two creature
  // pages, MusicFrame and Frame6 on the Sounds page.
  static constexpr TwipsRect kCreatureFrame{240, 510, 3975, 2880};
  static constexpr TwipsRect kMusicFrame{120, 480, 3735, 2880};
  static constexpr TwipsRect kEffectsFrame{3975, 480, 3300, 2880};

  // Events
  void Form_Load();
  [[noreturn]] void Command1_Click();  // Cancel
  void Command2_Click();  // Apply: ends the dialog once the settings are saved
  [[noreturn]] void Form_Unload();
  void Tabs_Click(int previousTab);
  void Timer1_Timer();
  // A creature's preview button, by the button's name ("Picture1" ... "Picture33", "v").
  void PreviewButton_Click(const std::string& button);
  void speaker_Click(int16_t index);
  void fxspeaker_Click(int16_t index);

  // The row of a settings key ("owl"), or nullptr.
  CreatureRow* Row(const std::string& key);
  // The check box of that name ("CheckOwl", "songchk(3)", "clockcheck"), or nullptr.
  CheckBoxControl* CheckBox(const std::string& name);

  // The preview boxes as windows (0 the first page's, 1 the second's): each tick redraws all of a box.
  const WindowFrame& Frame(size_t box);

 private:
  Stage& p_;
  std::vector<uint8_t> waveBuffer_;  // the effect being auditioned
  void CloseAuditionSong();
  void SilenceWaveOutput();
  // How each box plays what it shows (a box shows the preview strip until a button is clicked).
  PreviewKind previewKind_[2] = {PreviewKind::kStillLoop, PreviewKind::kStillLoop};
  void DrawPreview(PictureBoxControl& box, CreatureState& record, PreviewKind kind);
  WindowFrame frames_[2];
};

}  // namespace dusk
