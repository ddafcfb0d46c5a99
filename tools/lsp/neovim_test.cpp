// Neovim's built-in language client, headless, against `scenario lsp`: the
// editor authors have, not a scripted fake of it (prove/neovim_lsp.lua), with
// the editor files the package installs.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "prove/cartella.h"
#include "prove/comando.h"
#include "prove/programmi.h"
#include "sources/scenario_nuovo.h"

TEST(NeovimLsp, ErroreCorrezioneHoverCompletamento) {
  const std::filesystem::path nvim = cerca_programma("nvim");
  if (nvim.empty()) GTEST_SKIP() << "neovim is not installed (scripts/setup prove installs it)";
  cartella_prova radice;
  const std::filesystem::path cartella = radice.percorso / "sorgenti", casa = radice.percorso / "casa";
  std::filesystem::create_directories(cartella);
  std::filesystem::create_directories(casa);
  std::string treno = treno_nuovo();
  treno.insert(treno.find("[fine]"), "segnale,    8150,   2, 4, 1, 0,  0,   1, 3, 1, 0,   0\r\n");
  scrivi_tutto(cartella / "Mia_linea.txt", linea_nuova());
  scrivi_tutto(cartella / "Mia_1-.txt", treno);

  // The editor keeps its logs and state in a home of its own.
  const std::filesystem::path risultati = radice.percorso / "risultati.txt";
  const int stato = esegui_con_limite(
      {"/usr/bin/env", "HOME=" + casa.string(), "XDG_CONFIG_HOME=" + casa.string(), "XDG_DATA_HOME=" + casa.string(),
       "XDG_STATE_HOME=" + casa.string(), "XDG_CACHE_HOME=" + casa.string(), std::string("SCENARIO=") + SCENARIO,
       std::string("EDITORI=") + CARTELLA_EDITORI, "CARTELLA=" + cartella.string(), "RISULTATI=" + risultati.string(), nvim.string(), "--headless", "-u", "NONE",
       "-i", "NONE", "-n", "-c", std::string("luafile ") + SCRIPT_NEOVIM},
      radice.percorso / "nvim.txt", 120);
  ASSERT_EQ(stato, 0) << leggi_tutto(radice.percorso / "nvim.txt");
  std::map<std::string, std::string> r;
  std::istringstream in(leggi_tutto(risultati));
  for (std::string riga; std::getline(in, riga);)
    if (const std::size_t uguale = riga.find('='); uguale != std::string::npos) r[riga.substr(0, uguale)] = riga.substr(uguale + 1);
  EXPECT_EQ(r["errore"], "") << leggi_tutto(radice.percorso / "nvim.txt");
  // The file type by the source's name, the highlighting, the client started by the file type.
  EXPECT_EQ(r["filetype"], "scenario");
  EXPECT_EQ(r["sintassi"], "scenarioParola,scenarioNumero");
  EXPECT_EQ(r["client"], "true");
  EXPECT_EQ(r["stesso_client"], "true");

  // The error at the signal's row and column (from 0: line 61, column 53 as check tells it).
  EXPECT_EQ(r["diagnostica"], "true");
  EXPECT_EQ(r["riga"], "60");
  EXPECT_EQ(r["colonna"], "52");
  EXPECT_EQ(r["codice"], "16");
  EXPECT_EQ(r["gravita"], "1");
  EXPECT_NE(r["messaggio"].find("station point of 'CASTELNERO'"), std::string::npos) << r["messaggio"];
  // Definition from it: the station's row.
  EXPECT_EQ(r["definizione"].rfind("stazione,    8000", 0), 0u) << r["definizione"];
  // Fixed, it goes.
  EXPECT_EQ(r["risolta"], "true");
  // Hover names the value and its unit.
  EXPECT_NE(r["hover"].find("gradient"), std::string::npos) << r["hover"];
  EXPECT_NE(r["hover"].find("per mille"), std::string::npos) << r["hover"];
  // Completion at the start of a body line: the body's keywords.
  for (const char* k : {"pendenza", "curvad1", "montagna", "indicatori_vmax", "cartello_indicatore"})
    EXPECT_NE(("," + r["completamento"] + ",").find(std::string(",") + k + ","), std::string::npos) << k << ": "
                                                                                                   << r["completamento"];
  EXPECT_EQ(r["completamento"].find("lunghezza percorso"), std::string::npos);
  EXPECT_EQ(r["fermato"], "true");
}
