// The three packed files the simulator loads: little-endian, no header, no padding.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "compiler/form1.h"

// Route grid: one record per cell, in index order:
// tipo u8, dato1..dato4 i16, tempo_segnale, avviso_segnale, montagna,
// velocita, pendenza, aderenza u8.
inline constexpr std::size_t byte_cella = 15;
// Station table: 87 records, each 34 bytes plus its name:
// marca u8, valore1..3 i32, marca2 u8, name length u16, name bytes,
// intero1..5 i16, ottetto1, ottetto2, ottetto3, ottetto4 u8, codice i32.
// A name longer than 65535 bytes is cut there, so the length always holds.
inline constexpr std::size_t byte_stazione_senza_nome = 34;
// Line plan: every x (metres 0..L+7000), then every y; each element a u16 tag
// followed by nothing (tag 0), an i16 (tag 2) or an IEEE double (tag 5).
inline constexpr std::size_t byte_tag = 2;
inline constexpr std::size_t byte_intero_linea = 2;
inline constexpr std::size_t byte_reale_linea = 8;

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
void codifica_linea(const Form1& f, const std::function<void(uint64_t, std::string_view)>& scrivi);

// The same layout for points given one by one ([0] x, [1] y), such as a
// decoded file holds them.
std::string codifica_linea(const std::array<asse_linea, 2>& punti);
