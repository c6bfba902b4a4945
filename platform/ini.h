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

// Decoding loses nothing, so that a file written back keeps every line we did not change byte for
// byte: UTF-16 becomes UTF-8, a lone surrogate (which no UTF-8 character stands for) its three-byte
// form as if it were one (as WTF-8 keeps it), and an odd last byte stays apart in `rest`.
struct DecodedFile {
  std::string text;  // without the mark
  Encoding encoding = Encoding::kPlain;
  std::string rest;  // an odd last byte of a UTF-16 file, or nothing
};

DecodedFile Decode(const uint8_t* bytes, size_t size);
inline DecodedFile Decode(const std::vector<uint8_t>& bytes) { return Decode(bytes.data(), bytes.size()); }

// The text as a reader gets it: in a UTF-16 file's, a lone surrogate's three-byte form becomes
// U+FFFD, as the system's conversion of a value read makes it. Other files' text as it is.
std::string Readable(const DecodedFile& file);

// The bytes of a file of that encoding holding the text (with its mark), then `rest`. For UTF-16,
// a lone surrogate's three-byte form is that code unit again, and a byte that is not part of valid
// UTF-8 is taken as the Latin-1 character of that value. Encode(Decode(b)) gives b back.
std::vector<uint8_t> Encode(const std::string& text, Encoding encoding, const std::string& rest = "");

}  // namespace dusk::ini
