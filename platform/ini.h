// An INI reader and writer with the behaviour of the system's private-profile functions, for
// systems that have none: section and key names ignore case, an existing key is replaced in place,
// a new key goes at the end of its section, a new section at the end of the file, and every other
// line (blank lines, comments, unknown keys and sections) stays exactly as it was.
#pragma once

#include <string>

namespace dusk::ini {

// The value of the key, blanks around it removed and one pair of surrounding quotes taken off;
// empty when the section or the key does not exist.
std::string Get(const std::string& text, const std::string& section, const std::string& key);

// The text with the key set to the value.
std::string Put(const std::string& text, const std::string& section, const std::string& key,
                const std::string& value);

}  // namespace dusk::ini
