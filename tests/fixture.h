// A fresh program on a fresh machine for each test: a temporary folder stands for the Windows
// directory, the portable seam records every call, and small synthetic pictures can be written.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "hosts/headless/portable_os.h"
#include "platform/surface.h"
#include "startup/program.h"

namespace dusk::testing {

// A 24-bit (or other depth) Windows bitmap file of the given pixels, bottom-up.
std::vector<uint8_t> MakeBmp(const Bitmap& b, int bitsPerPixel = 24, bool topDown = false);

// A sprite sheet of `frames` frames of w x h: image row filled with `colour` (frame k adds k to
// the blue channel so frames differ), mask row black (opaque) inside an inset of `inset` pixels
// and white around it.
Bitmap MakeSheet(int w, int h, int frames, uint32_t colour, int inset = 0);
Bitmap Solid(int w, int h, uint32_t colour);

// The exit code a call ends the process with, or -1 when the program goes on running.
template <class F>
int EndCode(F&& f) {
  try {
    f();
  } catch (const ProcessExit& e) {
    return e.code;
  }
  return -1;
}

class ProgramTest : public ::testing::Test {
 protected:
  ProgramTest();
  ~ProgramTest() override;

  std::filesystem::path windir;
  std::unique_ptr<PortableOs> os;
  std::unique_ptr<Program> p;

  void WriteFile(const std::string& relative, const std::vector<uint8_t>& bytes);
  void WriteText(const std::string& relative, const std::string& text);
  std::string ReadText(const std::string& relative);
  void WritePicture(const std::string& name, const Bitmap& b) { WriteFile("Duskhollow/" + name, MakeBmp(b)); }
  // Writes every picture the saver loads, as plain synthetic sheets of the right sizes.
  void WriteAllPictures();
  // Runs Main and returns the process's exit code, or -1 when the program is still running.
  int RunMain(const std::string& commandLine);
  // A program of a new process on the same machine.
  void NewProcess();
};

}  // namespace dusk::testing
