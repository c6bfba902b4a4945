// The MCI command strings the saver sends its song sequencer, read once for every host that
// answers them itself:
//   open "<file>" [type <device type>] [alias <name>], play <name> [from <ms>] [to <ms>],
//   status <name> mode, stop <name>, close <name>   (each may end in "wait" or "notify").
// Errors are the system's own codes, found in the order the system finds them: the command
// string, then the device (an alias that is not open), then the command and its keywords.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace dusk::kit {

// MCI error codes (the system's MCIERR_* values).
namespace mci {
inline constexpr uint32_t kUnrecognizedKeyword = 259;
inline constexpr uint32_t kUnrecognizedCommand = 261;
inline constexpr uint32_t kInvalidDeviceName = 263;
inline constexpr uint32_t kMissingCommandString = 267;
inline constexpr uint32_t kBadInteger = 270;
inline constexpr uint32_t kMissingParameter = 273;
inline constexpr uint32_t kFileNotFound = 275;
inline constexpr uint32_t kOutOfRange = 282;
inline constexpr uint32_t kDuplicateAlias = 289;
inline constexpr uint32_t kMissingDeviceName = 292;
inline constexpr uint32_t kNoClosingQuote = 294;
inline constexpr uint32_t kInvalidFile = 296;
inline constexpr uint32_t kNoMidiPresent = 343;  // MCIERR_SEQ_NOMIDIPRESENT
}  // namespace mci

struct MciCommand {
  enum class Verb { kOpen, kPlay, kStatus, kStop, kClose, kUnknown };
  Verb verb = Verb::kUnknown;
  std::string device;  // the alias (lower case); for open, the alias it is given
  std::string file;    // open: the file, as written (quotes taken off)
  std::optional<uint32_t> from, to;  // play: milliseconds
  std::string item;    // status: what is asked (lower case)
  // A fault of the string itself, found before any device is looked up (0: none)...
  uint32_t stringError = 0;
  // ...and a fault of the command for a device that exists (an unknown verb, a bad keyword).
  uint32_t commandError = 0;
};

// Reads a command string; never fails, the faults are in the answer.
MciCommand ParseMciCommand(const std::string& command);

// What a device answers with (`text`) replaces the start of the caller's buffer and ends with a
// zero where the buffer is longer, as the system writes it; the rest of the buffer stays.
void WriteMciReply(std::string& reply, const std::string& text);

// The song devices of a host that times the songs by its own clock (the headless host's counted
// milliseconds, the web page's timers) rather than asking a player: open, play [from], status
// mode, stop and close, answered with the system's error codes.
class ClockedSongs {
 public:
  struct Song {
    std::string file;  // as the open command named it
    double seconds = 0;
    bool playing = false;
    int64_t startedMs = 0;
  };
  using ReadFile = std::function<std::optional<std::vector<uint8_t>>(const std::string& file)>;
  // A song's length in seconds from its bytes; negative for a file that is no song.
  using Length = std::function<double(const std::vector<uint8_t>&)>;

  // Answers one command at the host's time `nowMs`; an open reads its file with `read`.
  uint32_t Send(const std::string& command, std::string& reply, int64_t nowMs, const ReadFile& read,
                const Length& length);
  // Told when a song starts (from a position, in ms) and when one that was playing stops or closes.
  std::function<void(const Song&, uint32_t fromMs)> started;
  std::function<void(const Song&)> stopped;
  // Stops every song that is playing (the program ends).
  void StopAll();

 private:
  std::map<std::string, Song> songs_;  // by alias, lower case
};

}  // namespace dusk::kit
