// The song strings as the system reads them, with its error codes.
#include <gtest/gtest.h>

#include "hosts/kit/mci.h"

namespace dusk::kit {
namespace {

using Verb = MciCommand::Verb;

TEST(Mci, TheStringsTheSaverSendsAreRead) {
  MciCommand c = ParseMciCommand("open \"C:\\My Songs\\h_song2.Mid\" type sequencer alias Song2");
  EXPECT_EQ(c.verb, Verb::kOpen);
  EXPECT_EQ(c.file, "C:\\My Songs\\h_song2.Mid");
  EXPECT_EQ(c.device, "song2");
  EXPECT_EQ(c.stringError + c.commandError, 0u);
  c = ParseMciCommand("PLAY song2 from 1500 wait");
  EXPECT_EQ(c.verb, Verb::kPlay);
  EXPECT_EQ(c.device, "song2");
  EXPECT_EQ(c.from, 1500u);
  EXPECT_FALSE(c.to);
  c = ParseMciCommand("  status   song2 MODE ");
  EXPECT_EQ(c.verb, Verb::kStatus);
  EXPECT_EQ(c.item, "mode");
  EXPECT_EQ(ParseMciCommand("stop song2").verb, Verb::kStop);
  EXPECT_EQ(ParseMciCommand("close song2").verb, Verb::kClose);
  // Without an alias the device is called by its file.
  EXPECT_EQ(ParseMciCommand("open \"a.mid\"").device, "a.mid");
}

TEST(Mci, FaultsGetTheSystemsCodes) {
  // Faults of the string, found before any device is looked up.
  EXPECT_EQ(ParseMciCommand("").stringError, mci::kMissingCommandString);
  EXPECT_EQ(ParseMciCommand("   ").stringError, mci::kMissingCommandString);
  EXPECT_EQ(ParseMciCommand("play").stringError, mci::kMissingDeviceName);
  EXPECT_EQ(ParseMciCommand("open \"a.mid alias x").stringError, mci::kNoClosingQuote);
  // Faults of the command, for a device that exists.
  for (const auto& [command, code] : std::vector<std::pair<std::string, uint32_t>>{
           {"rewind song0", mci::kUnrecognizedCommand},
           {"play song0 from soon", mci::kBadInteger},
           {"play song0 from -5", mci::kBadInteger},
           {"play song0 from 99999999999", mci::kBadInteger},
           {"play song0 from", mci::kBadInteger},
           {"play song0 backwards", mci::kUnrecognizedKeyword},
           {"status song0", mci::kMissingParameter},
           {"status song0 colour", mci::kUnrecognizedKeyword},
           {"open \"song0\" alias", mci::kMissingParameter}}) {
    const MciCommand c = ParseMciCommand(command);
    EXPECT_EQ(c.stringError, 0u) << command;
    EXPECT_EQ(c.commandError, code) << command;
    EXPECT_EQ(c.device, "song0") << command;
  }
}

TEST(Mci, AReplyFillsTheStartOfTheBuffer) {
  std::string reply(10, ' ');
  WriteMciReply(reply, "playing");
  EXPECT_EQ(reply, std::string("playing\0  ", 10));
  std::string empty;
  WriteMciReply(empty, "stopped");
  EXPECT_EQ(empty, "stopped");
}

}  // namespace
}  // namespace dusk::kit
