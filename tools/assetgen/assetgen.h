// The asset generator writes every picture, song and sound effect the program loads.
#pragma once
#include <string>

namespace assetgen {

// Each writer fills `dir` (created by the caller) with its files and returns false on an I/O failure.
bool WritePictures(const std::string& dir);
bool WriteSongs(const std::string& dir);
bool WriteSounds(const std::string& dir);

// Draws every sprite sheet of `dir` on a neutral background, frames labelled, into a PNG.
bool WriteContactSheet(const std::string& dir, const std::string& pngPath);

// The program's icons and pointer (duskhollow.ico, speaker.ico, fxspeaker.ico, preview.ico,
// pointer.cur) into `dir` (created by the caller).
bool WriteIcons(const std::string& dir);

}  // namespace assetgen
