// wavemix: an 8-channel wave mixer.
//
// A session owns one output sink and eight channels. Waves are loaded from PCM WAV files
// (8 or 16 bits, mono or stereo, any rate), converted once to the device format
// (16-bit stereo at the sink's rate) and mixed with saturation into one output stream.
// The eight C-style operations below are what the saver calls; everything they take or
// return is a plain 32-bit value or a pointer, so unknown handles are ignored safely.
//
// Threads: any thread may call the operations; the sink pulls audio on its own thread.
// WaveMixPlay only queues work under a short lock and never waits for audio.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace wavemix {

#pragma pack(push, 1)
struct MixPlayParams {      // 24 bytes, little-endian, no gaps
  uint16_t wSize;           // 24
  uint32_t hMixSession;
  int32_t  iChannel;
  uint32_t hWave;           // wave handle from WaveMixOpenWave
  uint32_t hWndNotify;      // 0: none (notifications are not sent)
  uint32_t dwFlags;         // WMIX_* play flags
  uint16_t wLoops;          // 0: play once; n: n extra repeats; 0xFFFF: until cut off
};
#pragma pack(pop)
static_assert(sizeof(MixPlayParams) == 24, "the play record is 24 packed bytes");

// WaveMixPlay flags.
inline constexpr uint32_t WMIX_QUEUEWAVE = 0x00;   // append to the channel's queue
inline constexpr uint32_t WMIX_CLEARQUEUE = 0x01;  // drop the queue and cut off the current wave
inline constexpr uint32_t WMIX_HIPRIORITY = 0x04;  // accepted; every play starts at the next block
inline constexpr uint32_t WMIX_WAIT = 0x08;        // hold until the next play without this flag
inline constexpr uint16_t WMIX_LOOP_FOREVER = 0xFFFF;

// WaveMixOpenChannel / WaveMixCloseChannel flags.
inline constexpr uint32_t WMIX_OPENSINGLE = 0;  // the one channel given
inline constexpr uint32_t WMIX_ALL = 1;         // every channel
inline constexpr uint32_t WMIX_OPENCOUNT = 2;   // channels 0 .. n-1

// WaveMixOpenWave flags.
inline constexpr uint32_t WMIX_FILE = 0x01;      // the default: the argument is a file path
inline constexpr uint32_t WMIX_RESOURCE = 0x02;  // not supported: gives 0
inline constexpr uint32_t WMIX_MEMORY = 0x04;    // not supported here: use WaveMixOpenWaveFromMemory

inline constexpr int kChannelCount = 8;
inline constexpr uint32_t kDefaultSampleRate = 22050;

// Result codes of the operations that do not return a handle.
inline constexpr uint32_t WMIX_OK = 0;
inline constexpr uint32_t WMIX_BADHANDLE = 1;
inline constexpr uint32_t WMIX_BADPARAM = 2;
inline constexpr uint32_t WMIX_NOTOPEN = 3;
inline constexpr uint32_t WMIX_DEVICEERROR = 4;

// The device format is fixed at 16-bit signed stereo, interleaved (L, R); only the rate varies.
inline constexpr int kDeviceChannels = 2;

// What a sink pulls audio from (the session's mixer). RenderFrames is thread-safe and
// fills `frames` stereo frames (2 * frames samples) every time; silence when idle.
class FrameSource {
 public:
  virtual void RenderFrames(int16_t* out, size_t frames) = 0;

 protected:
  ~FrameSource() = default;
};

// An output device. The session calls, in order: SampleRate, Open (once), then any number
// of Start/Stop pairs (WaveMixActivate), then Stop and Close (Close also when Open failed).
// After Close returns the sink must never call into the source again.
class OutputSink {
 public:
  virtual ~OutputSink() = default;
  virtual uint32_t SampleRate() const { return kDefaultSampleRate; }
  virtual bool Open(FrameSource& source) = 0;  // false: no output, the session is not created
  virtual bool Start() = 0;                    // begin pulling audio
  virtual void Stop() = 0;                     // stop pulling; idempotent
  virtual void Close() = 0;
};

// Renders only when asked, and keeps everything it rendered. Deterministic: for tests.
// While the session is not active, Render produces (and keeps) silence without advancing
// the mixer.
class MemorySink final : public OutputSink {
 public:
  explicit MemorySink(uint32_t sample_rate = kDefaultSampleRate) : rate_(sample_rate) {}
  uint32_t SampleRate() const override { return rate_; }
  bool Open(FrameSource& source) override;
  bool Start() override;
  void Stop() override;
  void Close() override;

  // Pulls `frames` frames and appends them to Samples(); returns the index of the first
  // new sample (stereo samples, so frame f of this block is at index + 2 * f).
  size_t Render(size_t frames);
  const std::vector<int16_t>& Samples() const { return samples_; }
  bool Started() const { return started_; }
  bool Closed() const { return closed_; }

 private:
  uint32_t rate_;
  FrameSource* source_ = nullptr;
  bool started_ = false;
  bool closed_ = false;
  std::vector<int16_t> samples_;
};

// Accepts and discards. Render pulls like MemorySink but only counts the frames.
class NullSink final : public OutputSink {
 public:
  explicit NullSink(uint32_t sample_rate = kDefaultSampleRate) : rate_(sample_rate) {}
  uint32_t SampleRate() const override { return rate_; }
  bool Open(FrameSource& source) override;
  bool Start() override;
  void Stop() override;
  void Close() override;

  void Render(size_t frames);
  uint64_t FramesRendered() const { return frames_; }

 private:
  uint32_t rate_;
  FrameSource* source_ = nullptr;
  bool started_ = false;
  uint64_t frames_ = 0;
};

#ifdef _WIN32
// The Win32 output: waveOut on the wave mapper, a few ~40 ms buffers refilled by a thread.
std::unique_ptr<OutputSink> MakeWaveOutSink(uint32_t sample_rate = kDefaultSampleRate);
#endif

// The sink WaveMixInit uses. Without a factory: waveOut on Windows, none elsewhere
// (WaveMixInit then gives 0). Pass an empty function to restore the platform default.
using SinkFactory = std::function<std::unique_ptr<OutputSink>()>;
void SetDefaultSinkFactory(SinkFactory factory);

uint32_t WaveMixInit();
uint32_t WaveMixInitWithSink(std::unique_ptr<OutputSink> sink);
uint32_t WaveMixOpenWave(uint32_t session, const char* path, uint32_t instance, uint32_t flags);
uint32_t WaveMixOpenWaveFromMemory(uint32_t session, const void* data, size_t size);
uint32_t WaveMixOpenChannel(uint32_t session, int32_t channel, uint32_t flags);
uint32_t WaveMixActivate(uint32_t session, int32_t activate);
uint32_t WaveMixPlay(const void* params);
uint32_t WaveMixCloseChannel(uint32_t session, int32_t channel, uint32_t flags);
uint32_t WaveMixFreeWave(uint32_t session, uint32_t wave);
uint32_t WaveMixCloseSession(uint32_t session);

}  // namespace wavemix
