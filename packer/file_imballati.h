// The three packed files the simulator loads: little-endian, no header, no
// padding. Each file's encoder and its decoder stand side by side, both on the
// scenario value: what one writes the other reads back, and a decoded
// scenario encodes to the bytes it was read from.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "formato/pezzi.h"
#include "formato/scenario.h"

// The layouts (records, their fields and widths, the plan's tagged elements)
// are described once in formato/record.h; these walk them. A decoder refuses
// a file whose length does not fit its kind, with a reason (`motivo`), and
// then leaves the scenario as it was; nothing is guessed.

// Route grid: one 15-byte record per cell, cells 0..N.
std::string codifica_percorso(const scenario& f);
// False when the file is empty or not a whole number of records.
bool decodifica_percorso(std::string_view byte, scenario& s, std::string& motivo);

// Station table: slots 0..86, each 34 bytes plus its name.
std::string codifica_stazioni(const scenario& f);
// False when a record is cut short or bytes follow the 87th record.
bool decodifica_stazioni(std::string_view byte, scenario& s, std::string& motivo);

// Line plan: tagged elements, every x (metres 0..M) then every y.
//
// The packed line plan in pieces of at most `byte_pezzo_linea` bytes, each
// handed to `scrivi` with its offset in the file. The points of a plan the
// line source laid are worked out from its stretches once, as they are
// written, and never held whole: x and y go out side by side, to the two
// halves of the file. The pieces cover the file once, with no gap; placed at
// their offsets they are `codifica_linea(f)`.
inline constexpr std::size_t byte_pezzo_linea = std::size_t{64} << 10;
void codifica_linea(const scenario& f, const scrivi_pezzo& scrivi);
std::string codifica_linea(const scenario& f);
// Reads the points into `s.griglia_linea` (its `letti`). False on an unknown
// tag, an element cut short, or an odd or zero count.
bool decodifica_linea(std::string_view byte, scenario& s, std::string& motivo);
