// The mixing engine: eight channels, each with a current wave and a queue, summed with
// saturation into 16-bit stereo. Internal to wavemix.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "wavemix/wavemix.h"

namespace wavemix::detail {

// Interleaved 16-bit stereo at the device rate. Shared so that a channel never outlives the
// samples it reads; the session's wave table holds the owning reference.
using WaveData = std::shared_ptr<const std::vector<int16_t>>;

class Mixer final : public FrameSource {
 public:
  void OpenChannel(int channel);
  void CloseChannel(int channel);  // cuts off what it plays and drops its queue
  bool IsOpen(int channel) const;

  // Starts (or queues) `wave` on an open channel; false if the channel is not open.
  // Plays `loops` + 1 times, or until cut off for WMIX_LOOP_FOREVER.
  bool Play(int channel, WaveData wave, uint16_t loops, uint32_t flags);

  // Removes every use of `wave`: current plays, queues and held plays.
  void StopWave(const std::vector<int16_t>* wave);

  bool IsPlaying(int channel) const;

  void RenderFrames(int16_t* out, size_t frames) override;

 private:
  struct Voice {
    WaveData wave;
    uint32_t repeats_left = 0;  // kForever: never runs out
  };
  struct Channel {
    bool open = false;
    Voice current;
    size_t pos = 0;  // next frame of current.wave
    std::deque<Voice> queue;
  };
  struct HeldPlay {
    int channel;
    Voice voice;
    uint32_t flags;
  };
  static constexpr uint32_t kForever = UINT32_MAX;
  static constexpr size_t kBlockFrames = 256;

  void StartLocked(int channel, Voice voice, uint32_t flags);
  static void Advance(Channel& ch);
  static void MixChannel(Channel& ch, int32_t* acc, size_t frames);

  mutable std::mutex mutex_;
  std::array<Channel, kChannelCount> channels_;
  std::vector<HeldPlay> held_;
};

}  // namespace wavemix::detail
