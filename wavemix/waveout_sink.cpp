// The Win32 output: the wave mapper through waveOut, fed by one thread that refills a ring
// of small buffers as the device returns them (event callback, no window messages).
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <mmsystem.h>

#include <array>
#include <atomic>
#include <thread>
#include <vector>

#include "wavemix/wavemix.h"

namespace wavemix {
namespace {

constexpr int kBufferCount = 4;
constexpr uint32_t kBufferMillis = 40;

class WaveOutSink final : public OutputSink {
 public:
  explicit WaveOutSink(uint32_t rate) : rate_(rate) {}
  ~WaveOutSink() override { Close(); }

  uint32_t SampleRate() const override { return rate_; }

  bool Open(FrameSource& source) override {
    source_ = &source;
    event_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (event_ == nullptr) return false;
    WAVEFORMATEX fmt{};
    fmt.wFormatTag = WAVE_FORMAT_PCM;
    fmt.nChannels = kDeviceChannels;
    fmt.nSamplesPerSec = rate_;
    fmt.wBitsPerSample = 16;
    fmt.nBlockAlign = static_cast<WORD>(fmt.nChannels * fmt.wBitsPerSample / 8);
    fmt.nAvgBytesPerSec = fmt.nSamplesPerSec * fmt.nBlockAlign;
    if (waveOutOpen(&device_, WAVE_MAPPER, &fmt, reinterpret_cast<DWORD_PTR>(event_), 0,
                    CALLBACK_EVENT) != MMSYSERR_NOERROR) {
      device_ = nullptr;
      return false;
    }
    frames_per_buffer_ = rate_ * kBufferMillis / 1000;
    for (int i = 0; i < kBufferCount; ++i) {
      memory_[i].assign(2 * frames_per_buffer_, 0);
      WAVEHDR& h = headers_[i];
      h = WAVEHDR{};
      h.lpData = reinterpret_cast<LPSTR>(memory_[i].data());
      h.dwBufferLength = static_cast<DWORD>(memory_[i].size() * sizeof(int16_t));
      if (waveOutPrepareHeader(device_, &h, sizeof h) != MMSYSERR_NOERROR) return false;
      prepared_[i] = true;
    }
    return true;
  }

  bool Start() override {
    if (device_ == nullptr || worker_.joinable()) return device_ != nullptr;
    stop_ = false;
    failed_ = false;
    worker_ = std::thread([this] { Run(); });
    return true;
  }

  void Stop() override {
    if (!worker_.joinable()) return;
    stop_ = true;
    SetEvent(event_);
    worker_.join();
    waveOutReset(device_);  // hands every queued buffer back as done
  }

  void Close() override {
    Stop();
    if (device_ != nullptr) {
      for (int i = 0; i < kBufferCount; ++i) {
        if (prepared_[i]) waveOutUnprepareHeader(device_, &headers_[i], sizeof(WAVEHDR));
        prepared_[i] = false;
      }
      waveOutClose(device_);
      device_ = nullptr;
    }
    if (event_ != nullptr) {
      CloseHandle(event_);
      event_ = nullptr;
    }
    source_ = nullptr;
  }

 private:
  void Run() {
    while (!stop_ && !failed_) {
      for (int i = 0; i < kBufferCount && !stop_; ++i) {
        WAVEHDR& h = headers_[i];
        // The device clears WHDR_INQUEUE when it is done with a buffer.
        const DWORD flags = static_cast<volatile DWORD&>(h.dwFlags);
        if (flags & WHDR_INQUEUE) continue;
        source_->RenderFrames(memory_[i].data(), frames_per_buffer_);
        if (waveOutWrite(device_, &h, sizeof h) != MMSYSERR_NOERROR) failed_ = true;
      }
      WaitForSingleObject(event_, 2 * kBufferMillis);
    }
  }

  uint32_t rate_;
  FrameSource* source_ = nullptr;
  HANDLE event_ = nullptr;
  HWAVEOUT device_ = nullptr;
  uint32_t frames_per_buffer_ = 0;
  std::array<std::vector<int16_t>, kBufferCount> memory_;
  std::array<WAVEHDR, kBufferCount> headers_{};
  std::array<bool, kBufferCount> prepared_{};
  std::thread worker_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> failed_{false};
};

}  // namespace

std::unique_ptr<OutputSink> MakeWaveOutSink(uint32_t sample_rate) {
  return std::make_unique<WaveOutSink>(sample_rate);
}

}  // namespace wavemix
