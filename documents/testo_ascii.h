// Text for the driver's documents: plain printable ASCII, one byte a character.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// `testo` in plain printable ASCII. Each UTF-8 sequence, and each byte that
// is not part of one (read as Latin-1), becomes the nearest plain letters, as
// the Italian documents write them: a vowel with a grave or acute accent
// becomes the vowel and an apostrophe ("realta'", "E'"); any other Latin
// letter with a mark the plain letter ("Muller", "Ibanez"); the ligatures and
// the sharp s two letters ("ae", "ss"); a no-break space a space. Anything
// else outside plain printable ASCII (other scripts, symbols, control
// characters, a tab) becomes '?'.
std::string in_ascii(std::string_view testo);

// `testo` cut to at most `larghezza` characters.
std::string taglia(std::string_view testo, std::size_t larghezza);

// `testo` for a message: each byte outside plain printable ASCII written as \xNN.
std::string visibile(std::string_view testo);
