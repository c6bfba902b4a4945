// The saver's one audio output: an SDL audio device that plays the wave mixer's effects with the
// songs of the MIDI sequencer added on top. Opened when first needed; without a device both stay
// silent, as the saver is on a system without a sound card.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "wavemix/wavemix.h"

namespace dusk::sdl {

class MciSequencer;

class AudioOut {
 public:
  static constexpr uint32_t kRate = wavemix::kDefaultSampleRate;

  AudioOut() = default;
  ~AudioOut() { Close(); }
  AudioOut(const AudioOut&) = delete;
  AudioOut& operator=(const AudioOut&) = delete;

  // Opens and starts the device once; false when there is none (asked again, it stays false).
  bool Open();
  void Close();

  // What the device pulls: the effects (null: none) and the songs (null: none).
  void SetEffects(wavemix::FrameSource* source);
  void SetMusic(MciSequencer* music);

  // The wave mixer's output on this device.
  std::unique_ptr<wavemix::OutputSink> MakeEffectsSink();

 private:
  static void Callback(void* self, Uint8* stream, int bytes);
  void Fill(int16_t* out, size_t frames);

  SDL_AudioDeviceID device_ = 0;
  bool tried_ = false;
  wavemix::FrameSource* effects_ = nullptr;  // changed only with the device locked
  MciSequencer* music_ = nullptr;
};

}  // namespace dusk::sdl
