// The twelve songs of the data folder, one builder per slot.
#pragma once
#include <initializer_list>
#include <map>
#include <string>

#include "midi_compose.h"

namespace assetgen {

inline constexpr int kSongCount = 12;

// Slot captions as the settings dialog lists them.
extern const char* const kSongCaptions[kSongCount];

// Builds song `slot` (0..11) in memory; throws std::out_of_range for another slot.
midi::Song BuildSong(int slot);

// Shared helpers for the song files.
std::string Times(int n, const std::string& phrase);
// Concatenates the bar patterns named by `bars`, e.g. an accompaniment from a chord chart.
std::string Chart(const std::map<std::string, std::string>& patterns, std::initializer_list<const char*> bars);

midi::Song SongHorrorHill();
midi::Song SongDeathToll();
midi::Song SongPipeOrgan();
midi::Song SongDescent();
midi::Song SongLeviathan();
midi::Song SongDemony();
midi::Song SongLurker();
midi::Song SongNitemare();
midi::Song SongMoonwake();
midi::Song SongFamilyPortrait();
midi::Song SongNightCrawl();
midi::Song SongSpookCatchers();

}  // namespace assetgen
