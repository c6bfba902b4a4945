// assetgen --out DIR [--contact-sheet PNG]: writes the data folder deterministically.
#include "assetgen.h"
#include "pic_art.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

int main(int argc, char** argv) {
  std::string out, sheet, scene, icons;
  int sceneTick = 0;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--out") && i + 1 < argc) {
      out = argv[++i];
    } else if (!std::strcmp(argv[i], "--icons") && i + 1 < argc) {
      icons = argv[++i];
    } else if (!std::strcmp(argv[i], "--contact-sheet") && i + 1 < argc) {
      sheet = argv[++i];
    } else if (!std::strcmp(argv[i], "--scene-preview") && i + 1 < argc) {
      scene = argv[++i];
    } else if (!std::strcmp(argv[i], "--scene-tick") && i + 1 < argc) {
      sceneTick = std::atoi(argv[++i]);
    } else {
      std::fprintf(stderr, "usage: assetgen --out DIR [--icons DIR] [--contact-sheet PNG] [--scene-preview PNG [--scene-tick N]]\n");
      return 2;
    }
  }
  if (out.empty()) {
    std::fprintf(stderr, "assetgen: --out DIR is required\n");
    return 2;
  }
  std::error_code ec;
  std::filesystem::create_directories(out, ec);
  if (ec) {
    std::fprintf(stderr, "assetgen: cannot create %s: %s\n", out.c_str(), ec.message().c_str());
    return 1;
  }
  bool ok = assetgen::WritePictures(out) && assetgen::WriteSongs(out) && assetgen::WriteSounds(out);
  if (ok && !icons.empty()) {
    std::filesystem::create_directories(icons, ec);
    ok = !ec && assetgen::WriteIcons(icons);
  }
  if (ok && !sheet.empty()) ok = assetgen::WriteContactSheet(out, sheet);
  if (ok && !scene.empty()) ok = assetgen::WriteScenePreview(out, scene, sceneTick);
  if (!ok) {
    std::fprintf(stderr, "assetgen: writing the data folder failed\n");
    return 1;
  }
  return 0;
}
