// The starter scenario that `scenario new` writes: a small complete line and
// train, every row commented in place, that compile with no error and no
// warning and whose timetable the fastest run keeps.
//
// A comment is a field that both parsers pass over: a text in square brackets
// that holds no comma and no keyword of a row, standing after a row's last
// value (a comma before it) or on a line of its own. In the line source's
// general section a bracketed field would end the section, so there a comment
// starts with a hyphen ("-[ ... ]"), which that section passes over; in the
// bodies a comment holds no hyphen.
#pragma once

#include <string>
#include <string_view>

// The train number of a starter when none is given.
inline constexpr std::string_view numero_treno_nuovo = "1";

// The starter's line source: a 12 km line. Lines end with CR LF.
std::string linea_nuova();

// The starter's train source: four stations, three of them stops. Lines end with CR LF.
std::string treno_nuovo();
