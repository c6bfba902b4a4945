#include "hosts/sdl/sequencer.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "hosts/kit/mci.h"
#include "hosts/kit/midi.h"
#include "hosts/kit/song_levels.h"

namespace dusk::sdl {
namespace {

constexpr double kTailSeconds = 2.0;  // what still sounds after a song's last event
constexpr double kGain = 0.5;         // FluidSynth's output level for a song at 0 dB

uint64_t Frame(double seconds, uint32_t rate) { return static_cast<uint64_t>(std::llround(seconds * rate)); }

}  // namespace

std::optional<MidiSong> ReadMidiSong(const std::vector<uint8_t>& bytes, uint32_t sampleRate) {
  const auto file = kit::ReadMidiFile(bytes);
  if (!file) return std::nullopt;
  MidiSong song;
  song.events.reserve(file->events.size());
  for (const kit::MidiSong::Event& e : file->events)
    song.events.push_back(MidiSong::Event{Frame(e.seconds, sampleRate), e.status, e.data1, e.data2});
  song.endFrame = Frame(file->seconds, sampleRate);
  return song;
}

MciSequencer::MciSequencer(uint32_t sampleRate, FileReader read) : rate_(sampleRate), read_(std::move(read)) {
  // Only real failures are worth a line on the terminal.
  for (int level : {FLUID_WARN, FLUID_INFO, FLUID_DBG}) fluid_set_log_function(level, nullptr, nullptr);
  settings_ = new_fluid_settings();
  if (!settings_) return;
  fluid_settings_setnum(settings_, "synth.sample-rate", sampleRate);
  fluid_settings_setnum(settings_, "synth.gain", kGain);
  synth_ = new_fluid_synth(settings_);
}

MciSequencer::~MciSequencer() {
  if (synth_) delete_fluid_synth(synth_);
  if (settings_) delete_fluid_settings(settings_);
}

bool MciSequencer::LoadSoundFont(const std::string& path) {
  if (!synth_ || fontLoaded_) return fontLoaded_;
  fontLoaded_ = fluid_synth_sfload(synth_, path.c_str(), 1) != FLUID_FAILED;
  std::error_code ec;
  const std::filesystem::path real = std::filesystem::canonical(path, ec);
  fontPath_ = ec ? path : real.string();
  return fontLoaded_;
}

uint32_t MciSequencer::Send(const std::string& command, std::string& reply) {
  using Verb = kit::MciCommand::Verb;
  const kit::MciCommand c = kit::ParseMciCommand(command);
  if (c.stringError) return c.stringError;
  std::lock_guard lock(mutex_);
  if (c.verb == Verb::kOpen) {
    if (c.commandError) return c.commandError;
    if (songs_.count(c.device)) return kit::mci::kDuplicateAlias;
    auto bytes = read_(c.file);
    if (!bytes) return kit::mci::kFileNotFound;
    auto song = ReadMidiSong(*bytes, rate_);
    if (!song) return kit::mci::kInvalidFile;
    if (!fontLoaded_) return kit::mci::kNoMidiPresent;
    song->gainDb = kit::SongGainDb(fontPath_, kit::SongSlot(c.file));
    songs_[c.device] = std::make_shared<const MidiSong>(std::move(*song));
    return 0;
  }
  const auto it = songs_.find(c.device);
  if (it == songs_.end()) return kit::mci::kInvalidDeviceName;
  if (c.commandError) return c.commandError;
  switch (c.verb) {
    case Verb::kPlay: {
      const uint64_t from = uint64_t{c.from.value_or(0)} * rate_ / 1000;
      if (from > it->second->endFrame) return kit::mci::kOutOfRange;
      StopLocked();
      // Start from a clean synthesiser; programs, controllers and bends set before the starting
      // point are applied at once, notes are not.
      fluid_synth_system_reset(synth_);
      fluid_synth_set_gain(synth_, static_cast<float>(kGain * std::pow(10.0, it->second->gainDb / 20)));
      song_ = it->second;
      playing_ = it->first;
      pos_ = from;
      next_ = 0;
      for (; next_ < song_->events.size() && song_->events[next_].frame < from; ++next_) {
        const uint8_t kind = song_->events[next_].status & 0xF0;
        if (kind != 0x80 && kind != 0x90) Dispatch(song_->events[next_]);
      }
      return 0;
    }
    case Verb::kStatus:
      kit::WriteMciReply(reply, playing_ == it->first ? "playing" : "stopped");
      return 0;
    case Verb::kStop:
      if (playing_ == it->first) StopLocked();
      return 0;
    case Verb::kClose:
      if (playing_ == it->first) StopLocked();
      songs_.erase(it);
      return 0;
    default:
      return kit::mci::kUnrecognizedCommand;
  }
}

void MciSequencer::StopLocked() {
  if (!playing_.empty() || tail_) fluid_synth_all_sounds_off(synth_, -1);
  playing_.clear();
  song_.reset();
  tail_ = 0;
}

void MciSequencer::Dispatch(const MidiSong::Event& e) {
  const int ch = e.status & 0x0F;
  switch (e.status & 0xF0) {
    case 0x80: fluid_synth_noteoff(synth_, ch, e.data1); break;
    case 0x90: fluid_synth_noteon(synth_, ch, e.data1, e.data2); break;  // velocity 0 is a note off
    case 0xA0: fluid_synth_key_pressure(synth_, ch, e.data1, e.data2); break;
    case 0xB0: fluid_synth_cc(synth_, ch, e.data1, e.data2); break;
    case 0xC0: fluid_synth_program_change(synth_, ch, e.data1); break;
    case 0xD0: fluid_synth_channel_pressure(synth_, ch, e.data1); break;
    case 0xE0: fluid_synth_pitch_bend(synth_, ch, e.data1 | (e.data2 << 7)); break;
  }
}

void MciSequencer::RenderSynth(int16_t* out, size_t frames) {
  left_.resize(frames);
  right_.resize(frames);
  fluid_synth_write_float(synth_, static_cast<int>(frames), left_.data(), 0, 1, right_.data(), 0, 1);
  for (size_t i = 0; i < frames; ++i) {
    for (int c = 0; c < 2; ++c) {
      const float v = c == 0 ? left_[i] : right_[i];
      const long s = std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f) + out[2 * i + c];
      out[2 * i + c] = static_cast<int16_t>(std::clamp(s, -32768L, 32767L));
    }
  }
}

void MciSequencer::Render(int16_t* out, size_t frames) {
  std::lock_guard lock(mutex_);
  size_t done = 0;
  while (done < frames) {
    size_t chunk = frames - done;
    if (song_) {
      const auto& events = song_->events;
      while (next_ < events.size() && events[next_].frame <= pos_) Dispatch(events[next_++]);
      if (pos_ >= song_->endFrame) {
        // The song is over; what its last notes left sounding fades out.
        playing_.clear();
        song_.reset();
        tail_ = static_cast<uint64_t>(kTailSeconds * rate_);
        continue;
      }
      const uint64_t until = next_ < events.size() ? std::min(events[next_].frame, song_->endFrame) : song_->endFrame;
      chunk = static_cast<size_t>(std::min<uint64_t>(chunk, until - pos_));
      pos_ += chunk;
    } else if (tail_) {
      chunk = static_cast<size_t>(std::min<uint64_t>(chunk, tail_));
      tail_ -= chunk;
    } else {
      return;
    }
    RenderSynth(out + 2 * done, chunk);
    done += chunk;
  }
}

}  // namespace dusk::sdl
