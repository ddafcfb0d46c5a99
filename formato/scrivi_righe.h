// The writing steps shared by every text writer: a table of lines made into
// the text of its file.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

// Every writer's table holds at most this many lines, the sentinel included.
inline constexpr std::size_t righe_massime = 1001;
// Closes a writer's table of lines; never written.
inline constexpr std::string_view sentinella = "riferimento fine del file";

// The text of the lines of `righe` up to the sentinel (at most 1001 entries),
// each followed by CR LF, one byte per character.
std::string scrivi_righe(std::span<const std::string_view> righe);
