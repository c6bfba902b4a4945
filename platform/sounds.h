// The Sounds module: the saver's wave-mixer state, the effects that creatures and the saver
// trigger, and the songs' MCI devices.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/runtime.h"

namespace dusk {

class Os;
struct System;

// The saver's wave-mixer state, read by the creature routines and by the clean-up.
struct SoundState {
  uint32_t MixSession = 0;
  int16_t SoundAvailable = kFalse;
  FixedArray<uint32_t, 0, 11> WaveHandle;
  FixedArray<FixedArray<Int16, 0, 11>, 0, 11> PlayParams;  // twelve 16-bit fields = 24 bytes each
  Int16 NextEffect;
  Int16 CurrentSong;
  std::string MciReply;
  uint32_t MciResult = 0;

  // Hosts that watch a run (the headless host, the tests) ask for the effects played, in order;
  // nobody else does, so an all-night run keeps no record.
  bool RecordEffects = false;
  std::vector<int> effectsPlayed;
};

// The data folder's song and effect files of slot n, and a song slot's device alias.
std::string SongFile(const std::string& dataDir, int n);
std::string EffectFile(const std::string& dataDir, int n);
std::string SongAlias(int n);

// Plays a sound effect of the saver when it is switched on (a creature "triggers" it). Without an
// open mixer (the settings dialog's previews) a trigger plays nothing.
void PlaySoundEffect(System& p, int effect);

// The 24 bytes of a play record built from its twelve 16-bit fields, low byte first.
void PackPlayParams(const FixedArray<Int16, 0, 11>& fields, uint8_t (&bytes)[24]);

// A whole effect file, for playing from memory; a missing file raises 53.
std::vector<uint8_t> LoadSound(System& p, const std::string& path);

// Stops the song device of `alias` if it plays, then closes it once stopped.
void CloseSong(Os& os, const std::string& alias);

}  // namespace dusk
