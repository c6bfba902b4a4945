// The sinks that pull only when asked: MemorySink keeps the samples, NullSink counts them.
#include "wavemix/wavemix.h"

namespace wavemix {

bool MemorySink::Open(FrameSource& source) {
  source_ = &source;
  closed_ = false;
  return true;
}

bool MemorySink::Start() {
  started_ = source_ != nullptr;
  return started_;
}

void MemorySink::Stop() { started_ = false; }

void MemorySink::Close() {
  started_ = false;
  closed_ = true;
  source_ = nullptr;
}

size_t MemorySink::Render(size_t frames) {
  const size_t first = samples_.size();
  samples_.resize(first + 2 * frames, 0);
  if (started_ && source_ != nullptr) source_->RenderFrames(samples_.data() + first, frames);
  return first;
}

bool NullSink::Open(FrameSource& source) {
  source_ = &source;
  return true;
}

bool NullSink::Start() {
  started_ = source_ != nullptr;
  return started_;
}

void NullSink::Stop() { started_ = false; }

void NullSink::Close() {
  started_ = false;
  source_ = nullptr;
}

void NullSink::Render(size_t frames) {
  if (!started_ || source_ == nullptr) return;
  std::vector<int16_t> scratch(2 * 256);
  for (size_t left = frames; left > 0;) {
    const size_t n = left < 256 ? left : 256;
    source_->RenderFrames(scratch.data(), n);
    left -= n;
  }
  frames_ += frames;
}

}  // namespace wavemix
