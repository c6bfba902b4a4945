// A small MIDI sequencer on FluidSynth that answers the MCI strings the saver sends for its songs
// (read by the host kit: open, play from, status mode, stop, close).
// Songs play one at a time on one General MIDI synthesiser. Time advances only as audio is
// rendered, so a song's position is exactly the audio produced for it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include <fluidsynth.h>

namespace dusk::sdl {

// A Standard MIDI File flattened to channel messages on one time line, in frames of the output.
struct MidiSong {
  struct Event {
    uint64_t frame = 0;
    uint8_t status = 0, data1 = 0, data2 = 0;
  };
  std::vector<Event> events;
  uint64_t endFrame = 0;  // the last event of the longest track (its End of Track)
  double gainDb = 0;      // how much louder the loaded soundfont should play it (hosts/kit/song_levels.h)
};

// The host kit's reading of a Standard MIDI File, timed in frames of the output; nothing when
// the kit does not read it.
std::optional<MidiSong> ReadMidiSong(const std::vector<uint8_t>& bytes, uint32_t sampleRate);

class MciSequencer {
 public:
  using FileReader = std::function<std::optional<std::vector<uint8_t>>(const std::string& path)>;

  MciSequencer(uint32_t sampleRate, FileReader read);
  ~MciSequencer();
  MciSequencer(const MciSequencer&) = delete;
  MciSequencer& operator=(const MciSequencer&) = delete;

  // Loads a General MIDI soundfont. Without one every open fails as it does on a system with no
  // MIDI device, and the saver runs without music. The songs of a soundfont known by its file's
  // name (a link is followed to it) are played at the gains measured for them.
  bool LoadSoundFont(const std::string& path);

  // One MCI command string; the MCI error code (0: done). A status reply replaces the start of
  // `reply` (the rest of the caller's buffer stays as it was).
  uint32_t Send(const std::string& command, std::string& reply);

  // Adds `frames` stereo frames of the playing song (16-bit, interleaved) to `out`, with
  // saturation; adds nothing while no song sounds. Called from the audio thread.
  void Render(int16_t* out, size_t frames);

  // The sample rate songs are timed in.
  uint32_t SampleRate() const { return rate_; }

 private:
  void StopLocked();
  void Dispatch(const MidiSong::Event& e);
  void RenderSynth(int16_t* out, size_t frames);

  const uint32_t rate_;
  FileReader read_;
  fluid_settings_t* settings_ = nullptr;
  fluid_synth_t* synth_ = nullptr;
  bool fontLoaded_ = false;
  std::string fontPath_;  // the soundfont's file, links followed

  std::mutex mutex_;  // guards everything below (the audio thread renders)
  std::map<std::string, std::shared_ptr<const MidiSong>> songs_;  // by alias, lower case
  std::string playing_;            // alias of the song that plays, "" when none
  std::shared_ptr<const MidiSong> song_;
  size_t next_ = 0;                // next event of song_
  uint64_t pos_ = 0;               // frames of song_ played
  uint64_t tail_ = 0;              // frames of release and reverb still sounding after the end
  std::vector<float> left_, right_;
};

}  // namespace dusk::sdl
