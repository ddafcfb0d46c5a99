// The built-in scenario as the compiler reads it: every row it writes is
// logged, and nothing in it is worth a warning.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "porta/compila.h"
#include "sources/dati_linea.h"
#include "sources/dati_treno.h"

namespace {

// The rows of a written source by the first word of their keyword, after
// "[generale]"; the curves by "curva".
std::map<std::string, int> righe_scritte(const std::string& testo) {
  std::map<std::string, int> conta;
  std::istringstream righe(testo);
  bool generale = false;
  for (std::string riga; std::getline(righe, riga);) {
    if (riga.find("[generale]") != std::string::npos) generale = true;
    if (!generale || riga.empty() || riga[0] == '[' || riga.find(',') == std::string::npos) continue;
    const std::string parola = riga.substr(0, riga.find_first_of(", "));
    ++conta[parola.rfind("curva", 0) == 0 ? "curva" : parola];
  }
  return conta;
}

}  // namespace

TEST(IncorporatoAvvisi, OgniRigaLettaENessunAvviso) {
  const std::string linea = dati_linea(), treno = dati_treno();
  opzioni_compilazione o;
  o.nome_scenario = "Corvana_Telmisa";
  o.numero_treno = "739";
  o.con_marcia = false;  // the compiler's warnings alone: the timetable's are told elsewhere
  const esito_compilazione e = compila({"Corvana_Telmisa_linea.txt", linea}, {"Corvana_Telmisa_739-.txt", treno}, o);
  ASSERT_TRUE(da_imballare(e));
  const registro& f = e.registro;
  EXPECT_TRUE(f.errori.empty());
  for (const avviso_registrato& a : f.avvisi)
    ADD_FAILURE() << a.codice << " " << a.file << ":" << a.riga << ": " << a.testo;

  std::map<std::string, int> scritte = righe_scritte(linea);
  for (const auto& [parola, n] : righe_scritte(treno)) scritte[parola] += n;
  // The log by the first word of each kind's keyword ("numero" for "numero vetture").
  std::map<std::string, int> lette;
  for (const riga_letta& r : f.righe_lette) {
    const std::string_view parola = parola_riga(r.tipo);
    ++lette[std::string(parola.substr(0, parola.find(' ')))];
  }
  EXPECT_EQ(lette, scritte);
}
