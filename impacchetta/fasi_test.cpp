// The one-shot program's stages and their files: the ritual around the
// compile (write, read back, delete), and the whole build's six files.
#include "impacchetta/fasi.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "compiler/codici_errore.h"
#include "formato/nomi_file.h"
#include "prove/cartella.h"
#include "prove/sorgenti.h"

namespace fs = std::filesystem;

namespace {

std::string leggi(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void scrivi(const fs::path& p, const std::string& testo) { std::ofstream(p, std::ios::binary) << testo; }

std::set<std::string> presenti(const fs::path& dir) {
  std::set<std::string> nomi;
  for (const auto& voce : fs::directory_iterator(dir)) nomi.insert(voce.path().filename().string());
  return nomi;
}

// A build of the built-in names whose files lie in a private directory.
struct cantiere {
  cartella_prova dir;
  Form1 f;
  cantiere() { nomina_scenario(f); }
  fs::path linea() const { return dir.percorso / file_linea_sorgente(f.nome_scenario); }
  fs::path treno() const { return dir.percorso / file_treno_sorgente(f.nome_scenario, f.numero_treno); }
  fs::path imballato(file_imballato quale) const {
    return dir.percorso / file_imballato_di(quale, f.nome_scenario, f.numero_treno);
  }
};

}  // namespace

TEST(Fasi, LaBuildCompletaNonRegistraErroriELasciaISeiFile) {
  cantiere c;
  esegui_build(c.f, c.dir.percorso);
  const Form1& f = c.f;
  const registro& r = f.esito.registro;

  EXPECT_EQ(r.codice_errore, 0) << "at " << r.posizione_errore << " m";
  for (const errore_registrato& e : r.errori)
    ADD_FAILURE() << "error " << e.codice << " at " << e.posizione << " m, " << e.file << " line " << e.riga;
  EXPECT_FALSE(f.esito.rifiuto);

  // Both sources are deleted once compiled: the three documents and the three
  // packed files are all that stays.
  const std::string& n = f.nome_scenario;
  const std::string& t = f.numero_treno;
  const std::set<std::string> attesi = {file_note(n, t),
                                        file_rallentamenti(n, t),
                                        file_scheda_treno(n, t),
                                        file_imballato_di(file_imballato::linea, n, t),
                                        file_imballato_di(file_imballato::stazioni, n, t),
                                        file_imballato_di(file_imballato::percorso, n, t)};
  EXPECT_EQ(presenti(c.dir.percorso), attesi);

  // 49 stations from slot 1, the origin first and the destination last.
  EXPECT_EQ(f.esito.scenario.tabella_stazioni[1].nome, "CORVANA");
  EXPECT_EQ(f.esito.scenario.tabella_stazioni[49].nome, "TELMISA");
  EXPECT_EQ(f.esito.scenario.tabella_stazioni[50].nome, "");
}

TEST(Fasi, QualiSorgentiRestanoDopoOgniUscita) {
  const std::string linea = linea_prova(10000);
  struct caso {
    const char* nome;
    std::string linea, treno;  // an empty text: the file is not written
    int32_t codice;
    bool treno_resta;  // the line half ended with its own error: the train source is never taken up
  } casi[] = {
      {"a clean compile", linea, treno_prova("numero vetture, 14\n"), 0, false},
      {"no line source", "", treno_prova(), errore_linea_mancante, true},
      {"no [generale] in the line", "[curve]\n[fine]\n", treno_prova(), errore_generale_mancante, true},
      {"route too long", linea_prova(1000001), treno_prova(), errore_lunghezza_percorso, true},
      {"no route length", "[generale]\n[curve]\n[fine]\n", treno_prova(), errore_lunghezza_mancante, true},
      {"occupied board", linea_prova(10000, "cartello_indicatore, 1000, a\ncartello_indicatore, 1000, b\n"),
       treno_prova(), errore_cartello_occupato, true},
      // The common failure exit deletes whatever source is still there.
      {"failed read in the line", linea_prova(10000, "pendenza, x, 1\n"), treno_prova(), errore_lettura, false},
      {"range error in the line", linea_prova(10000, "pendenza, 20000, 1\n"), treno_prova(), errore_fuori_percorso,
       false},
      {"refused signal", linea, treno_prova("segnale, 2000, 2,4,1,0,0,1,3,1,0,0\nsegnale, 2000, 2,4,1,0,0,1,3,1,0,0\n"),
       errore_segnale_occupato, false},
      {"failed read in the train", linea, treno_prova("sabbia, 40000\n"), errore_lettura, false},
      {"no train source", linea, "", errore_lettura, false},
      {"bad kilometre reference", "[generale]\nlunghezza percorso, 10000\nprogressiva chilometrica uno, 10, 0, 0\n",
       treno_prova(), errore_progressive, false},
  };
  for (const caso& k : casi) {
    cantiere c;
    if (!k.linea.empty()) scrivi(c.linea(), con_crlf(k.linea));
    if (!k.treno.empty()) scrivi(c.treno(), con_crlf(k.treno));
    memorizza_percorso(c.f, c.dir.percorso, 0);
    EXPECT_EQ(c.f.esito.registro.codice_errore, k.codice) << k.nome;
    EXPECT_FALSE(fs::exists(c.linea())) << k.nome;
    EXPECT_EQ(fs::exists(c.treno()), k.treno_resta) << k.nome;
    if (k.treno_resta) {
      EXPECT_EQ(leggi(c.treno()), con_crlf(k.treno)) << k.nome << ": untouched";
    }
  }

  // A line source that cannot be read: the common failure exit, and no exception leaves.
  cantiere c;
  fs::create_directory(c.linea());
  scrivi(c.treno(), treno_prova());
  EXPECT_NO_THROW(memorizza_percorso(c.f, c.dir.percorso, 0));
  EXPECT_EQ(c.f.esito.registro.codice_errore, errore_lettura);
  EXPECT_EQ(c.f.esito.registro.errori.at(0).file, file_linea_sorgente(c.f.nome_scenario)) << "named by its file name";
  EXPECT_FALSE(fs::exists(c.treno()));
}

TEST(Fasi, IFileImballatiAccantoAlleSorgenti) {
  const std::string treno = con_crlf(treno_prova("numero vetture, 14\n"));
  struct caso {
    const char* nome;
    std::string linea;
    int32_t j;
    std::set<file_imballato> scritti;
  } casi[] = {
      {"with the line plan", linea_prova(10000, "curvad1, 1000, 500\n"), 1,
       {file_imballato::linea, file_imballato::stazioni, file_imballato::percorso}},
      {"without it: an older plan stays as it was", linea_prova(10000, "curvad1, 1000, 500\n"), 0,
       {file_imballato::stazioni, file_imballato::percorso}},
      {"refused by a packing check", linea_prova(10000, "indicatori_vmax, 0, 0, 160, 160, 0, 0, 160, 160, 0\n"), 1,
       {}},
      {"no grid to pack: the route length unreadable", "[generale]\nlunghezza percorso, x\n[curve]\n[fine]\n", 1, {}},
  };
  for (const caso& k : casi) {
    cantiere c;
    for (const file_imballato quale : {file_imballato::linea, file_imballato::stazioni, file_imballato::percorso})
      scrivi(c.imballato(quale), "vecchio");
    scrivi(c.linea(), con_crlf(k.linea));
    scrivi(c.treno(), treno);
    memorizza_percorso(c.f, c.dir.percorso, k.j);
    for (const file_imballato quale : {file_imballato::linea, file_imballato::stazioni, file_imballato::percorso})
      EXPECT_EQ(leggi(c.imballato(quale)) != "vecchio", k.scritti.count(quale) == 1)
          << k.nome << ": " << file_imballato_di(quale, c.f.nome_scenario, c.f.numero_treno);
    EXPECT_EQ(presenti(c.dir.percorso).size(), 3u) << k.nome << ": the sources went, nothing else came";
  }
}
