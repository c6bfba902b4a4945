#include "hosts/sdl/audio.h"

#include <cstring>

#include "hosts/sdl/sequencer.h"

namespace dusk::sdl {
namespace {

// The mixer's sink on the shared device: started, the device pulls its frames; stopped, it no
// longer does (the device lock makes sure no pull is under way when Stop returns).
class EffectsSink final : public wavemix::OutputSink {
 public:
  explicit EffectsSink(AudioOut& out) : out_(out) {}
  uint32_t SampleRate() const override { return AudioOut::kRate; }
  bool Open(wavemix::FrameSource& source) override {
    source_ = &source;
    return out_.Open();
  }
  bool Start() override {
    if (!source_) return false;
    out_.SetEffects(source_);
    return true;
  }
  void Stop() override { out_.SetEffects(nullptr); }
  void Close() override {
    Stop();
    source_ = nullptr;
  }

 private:
  AudioOut& out_;
  wavemix::FrameSource* source_ = nullptr;
};

}  // namespace

bool AudioOut::Open() {
  if (tried_) return device_ != 0;
  tried_ = true;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  SDL_AudioSpec want{};
  want.freq = static_cast<int>(kRate);
  want.format = AUDIO_S16SYS;
  want.channels = 2;
  want.samples = 512;  // about 23 ms: effects start promptly and closing waits little
  want.callback = &AudioOut::Callback;
  want.userdata = this;
  SDL_AudioSpec have{};
  device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);  // SDL converts to what the card takes
  if (device_ == 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  SDL_PauseAudioDevice(device_, 0);
  return true;
}

void AudioOut::Close() {
  if (device_ == 0) return;
  SDL_CloseAudioDevice(device_);  // waits for the callback to finish
  device_ = 0;
  effects_ = nullptr;
  music_ = nullptr;
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void AudioOut::SetEffects(wavemix::FrameSource* source) {
  if (device_ == 0) return;
  SDL_LockAudioDevice(device_);
  effects_ = source;
  SDL_UnlockAudioDevice(device_);
}

void AudioOut::SetMusic(MciSequencer* music) {
  if (device_ == 0) return;
  SDL_LockAudioDevice(device_);
  music_ = music;
  SDL_UnlockAudioDevice(device_);
}

std::unique_ptr<wavemix::OutputSink> AudioOut::MakeEffectsSink() { return std::make_unique<EffectsSink>(*this); }

void AudioOut::Callback(void* self, Uint8* stream, int bytes) {
  static_cast<AudioOut*>(self)->Fill(reinterpret_cast<int16_t*>(stream), static_cast<size_t>(bytes) / 4);
}

void AudioOut::Fill(int16_t* out, size_t frames) {
  if (effects_) effects_->RenderFrames(out, frames);
  else std::memset(out, 0, frames * 4);
  if (music_) music_->Render(out, frames);
}

}  // namespace dusk::sdl
