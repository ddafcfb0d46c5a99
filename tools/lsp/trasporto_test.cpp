#include "tools/lsp/trasporto.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// A channel over `byte`, giving at most `a_volta` bytes a read.
canale_lsp da_memoria(const std::string& byte, std::size_t a_volta, std::size_t& letti) {
  canale_lsp c;
  c.leggi = [&byte, a_volta, &letti](char* dove, std::size_t n) {
    const std::size_t k = std::min({n, a_volta, byte.size() - letti});
    std::copy_n(byte.data() + letti, k, dove);
    letti += k;
    return k;
  };
  c.pronto = [&byte, &letti] { return letti < byte.size(); };
  c.scrivi = [](std::string_view) { return true; };
  return c;
}

}  // namespace

// What the reader makes of a stream, the same whether it comes whole or a byte at a time.
TEST(TrasportoLsp, MessaggiDaUnFlusso) {
  const std::string lungo(70000, 'x');
  struct caso {
    const char* nome;
    std::string flusso;
    std::vector<std::string> attesi;  // each body; "-" for a block passed over
    bool a_byte = true;               // also read a byte at a time
  } casi[] = {
      {"two messages, other headers among them", "Content-Length: 2\r\nContent-Type: a\r\n\r\n{}Content-Length:3\r\n\r\nabc",
       {"{}", "abc"}},
      {"a name in any case, blanks around the number", "content-LENGTH:   4 \r\n\r\nabcd", {"abcd"}},
      {"no length, then a message", "X: 1\r\n\r\nContent-Length: 1\r\n\r\nz", {"-", "z"}},
      {"a length that is no number", "Content-Length: 1x\r\n\r\nContent-Length: 1\r\n\r\nz", {"-", "z"}},
      {"garbage before the header, on its line", "\x01\x02garbage Content-Length: 1\r\n\r\nz", {"z"}},
      {"a body past the largest, passed over as it comes",
       "Content-Length: " + std::to_string(byte_massimi_messaggio + 1) + "\r\n\r\n" +
           std::string(byte_massimi_messaggio + 1, 'x') + "Content-Length: 1\r\n\r\nz",
       {"-", "z"}, false},
      {"a body past the largest, cut short by the end", "Content-Length: 99999999999999999999\r\n\r\n" + lungo, {}},
      {"a long body", "Content-Length: 70000\r\n\r\n" + lungo, {lungo}},
      {"a header block that never ends", std::string(20000, 'h') + "Content-Length: 1\r\n\r\nz", {"z"}},
  };
  for (const caso& k : casi)
    for (const std::size_t a_volta : {std::size_t{1}, std::size_t{100000}}) {
      if (a_volta == 1 && !k.a_byte) continue;
      SCOPED_TRACE(std::string(k.nome) + (a_volta == 1 ? ", a byte at a time" : ", whole"));
      std::size_t letti = 0;
      canale_lsp c = da_memoria(k.flusso, a_volta, letti);
      lettore_messaggi l;
      std::vector<std::string> avuti;
      std::string corpo;
      for (esito_lettura e; (e = l.prossimo(c, corpo)) != esito_lettura::fine;)
        avuti.push_back(e == esito_lettura::messaggio ? corpo : "-");
      EXPECT_EQ(avuti, k.attesi);
    }
}
