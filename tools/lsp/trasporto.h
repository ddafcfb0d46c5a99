// The protocol's framing: each message is a block of header lines, each
// ended by CR LF, an empty line, then a body of exactly the Content-Length
// the headers give, in bytes. Anything that is not such a block is passed
// over without stopping the reading.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

// Where the bytes come from and go.
struct canale_lsp {
  // Reads up to `n` bytes into `dove`, waiting for them: how many were read;
  // 0 at the end of the input (or a read that failed).
  std::function<std::size_t(char* dove, std::size_t n)> leggi;
  // True when more bytes can be read now without waiting.
  std::function<bool()> pronto;
  // Writes all of `byte`; false when they cannot be written (the client is gone).
  std::function<bool(std::string_view byte)> scrivi;
};

// A body longer than this is read and dropped: the largest source the tool
// reads is 16 MiB, and JSON escapes may make its text longer.
inline constexpr std::size_t byte_massimi_messaggio = 64u << 20;
// A header block longer than this is no header: it is dropped.
inline constexpr std::size_t byte_massimi_intestazione = 8u << 10;

enum class esito_lettura {
  messaggio,  // a body was read
  scartato,   // a block without a usable Content-Length, or a body too long, was passed over
  fine,       // the input ended
};

struct lettore_messaggi {
  std::string dati;        // bytes read and not yet taken
  std::size_t inizio = 0;  // the first of them

  // Reads the next message's body into `corpo`.
  esito_lettura prossimo(canale_lsp& c, std::string& corpo);
  // True when a whole message stands read already: the next `prossimo` will not wait.
  bool messaggio_pronto() const;
};

// A body framed for writing.
std::string incornicia(std::string_view corpo);
