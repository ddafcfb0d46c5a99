#include "tools/argomenti.h"

#include <algorithm>
#include <vector>

#include "formato/nomi_file.h"

namespace {

bool finisce_con(std::string_view testo, std::string_view coda) {
  return testo.size() >= coda.size() && testo.compare(testo.size() - coda.size(), coda.size(), coda) == 0;
}

}  // namespace

bool nome_da_file(const std::filesystem::path& linea, std::string& nome) {
  const std::string base = linea.filename().string();
  const std::string_view coda = coda_linea_sorgente;
  if (!finisce_con(base, coda) || base.size() == coda.size()) return false;
  nome = base.substr(0, base.size() - coda.size());
  return true;
}

bool numero_da_file(const std::filesystem::path& treno, std::string& numero) {
  const std::string base = treno.filename().string();
  const std::string_view coda = coda_treno_sorgente;
  if (!finisce_con(base, coda)) return false;
  const std::string testa = base.substr(0, base.size() - coda.size());
  const std::size_t trattino = testa.rfind('_');
  // "X_739-.txt": a scenario name, an underscore, a non-empty number.
  if (trattino == std::string::npos || trattino == 0 || trattino + 1 == testa.size()) return false;
  numero = testa.substr(trattino + 1);
  return true;
}

std::vector<std::pair<std::string, std::string>> scenari_in_cartella(
    const std::filesystem::path& cartella) {
  std::vector<std::pair<std::string, std::string>> scenari;
  for (const auto& voce : std::filesystem::directory_iterator(cartella)) {
    const std::string base = voce.path().filename().string();
    if (!finisce_con(base, coda_stazioni_imballate)) continue;
    const std::string testa = base.substr(0, base.size() - coda_stazioni_imballate.size());
    const std::size_t trattino = testa.rfind('_');
    if (trattino == std::string::npos || trattino == 0 || trattino + 1 == testa.size()) continue;
    scenari.emplace_back(testa.substr(0, trattino), testa.substr(trattino + 1));
  }
  std::sort(scenari.begin(), scenari.end());
  return scenari;
}

tipo_imballato tipo_da_nome(const std::filesystem::path& file) {
  const std::string base = file.filename().string();
  if (finisce_con(base, coda_linea_imballata)) return tipo_imballato::linea;
  if (finisce_con(base, coda_percorso_imballato)) return tipo_imballato::percorso;
  if (finisce_con(base, coda_stazioni_imballate)) return tipo_imballato::stazioni;
  return tipo_imballato::nessuno;
}
