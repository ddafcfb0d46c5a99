// Bytes made in pieces and the writer they go to: a file replaced whole, a
// buffer, a hash. The packer hands its files over this way and never learns
// where they go.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// Takes one piece of a file: its bytes and their offset in the file. The
// pieces of one file cover it once, with no gap, in any order.
using scrivi_pezzo = std::function<void(uint64_t posizione, std::string_view pezzo)>;

// Makes a file's bytes, handing them to the writer it is given.
using produttore = std::function<void(const scrivi_pezzo& scrivi)>;

// What `produci` makes, gathered in memory.
inline std::string in_memoria(const produttore& produci) {
  std::string byte;
  produci([&byte](uint64_t posizione, std::string_view pezzo) {
    if (byte.size() < posizione + pezzo.size()) byte.resize(posizione + pezzo.size());
    pezzo.copy(byte.data() + posizione, pezzo.size());
  });
  return byte;
}
