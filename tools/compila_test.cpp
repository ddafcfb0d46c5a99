#include "tools/compila.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <csignal>
#include <fstream>

namespace {

// What the handler saw when the interrupt came: was the private directory still there?
volatile sig_atomic_t interrotto = 0;
volatile sig_atomic_t cartella_ancora_presente = 0;
const char* cartella_osservata = nullptr;

void al_segnale(int) {
  interrotto = 1;
  cartella_ancora_presente = ::access(cartella_osservata, F_OK) == 0;  // async-signal-safe
}

}  // namespace

TEST(CartellaPrivata, UnInterruzioneArrivaSoloDopoLaPulizia) {
  struct sigaction nuova {}, vecchia {};
  nuova.sa_handler = al_segnale;
  sigemptyset(&nuova.sa_mask);
  ASSERT_EQ(::sigaction(SIGTERM, &nuova, &vecchia), 0);
  std::string percorso;
  {
    cartella_privata c;
    percorso = c.percorso.string();
    cartella_osservata = percorso.c_str();
    std::ofstream(c.percorso / "copia.txt") << "x";
    ::raise(SIGTERM);
    EXPECT_EQ(interrotto, 0) << "held back while the directory exists";
  }
  EXPECT_EQ(interrotto, 1) << "delivered once it is gone";
  EXPECT_EQ(cartella_ancora_presente, 0);
  EXPECT_FALSE(std::filesystem::exists(percorso));
  ::sigaction(SIGTERM, &vecchia, nullptr);
}
