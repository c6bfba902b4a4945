#include "platform/sounds.h"

#include "platform/bytes.h"
#include "platform/system.h"

namespace dusk {

std::string SongFile(const std::string& dataDir, int n) { return dataDir + "h_song" + std::to_string(n) + ".Mid"; }
std::string EffectFile(const std::string& dataDir, int n) { return dataDir + "h_sound" + std::to_string(n) + ".wav"; }
std::string SongAlias(int n) { return "song" + std::to_string(n); }

void PackPlayParams(const FixedArray<Int16, 0, 11>& fields, uint8_t (&bytes)[24]) {
  for (int i = 0; i <= 11; ++i) WriteLe16(bytes + 2 * i, static_cast<uint16_t>(static_cast<int16_t>(fields[i])));
}

void PlaySoundEffect(System& p, int effect) {
  if (!p.settings.SoundOn[effect] || !p.sound.SoundAvailable) return;
  uint8_t bytes[24];
  PackPlayParams(p.sound.PlayParams[effect], bytes);
  p.os.WaveMixPlay(bytes);
  if (p.sound.RecordEffects) p.sound.effectsPlayed.push_back(effect);
}

std::vector<uint8_t> LoadSound(System& p, const std::string& path) {
  return Guarded(p, label::kLoadSound, [&] {
    auto bytes = p.os.ReadWholeFile(path);
    if (!bytes) Raise(kErrFileNotFound);
    return std::move(*bytes);
  });
}

void CloseSong(Os& os, const std::string& alias) {
  std::string reply(255, ' ');
  os.MciSendString("status " + alias + " mode", reply);
  if (reply.compare(0, 7, "playing") == 0) os.MciSendString("stop " + alias, reply);
  reply.assign(255, ' ');
  os.MciSendString("status " + alias + " mode", reply);
  if (reply.compare(0, 7, "stopped") == 0) os.MciSendString("close " + alias, reply);
}

}  // namespace dusk
