#include "wavemix/mixer.h"

#include <algorithm>

namespace wavemix::detail {
namespace {

bool ValidChannel(int channel) { return channel >= 0 && channel < kChannelCount; }

size_t FramesOf(const WaveData& wave) { return wave ? wave->size() / 2 : 0; }

}  // namespace

void Mixer::OpenChannel(int channel) {
  if (!ValidChannel(channel)) return;
  std::lock_guard lock(mutex_);
  channels_[channel].open = true;
}

void Mixer::CloseChannel(int channel) {
  if (!ValidChannel(channel)) return;
  std::lock_guard lock(mutex_);
  Channel& ch = channels_[channel];
  ch.open = false;
  ch.current = Voice{};
  ch.pos = 0;
  ch.queue.clear();
  std::erase_if(held_, [channel](const HeldPlay& h) { return h.channel == channel; });
}

bool Mixer::IsOpen(int channel) const {
  if (!ValidChannel(channel)) return false;
  std::lock_guard lock(mutex_);
  return channels_[channel].open;
}

bool Mixer::IsPlaying(int channel) const {
  if (!ValidChannel(channel)) return false;
  std::lock_guard lock(mutex_);
  return channels_[channel].current.wave != nullptr;
}

bool Mixer::Play(int channel, WaveData wave, uint16_t loops, uint32_t flags) {
  if (!ValidChannel(channel) || !wave) return false;
  Voice voice{std::move(wave), loops == WMIX_LOOP_FOREVER ? kForever : uint32_t{loops}};
  std::lock_guard lock(mutex_);
  if (!channels_[channel].open) return false;
  if (flags & WMIX_WAIT) {
    held_.push_back(HeldPlay{channel, std::move(voice), flags});
    return true;
  }
  // Everything held starts in the same block as this play.
  for (HeldPlay& h : held_) {
    if (channels_[h.channel].open) StartLocked(h.channel, std::move(h.voice), h.flags);
  }
  held_.clear();
  StartLocked(channel, std::move(voice), flags);
  return true;
}

void Mixer::StartLocked(int channel, Voice voice, uint32_t flags) {
  Channel& ch = channels_[channel];
  if (flags & WMIX_CLEARQUEUE) {
    ch.queue.clear();
    ch.current = std::move(voice);
    ch.pos = 0;
  } else if (!ch.current.wave) {
    ch.current = std::move(voice);
    ch.pos = 0;
  } else {
    ch.queue.push_back(std::move(voice));
  }
}

void Mixer::StopWave(const std::vector<int16_t>* wave) {
  std::lock_guard lock(mutex_);
  for (Channel& ch : channels_) {
    std::erase_if(ch.queue, [wave](const Voice& v) { return v.wave.get() == wave; });
    if (ch.current.wave.get() == wave) Advance(ch);
  }
  std::erase_if(held_, [wave](const HeldPlay& h) { return h.voice.wave.get() == wave; });
}

void Mixer::Advance(Channel& ch) {
  ch.pos = 0;
  if (ch.queue.empty()) {
    ch.current = Voice{};
  } else {
    ch.current = std::move(ch.queue.front());
    ch.queue.pop_front();
  }
}

void Mixer::MixChannel(Channel& ch, int32_t* acc, size_t frames) {
  size_t done = 0;
  while (done < frames && ch.current.wave) {
    const size_t length = FramesOf(ch.current.wave);
    if (length == 0) {  // an empty wave ends at once, however often it was to repeat
      Advance(ch);
      continue;
    }
    const size_t take = std::min(frames - done, length - ch.pos);
    const int16_t* src = ch.current.wave->data() + 2 * ch.pos;
    int32_t* dst = acc + 2 * done;
    for (size_t i = 0; i < 2 * take; ++i) dst[i] += src[i];
    done += take;
    ch.pos += take;
    if (ch.pos == length) {
      ch.pos = 0;
      if (ch.current.repeats_left == kForever) continue;
      if (ch.current.repeats_left > 0) {
        --ch.current.repeats_left;
      } else {
        Advance(ch);
      }
    }
  }
}

void Mixer::RenderFrames(int16_t* out, size_t frames) {
  std::array<int32_t, 2 * kBlockFrames> acc;
  std::lock_guard lock(mutex_);
  while (frames > 0) {
    const size_t n = std::min(frames, kBlockFrames);
    std::fill_n(acc.begin(), 2 * n, 0);
    for (Channel& ch : channels_) MixChannel(ch, acc.data(), n);
    for (size_t i = 0; i < 2 * n; ++i) {
      out[i] = static_cast<int16_t>(std::clamp<int32_t>(acc[i], INT16_MIN, INT16_MAX));
    }
    out += 2 * n;
    frames -= n;
  }
}

}  // namespace wavemix::detail
