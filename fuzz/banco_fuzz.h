// What the fuzz targets share: the compile run on two sources exactly as
// `scenario check` runs it, on strings in memory.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Inputs longer than this are skipped: real sources are a few hundred KiB at
// most, and a longer input only slows the search (scripts/fuzz also passes -max_len).
inline constexpr std::size_t byte_massimi_fuzz = 1 << 18;

// Compiles `linea` and `treno` (none: there is no train source), with the
// line plan when `j` is non-zero, finishes and packs what the build leaves,
// renders the diagnostics and the JSON the tool prints, and aborts on any
// broken promise of the build: an error log that disagrees with the last
// code, a packed file that does not read back to the bytes packed, pieces
// of the line plan that do not cover its file once, or what the build tells
// an author gone wrong (a warning or an error's detail not printable, a
// warning placed nowhere or off the route unsaid, a row or a cell's origin
// that names no row).
void compila_sorgenti(std::string_view linea, std::optional<std::string_view> treno, int j);

// The built-in line source as the packer writes it (358 km).
const std::string& linea_incorporata();
