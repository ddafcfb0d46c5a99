// Reading the three packed files back into the build's records, for the
// authors' tool: the exact inverse of the packed layouts, little-endian, no
// header, no padding. A file whose length does not fit its kind is refused
// with a reason; nothing is guessed.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "formato/record.h"
#include "formato/vocabolario.h"

// Route grid: one 15-byte record per cell, cells 0..N. Fills `celle` and
// returns true; false (with `motivo`) when the length is zero or not a whole
// number of records.
bool decodifica_percorso(std::string_view byte, std::vector<cella_percorso>& celle,
                         std::string& motivo);

// Station table: exactly 87 records of 34 bytes plus their names. Fills
// `tabella` and returns true; false (with `motivo`) when a record is cut short
// or bytes follow the 87th record.
bool decodifica_stazioni(std::string_view byte, std::array<record_stazione, numero_slot>& tabella,
                         std::string& motivo);

// Line plan: tagged elements, every x (metres 0..M) then every y. Fills
// `griglia` ([0] x, [1] y, as the build holds it) and returns true; false
// (with `motivo`) on an unknown tag, an element cut short or an odd count.
bool decodifica_linea(std::string_view byte, std::array<asse_linea, 2>& griglia,
                      std::string& motivo);
