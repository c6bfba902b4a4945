// The command line over the settings file: what the saver reads when options are given.
#include <gtest/gtest.h>

#include "hosts/sdl/options.h"
#include "platform/ini.h"

namespace dusk::sdl {
namespace {

std::string Get(const std::string& text, const std::string& key) { return ini::Get(text, "Duskhollow", key); }

TEST(Options, OverridesGoOverTheProgramsDefaultsWhenNoFileWasEverWritten) {
  const std::string text = EffectiveSettings("", {{"owl", "0"}, {"speed", "40"}});
  EXPECT_EQ(Get(text, "firstrun"), "1");
  EXPECT_EQ(Get(text, "owl"), "0");
  EXPECT_EQ(Get(text, "speed"), "40");
  // Everything else as the program would have chosen without a file.
  EXPECT_EQ(Get(text, "bat"), "1");
  EXPECT_EQ(Get(text, "dove"), "0");
  EXPECT_EQ(Get(text, "song0"), "1");
  EXPECT_EQ(Get(text, "sound0"), "1");
  EXPECT_EQ(Get(text, "sound3"), "0");
  EXPECT_EQ(Get(text, "clock"), "0");
}

TEST(Options, OverridesGoOverAWrittenFileAndLeaveTheRestOfItAlone) {
  const std::string file = "[Duskhollow]\r\nfirstrun= 1\r\nowl= 1\r\nbat= 0\r\nmessagetext=Hello\r\n; mine\r\n";
  const std::string text = EffectiveSettings(file, {{"owl", "0"}, {"clock", "1"}});
  EXPECT_EQ(Get(text, "owl"), "0");
  EXPECT_EQ(Get(text, "clock"), "1");
  EXPECT_EQ(Get(text, "bat"), "0");
  EXPECT_EQ(Get(text, "messagetext"), "Hello");
  EXPECT_NE(text.find("; mine"), std::string::npos);
  EXPECT_EQ(EffectiveSettings(file, {}), file) << "no options: the file as it is";
}

}  // namespace
}  // namespace dusk::sdl
