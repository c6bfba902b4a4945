// An INI reader and writer with the behaviour of the system's private-profile functions, for
// systems that have none: section and key names ignore case, an existing key is replaced in place,
// a new key goes at the end of its section, a new section at the end of the file, and every other
// line (blank lines, comments, unknown keys and sections) stays exactly as it was. A line ends at
// CR LF, LF or a lone CR.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace dusk::ini {

// The value of the key, blanks around it removed and one pair of surrounding quotes taken off;
// empty when the section or the key does not exist.
std::string Get(const std::string& text, const std::string& section, const std::string& key);

// The system's profile reader hands back at most this many characters of a value (UTF-16 units,
// as it counts them); `CutValue` gives a UTF-8 value as it comes back, whole characters only.
inline constexpr size_t kValueMaxUnits = 127;
std::string CutValue(const std::string& value, size_t units = kValueMaxUnits);

// The text with the key set to the value. New lines end as the file's first line does.
std::string Put(const std::string& text, const std::string& section, const std::string& key,
                const std::string& value);

// How a profile file stores its text, told by its first bytes as the system tells it: a UTF-8
// byte-order mark, a UTF-16 one (either byte order), or none (the bytes are the text).
enum class Encoding { kPlain, kUtf8Mark, kUtf16Le, kUtf16Be };

struct DecodedFile {
  std::string text;  // without the mark; UTF-16 becomes UTF-8
  Encoding encoding = Encoding::kPlain;
};

DecodedFile Decode(const uint8_t* bytes, size_t size);
inline DecodedFile Decode(const std::vector<uint8_t>& bytes) { return Decode(bytes.data(), bytes.size()); }

// The bytes of a file of that encoding holding the text (with its mark). For UTF-16, a byte that
// is not part of valid UTF-8 is taken as the Latin-1 character of that value.
std::vector<uint8_t> Encode(const std::string& text, Encoding encoding);

}  // namespace dusk::ini
