#include "tests/fixture.h"

#include <algorithm>
#include <atomic>
#include <chrono>

#include "hosts/kit/files.h"
#include "platform/bytes.h"
#include "startup/starter.h"

namespace dusk::testing {
namespace fs = std::filesystem;

std::vector<uint8_t> MakeBmp(const Bitmap& b, int bpp, bool topDown) {
  std::vector<uint32_t> palette;
  std::vector<int> index(b.pixels.size());
  if (bpp <= 8) {
    for (size_t i = 0; i < b.pixels.size(); ++i) {
      auto it = std::find(palette.begin(), palette.end(), b.pixels[i]);
      if (it == palette.end()) palette.push_back(b.pixels[i]), it = palette.end() - 1;
      index[i] = static_cast<int>(it - palette.begin());
    }
    palette.resize(size_t{1} << bpp);
  }
  const size_t stride = ((static_cast<size_t>(b.width) * bpp + 31) / 32) * 4;
  const uint32_t offset = 14 + 40 + static_cast<uint32_t>(palette.size() * 4);
  std::vector<uint8_t> v;
  v.push_back('B');
  v.push_back('M');
  AppendLe32(v, offset + static_cast<uint32_t>(stride * b.height));
  AppendLe32(v, 0);
  AppendLe32(v, offset);
  AppendLe32(v, 40);
  AppendLe32(v, b.width);
  AppendLe32(v, static_cast<uint32_t>(topDown ? -b.height : b.height));
  AppendLe16(v, 1);
  AppendLe16(v, bpp);
  AppendLe32(v, 0);
  AppendLe32(v, static_cast<uint32_t>(stride * b.height));
  AppendLe32(v, 2835);
  AppendLe32(v, 2835);
  AppendLe32(v, static_cast<uint32_t>(palette.size()));
  AppendLe32(v, 0);
  for (uint32_t c : palette) AppendLe32(v, c);
  for (int r = 0; r < b.height; ++r) {
    int y = topDown ? r : b.height - 1 - r;
    std::vector<uint8_t> row(stride, 0);
    for (int x = 0; x < b.width; ++x) {
      uint32_t px = b.pixels[static_cast<size_t>(y) * b.width + x];
      switch (bpp) {
        case 32: row[4 * x] = px & 0xFF, row[4 * x + 1] = (px >> 8) & 0xFF, row[4 * x + 2] = (px >> 16) & 0xFF; break;
        case 24: row[3 * x] = px & 0xFF, row[3 * x + 1] = (px >> 8) & 0xFF, row[3 * x + 2] = (px >> 16) & 0xFF; break;
        default: {
          int idx = index[static_cast<size_t>(y) * b.width + x], perByte = 8 / bpp;
          row[x / perByte] |= static_cast<uint8_t>(idx << (8 - bpp * (x % perByte + 1)));
        }
      }
    }
    v.insert(v.end(), row.begin(), row.end());
  }
  return v;
}

Bitmap Solid(int w, int h, uint32_t colour) {
  Bitmap b;
  b.width = w;
  b.height = h;
  b.bitsPerPixel = 24;
  b.pixels.assign(static_cast<size_t>(w) * h, colour);
  return b;
}

Bitmap MakeSheet(int w, int h, int frames, uint32_t colour, int inset) {
  Bitmap b = Solid(w * frames, 2 * h, 0);
  for (int f = 0; f < frames; ++f)
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        bool inside = x >= inset && y >= inset && x < w - inset && y < h - inset;
        b.Row(y)[f * w + x] = inside ? (colour + static_cast<uint32_t>(f)) : 0;
        b.Row(h + y)[f * w + x] = inside ? 0 : 0xFFFFFF;
      }
  return b;
}

ProgramTest::ProgramTest() {
  static std::atomic<int> counter{0};
  windir = fs::temp_directory_path() /
           ("dusk-test-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + "-" +
            std::to_string(counter++));
  fs::remove_all(windir);
  fs::create_directories(windir / "Duskhollow");
  NewProcess();
}

ProgramTest::~ProgramTest() {
  std::error_code ec;
  fs::remove_all(windir, ec);
}

void ProgramTest::NewProcess() {
  p.reset();
  os = std::make_unique<PortableOs>(windir.string());
  // A user whose name the system's code page cannot spell.
  os->virtualUserDataDir = "C:\\Users\\Тимофей\\AppData\\Roaming";
  os->realUserDataDir = (windir / "profile").string();
  p = std::make_unique<Program>(*os);
  p->sound.RecordEffects = true;
}

void ProgramTest::WriteFile(const std::string& relative, const std::vector<uint8_t>& bytes) {
  fs::create_directories((windir / relative).parent_path());
  std::ofstream(windir / relative, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                          static_cast<std::streamsize>(bytes.size()));
}

void ProgramTest::WriteText(const std::string& relative, const std::string& text) {
  WriteFile(relative, std::vector<uint8_t>(text.begin(), text.end()));
}

std::string ProgramTest::ReadText(const std::string& relative) {
  auto bytes = kit::ReadRegularFile((windir / relative).string());
  return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

void ProgramTest::WriteAllPictures() {
  WritePicture("h_palette.bmp", Solid(8, 8, 0));
  WritePicture("h_background_top.bmp", Solid(800, 315, 0x101030));
  WritePicture("h_background_mid1.bmp", Solid(800, 132, 0x202040));
  WritePicture("h_background_mid2.bmp", Solid(800, 132, 0xFFFFFF));
  WritePicture("h_background_mid3.bmp", Solid(800, 132, 0));
  WritePicture("h_background_bot.bmp", Solid(800, 153, 0x203020));
  struct Sheet { const char* name; int w, h, frames; };
  const Sheet sheets[] = {
      {"h_tombstone1.bmp", 134, 199, 1}, {"h_tombstone2.bmp", 77, 125, 1}, {"h_tombstone4.bmp", 102, 184, 1},
      {"h_hand.bmp", 61, 98, 17},        {"h_watchman.bmp", 87, 157, 14},  {"h_owl.bmp", 32, 48, 6},
      {"h_dove.bmp", 27, 46, 16},        {"h_medallion.bmp", 65, 38, 3},   {"h_skeleton1.bmp", 151, 200, 12},
      {"h_skeleton2.bmp", 45, 64, 24},   {"h_crow1.bmp", 83, 64, 6},       {"h_Crow2.bmp", 84, 59, 7},
      {"h_bat.bmp", 26, 23, 16},         {"h_lightning1.bmp", 171, 182, 2}, {"h_lightning2.bmp", 171, 182, 2},
      {"h_zombie.bmp", 39, 66, 10},      {"h_blooddrip.bmp", 51, 113, 14}, {"h_rat1.bmp", 65, 43, 10},
      {"h_rat2.bmp", 45, 30, 10},        {"h_scorpion.bmp", 38, 33, 5},    {"h_flower.bmp", 50, 50, 8},
      {"h_gravedigger.bmp", 59, 74, 16}, {"h_bouncingpumpkin.bmp", 46, 137, 8}, {"h_spider.bmp", 79, 93, 1},
      {"h_firefly.bmp", 20, 19, 8},      {"h_preview.bmp", 127, 100, 21}};
  uint32_t colour = 0x400000;
  for (const Sheet& s : sheets) {
    WritePicture(s.name, MakeSheet(s.w, s.h, s.frames, colour));
    colour += 0x080800;
  }
}

int ProgramTest::RunMain(const std::string& commandLine) {
  try {
    Main(*p, commandLine);
  } catch (const ProcessExit& e) {
    return e.code;
  }
  return -1;
}

}  // namespace dusk::testing
