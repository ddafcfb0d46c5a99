// What the fuzz targets share: one private directory for the whole process,
// and the compile run on two sources exactly as `scenario check` runs it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Inputs longer than this are skipped: real sources are a few hundred KiB at
// most, and a longer input only slows the search (scripts/fuzz also passes -max_len).
inline constexpr std::size_t byte_massimi_fuzz = 1 << 18;

// Writes `linea` (and `treno`, when given) as the build's two sources in the
// process's private directory, runs the packer's last stage on them with the
// line plan when `j` is non-zero, renders the diagnostics and the JSON the tool
// prints, and aborts on any broken promise of the build: an error log that
// disagrees with the last code, a packed file that does not read back to the
// bytes written, or a stray file left in the directory.
void compila_sorgenti(std::string_view linea, std::optional<std::string_view> treno, int j);

// The built-in line source as the packer writes it (358 km).
const std::string& linea_incorporata();
