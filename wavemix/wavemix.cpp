// The eight operations: a table of sessions, each with its sink, mixer and loaded waves.
#include "wavemix/wavemix.h"

#include <atomic>
#include <cstring>
#include <map>
#include <mutex>

#include "wavemix/file.h"
#include "wavemix/mixer.h"
#include "wavemix/wav.h"

namespace wavemix {
namespace {

using detail::WaveData;

struct Session {
  detail::Mixer mixer;                // declared before the sink: the sink goes first
  std::unique_ptr<OutputSink> sink;
  uint32_t sample_rate = kDefaultSampleRate;

  std::mutex mutex;                   // guards the fields below and calls into the sink
  std::map<uint32_t, WaveData> waves;
  bool active = false;
  bool closed = false;
};

struct Registry {
  std::mutex mutex;
  std::map<uint32_t, std::shared_ptr<Session>> sessions;
  uint32_t next_session = 1;
  SinkFactory factory;

  // A session still open when the process exits is abandoned, not closed: by then the
  // output thread may already be gone, and stopping a device during exit can hang.
  ~Registry() {
    if (!sessions.empty()) new std::map<uint32_t, std::shared_ptr<Session>>(std::move(sessions));
  }
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

std::atomic<uint32_t> g_next_wave{1};

uint32_t NextHandle(uint32_t& counter) {
  if (counter == 0) counter = 1;
  return counter++;
}

std::shared_ptr<Session> Find(uint32_t handle) {
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  const auto it = r.sessions.find(handle);
  return it == r.sessions.end() ? nullptr : it->second;
}

uint32_t AddWave(Session& s, const void* bytes, size_t size) {
  const auto pcm = detail::ParseWav(bytes, size);
  if (!pcm) return 0;
  auto samples = detail::ConvertToDevice(*pcm, s.sample_rate);
  if (!samples) return 0;
  auto wave = std::make_shared<const std::vector<int16_t>>(std::move(*samples));
  uint32_t handle = g_next_wave.fetch_add(1);
  if (handle == 0) handle = g_next_wave.fetch_add(1);
  std::lock_guard lock(s.mutex);
  if (s.closed) return 0;
  s.waves.emplace(handle, std::move(wave));
  return handle;
}

}  // namespace

void SetDefaultSinkFactory(SinkFactory factory) {
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  r.factory = std::move(factory);
}

uint32_t WaveMixInit() {
  SinkFactory factory;
  {
    Registry& r = TheRegistry();
    std::lock_guard lock(r.mutex);
    factory = r.factory;
  }
  std::unique_ptr<OutputSink> sink;
  if (factory) {
    sink = factory();
  } else {
#ifdef _WIN32
    sink = MakeWaveOutSink();
#endif
  }
  return sink ? WaveMixInitWithSink(std::move(sink)) : 0;
}

uint32_t WaveMixInitWithSink(std::unique_ptr<OutputSink> sink) {
  if (!sink) return 0;
  const uint32_t rate = sink->SampleRate();
  if (rate < detail::kMinSampleRate || rate > detail::kMaxSampleRate) return 0;
  auto session = std::make_shared<Session>();
  session->sample_rate = rate;
  if (!sink->Open(session->mixer)) {
    sink->Close();
    return 0;
  }
  session->sink = std::move(sink);
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  uint32_t handle = NextHandle(r.next_session);
  while (r.sessions.count(handle) != 0) handle = NextHandle(r.next_session);
  r.sessions.emplace(handle, std::move(session));
  return handle;
}

uint32_t WaveMixOpenWave(uint32_t session, const char* path, uint32_t /*instance*/,
                         uint32_t flags) {
  const auto s = Find(session);
  if (!s || path == nullptr || (flags & (WMIX_RESOURCE | WMIX_MEMORY)) != 0) return 0;
  const auto bytes = detail::ReadWaveFile(path);
  if (!bytes || bytes->empty()) return 0;
  return AddWave(*s, bytes->data(), bytes->size());
}

uint32_t WaveMixOpenWaveFromMemory(uint32_t session, const void* data, size_t size) {
  const auto s = Find(session);
  return s ? AddWave(*s, data, size) : 0;
}

uint32_t WaveMixOpenChannel(uint32_t session, int32_t channel, uint32_t flags) {
  const auto s = Find(session);
  if (!s) return WMIX_BADHANDLE;
  int first = channel;
  int last = channel;
  if (flags == WMIX_ALL) {
    first = 0;
    last = kChannelCount - 1;
  } else if (flags == WMIX_OPENCOUNT) {
    if (channel < 1 || channel > kChannelCount) return WMIX_BADPARAM;
    first = 0;
    last = channel - 1;
  } else if (flags != WMIX_OPENSINGLE || channel < 0 || channel >= kChannelCount) {
    return WMIX_BADPARAM;
  }
  for (int c = first; c <= last; ++c) s->mixer.OpenChannel(c);
  return WMIX_OK;
}

uint32_t WaveMixActivate(uint32_t session, int32_t activate) {
  const auto s = Find(session);
  if (!s) return WMIX_BADHANDLE;
  std::lock_guard lock(s->mutex);
  if (s->closed) return WMIX_BADHANDLE;
  const bool want = activate != 0;
  if (want == s->active) return WMIX_OK;
  if (want) {
    if (!s->sink->Start()) {
      s->sink->Stop();
      return WMIX_DEVICEERROR;
    }
  } else {
    s->sink->Stop();
  }
  s->active = want;
  return WMIX_OK;
}

uint32_t WaveMixPlay(const void* params) {
  if (params == nullptr) return WMIX_BADPARAM;
  MixPlayParams p;
  std::memcpy(&p, params, sizeof p);
  // Copies of the packed fields: nothing may bind a reference to a misaligned member.
  const uint16_t size = p.wSize;
  const uint32_t session = p.hMixSession;
  const int32_t channel = p.iChannel;
  const uint32_t wave_handle = p.hWave;
  const uint32_t flags = p.dwFlags;
  const uint16_t loops = p.wLoops;
  if (size != sizeof(MixPlayParams)) return WMIX_BADPARAM;
  const auto s = Find(session);
  if (!s) return WMIX_BADHANDLE;
  WaveData wave;
  {
    std::lock_guard lock(s->mutex);
    const auto it = s->waves.find(wave_handle);
    if (it == s->waves.end()) return WMIX_BADHANDLE;
    wave = it->second;
  }
  return s->mixer.Play(channel, std::move(wave), loops, flags) ? WMIX_OK : WMIX_NOTOPEN;
}

uint32_t WaveMixCloseChannel(uint32_t session, int32_t channel, uint32_t flags) {
  const auto s = Find(session);
  if (!s) return WMIX_BADHANDLE;
  if (flags == WMIX_ALL) {
    for (int c = 0; c < kChannelCount; ++c) s->mixer.CloseChannel(c);
    return WMIX_OK;
  }
  if (channel < 0 || channel >= kChannelCount) return WMIX_BADPARAM;
  s->mixer.CloseChannel(channel);
  return WMIX_OK;
}

uint32_t WaveMixFreeWave(uint32_t session, uint32_t wave) {
  if (wave == 0) return WMIX_OK;
  const auto s = Find(session);
  if (!s) return WMIX_BADHANDLE;
  WaveData data;
  {
    std::lock_guard lock(s->mutex);
    const auto it = s->waves.find(wave);
    if (it == s->waves.end()) return WMIX_BADHANDLE;
    data = std::move(it->second);
    s->waves.erase(it);
  }
  // Silence it everywhere before the samples go, so the audio thread never holds the last
  // reference and nothing reads freed memory.
  s->mixer.StopWave(data.get());
  return WMIX_OK;
}

uint32_t WaveMixCloseSession(uint32_t session) {
  std::shared_ptr<Session> s;
  {
    Registry& r = TheRegistry();
    std::lock_guard lock(r.mutex);
    const auto it = r.sessions.find(session);
    if (it == r.sessions.end()) return WMIX_BADHANDLE;
    s = std::move(it->second);
    r.sessions.erase(it);
  }
  std::lock_guard lock(s->mutex);
  s->sink->Stop();  // joins the output thread: nothing pulls from the mixer after this
  s->sink->Close();
  s->closed = true;
  s->active = false;
  for (int c = 0; c < kChannelCount; ++c) s->mixer.CloseChannel(c);
  s->waves.clear();
  return WMIX_OK;
}

}  // namespace wavemix
