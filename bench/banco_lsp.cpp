// Diagnostics as you type, timed as the editor waits for them: from the
// moment a change is written to `scenario lsp`'s input to the moment its
// diagnostics for that version are read from its output, on a generated
// scenario with both sources open.
//   banco_lsp SCENARIO [LENGTH_M [CHANGES]]     (defaults: 1000000 m, 200 changes)
// Each change alternates between the two sources and between two values of
// one field (a speed limit, a gradient), so every change is compiled afresh
// and half of them bring an error and take it away again. Prints the time
// to the first diagnostics after opening, and the changes' median, 90th
// percentile and largest times, in milliseconds.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/genera_scenario.h"
#include "prove/cartella.h"
#include "prove/cliente_lsp.h"

namespace {

using json = nlohmann::json;
using orologio = std::chrono::steady_clock;

double ms(orologio::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// The line (from 0) and column of the first occurrence of `cosa` in CR LF text.
bool dove(const std::string& testo, const std::string& cosa, int64_t& riga, int64_t& colonna) {
  const std::size_t i = testo.find(cosa);
  if (i == std::string::npos) return false;
  riga = std::count(testo.begin(), testo.begin() + static_cast<std::ptrdiff_t>(i), '\n');
  colonna = static_cast<int64_t>(i - (testo.rfind('\n', i) == std::string::npos ? 0 : testo.rfind('\n', i) + 1));
  return true;
}

double percentile(std::vector<double> v, double p) {
  std::sort(v.begin(), v.end());
  return v[std::min(v.size() - 1, static_cast<std::size_t>(p * static_cast<double>(v.size() - 1) + 0.5))];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 4) {
    std::fprintf(stderr, "usage: banco_lsp SCENARIO [LENGTH_M [CHANGES]]\n");
    return 2;
  }
  // The server starts in a directory of its own: its path must not be relative.
  const std::filesystem::path programma = std::filesystem::absolute(argv[1]);
  const int32_t lunghezza = argc > 2 ? std::atoi(argv[2]) : 1000000;
  const int cambi = argc > 3 ? std::atoi(argv[3]) : 200;
  if (lunghezza < 10000 || lunghezza > 1000000 || cambi < 1) {
    std::fprintf(stderr, "banco_lsp: the length must be 10000 to 1000000 m, the changes at least 1\n");
    return 2;
  }
  const scenario_generato s = genera_scenario(lunghezza);
  cartella_prova cartella;
  const std::string uri_linea = "file://" + (cartella.percorso / "Generato_linea.txt").string();
  const std::string uri_treno = "file://" + (cartella.percorso / "Generato_1-.txt").string();

  cliente_lsp c(programma, {"lsp"}, cartella.percorso, cartella.percorso / "errori.txt");
  if (!c.richiesta("initialize", {{"capabilities", json::object()}})) {
    std::fprintf(stderr, "banco_lsp: the server does not answer\n");
    return 1;
  }
  c.notifica("initialized", json::object());
  const auto aperto = orologio::now();
  c.notifica("textDocument/didOpen",
             {{"textDocument", {{"uri", uri_linea}, {"languageId", "scenario"}, {"version", 1}, {"text", s.linea}}}});
  c.notifica("textDocument/didOpen",
             {{"textDocument", {{"uri", uri_treno}, {"languageId", "scenario"}, {"version", 1}, {"text", s.treno}}}});
  const auto prime = c.diagnostiche(uri_treno, 1, 60);
  const double apertura = ms(orologio::now() - aperto);
  // The generated timetable may leave less than the recovery margin somewhere
  // (a warning); an error would leave the changes nothing to compile afresh.
  const auto errori = [](const json& d) {
    return std::count_if(d.begin(), d.end(), [](const json& x) { return x.value("severity", 0) == 1; });
  };
  if (!prime || errori(*prime) != 0) {
    std::fprintf(stderr, "banco_lsp: the generated scenario should open with no error\n");
    return 1;
  }

  // The field each change toggles: the first speed limit's last digit, the
  // second gradient's value.
  struct campo {
    std::string uri;
    int64_t riga = 0, colonna = 0;
    std::string prima, dopo;
    int versione = 1;
  } campi[2];
  int64_t r = 0, k = 0;
  const std::size_t velocita = s.treno.find("velocita,");
  const std::size_t fine_velocita = s.treno.find("\r\n", velocita);
  if (!dove(s.treno, s.treno.substr(velocita, fine_velocita - velocita), r, k)) return 1;
  campi[0] = {uri_treno, r, static_cast<int64_t>(fine_velocita - velocita) - 1, "0", "3", 1};  // 70 km/h -> 73, not a multiple of 5
  if (s.treno[fine_velocita - 1] != '0' && s.treno[fine_velocita - 1] != '5') return 1;
  campi[0].prima = std::string(1, s.treno[fine_velocita - 1]);
  const std::size_t pendenza = s.linea.find("pendenza,", s.linea.find("pendenza,") + 1);
  if (!dove(s.linea, s.linea.substr(pendenza, 9), r, k)) return 1;
  const std::size_t fine_pendenza = s.linea.find("\r\n", pendenza);
  const std::size_t ultima_virgola = s.linea.rfind(',', fine_pendenza);
  const std::string gradiente = s.linea.substr(ultima_virgola + 1, fine_pendenza - ultima_virgola - 1);
  campi[1] = {uri_linea, r, static_cast<int64_t>(fine_pendenza - pendenza - gradiente.size()), gradiente, "   170", 1};
  if (campi[1].dopo.size() < gradiente.size()) campi[1].dopo.insert(0, gradiente.size() - campi[1].dopo.size(), ' ');

  std::vector<double> tempi;
  int avvisi = 0;
  for (int i = 0; i < cambi; ++i) {
    campo& x = campi[i % 2];
    const bool avanti = (i / 2) % 2 == 0;
    const std::string& vecchio = avanti ? x.prima : x.dopo;
    const std::string& nuovo = avanti ? x.dopo : x.prima;
    ++x.versione;
    const json inizio = {{"line", x.riga}, {"character", x.colonna}};
    const json fine = {{"line", x.riga}, {"character", x.colonna + static_cast<int64_t>(vecchio.size())}};
    const auto scritto = orologio::now();
    c.notifica("textDocument/didChange", {{"textDocument", {{"uri", x.uri}, {"version", x.versione}}},
                                          {"contentChanges", {{{"range", {{"start", inizio}, {"end", fine}}}, {"text", nuovo}}}}});
    const auto d = c.diagnostiche(x.uri, x.versione, 60);
    tempi.push_back(ms(orologio::now() - scritto));
    if (!d) {
      std::fprintf(stderr, "banco_lsp: no diagnostics for change %d\n", i + 1);
      return 1;
    }
    avvisi += errori(*d) - errori(*prime) > 0 ? 1 : 0;
  }
  c.richiesta("shutdown", nullptr);
  c.notifica("exit", nullptr);
  const int stato = c.attendi_uscita(10);

  std::printf("scenario of %d m: line source %zu bytes, train source %zu bytes\n", lunghezza, s.linea.size(),
              s.treno.size());
  std::printf("open to first diagnostics: %.1f ms\n", apertura);
  std::printf("%d changes, change to diagnostics: median %.1f ms, 90th percentile %.1f ms, largest %.1f ms\n", cambi,
              percentile(tempi, 0.5), percentile(tempi, 0.9), *std::max_element(tempi.begin(), tempi.end()));
  std::printf("changes whose diagnostics held an error: %d of %d; exit status %d\n", avvisi, cambi, stato);
  return percentile(tempi, 0.9) <= 100.0 && stato == 0 ? 0 : 1;
}
