// The three packed files the simulator loads: little-endian, no header, no padding.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "compiler/form1.h"
#include "formato/pezzi.h"

// The layouts (records, their fields and widths, the plan's tagged elements)
// are described once in formato/record.h; these walk them.

// The whole content of each packed file, built member by member.
std::string codifica_percorso(const Form1& f);   // cells 0..N
std::string codifica_stazioni(const Form1& f);   // slots 0..86
std::string codifica_linea(const Form1& f);      // the plan griglia_linea as it stands

// The packed line plan in pieces of at most `byte_pezzo_linea` bytes, each
// handed to `scrivi` with its offset in the file. Its points are worked out
// from the plan's stretches once, as they are written, and never held whole:
// x and y go out side by side, to the two halves of the file. The pieces
// cover the file once, with no gap; placed at their offsets they are
// `codifica_linea(f)`.
inline constexpr std::size_t byte_pezzo_linea = std::size_t{64} << 10;
void codifica_linea(const Form1& f, const scrivi_pezzo& scrivi);

// The same layout for points given one by one ([0] x, [1] y), such as a
// decoded file holds them.
std::string codifica_linea(const std::array<asse_linea, 2>& punti);
