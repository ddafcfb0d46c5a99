// scenario plot: a picture of a packed scenario.
#include <memory>

#include "formato/file.h"
#include "formato/nomi_file.h"
#include "packer/file_imballati.h"
#include "tools/compila.h"
#include "tools/disegno/disegno.h"
#include "tools/riga_di_comando.h"

namespace {

// The scenario to draw: the one in the directory that fits the name and the
// number given. False, with the reason told on `err`, when there is none or more.
bool scegli_scenario(const richiesta& r, std::string& nome, std::string& numero, std::ostream& err) {
  nome = r.nome_scenario;
  numero = r.numero_treno;
  if (!nome.empty() && !numero.empty()) return true;
  std::vector<std::pair<std::string, std::string>> adatti;
  try {
    for (const auto& [n, t] : scenari_in_cartella(r.cartella_imballati))
      if ((nome.empty() || n == nome) && (numero.empty() || t == numero)) adatti.emplace_back(n, t);
  } catch (const std::filesystem::filesystem_error& e) {
    err << "scenario: " << r.cartella_imballati.string() << ": cannot read: " << e.code().message() << '\n';
    return false;
  }
  if (adatti.size() == 1) {
    nome = adatti[0].first;
    numero = adatti[0].second;
    return true;
  }
  err << "scenario: " << r.cartella_imballati.string() << ": ";
  if (adatti.empty()) {
    err << "no packed scenario (NAME_NUMBER.sim)";
    if (!nome.empty()) err << " named " << nome;
    if (!numero.empty()) err << " with train " << numero;
  } else {
    err << adatti.size() << " packed scenarios (";
    for (std::size_t i = 0; i < adatti.size(); ++i)
      err << (i ? ", " : "") << adatti[i].first << " train " << adatti[i].second;
    err << "); give --name and --train";
  }
  err << '\n';
  return false;
}

verdetto esegui_disegno(const richiesta& r, std::ostream& err) {
  verdetto fallito;
  fallito.fallito = true;
  std::string nome, numero;
  if (!scegli_scenario(r, nome, numero, err)) return fallito;
  const std::filesystem::path dir = r.cartella_imballati;
  const std::filesystem::path percorso = dir / file_imballato_di(file_imballato::percorso, nome, numero),
                              stazioni = dir / file_imballato_di(file_imballato::stazioni, nome, numero),
                              linea = dir / file_imballato_di(file_imballato::linea, nome, numero);
  for (const auto& p : {percorso, stazioni, linea}) {
    std::error_code ec;
    if (std::filesystem::equivalent(p, r.file_disegno, ec) && !ec) {
      err << "scenario: " << r.file_disegno.string() << ": is a packed file of the scenario; "
          << "the picture is never written over it\n";
      return fallito;
    }
  }
  auto s = std::make_unique<scenario>();
  s->nome_scenario = nome;
  s->numero_treno = numero;
  std::string motivo;
  if (!decodifica_percorso(leggi_file(percorso, byte_massimi_imballato), *s, motivo)) {
    err << "scenario: " << percorso.string() << ": not a packed route grid: " << motivo << '\n';
    return fallito;
  }
  if (!decodifica_stazioni(leggi_file(stazioni, byte_massimi_imballato), *s, motivo)) {
    err << "scenario: " << stazioni.string() << ": not a packed station table: " << motivo << '\n';
    return fallito;
  }
  // A scenario packed without its line plan is drawn without the track plan.
  std::error_code ec;
  if (std::filesystem::exists(linea, ec) &&
      !decodifica_linea(leggi_file(linea, byte_massimi_imballato), *s, motivo)) {
    err << "scenario: " << linea.string() << ": not a packed line plan: " << motivo << '\n';
    return fallito;
  }
  sostituisci_file(r.file_disegno, disegna_scenario(*s, r.marcia));
  return {};
}

verdetto esegui(const richiesta& r, ambiente& a) { return esegui_disegno(r, a.err); }

const opzione disegno{"-o", "FILE.svg", "the picture to write (replaced whole)",
                      [](richiesta& r, const std::string& v, std::string& e) {
                        if (v.empty()) {
                          e = "option -o needs a file";
                          return false;
                        }
                        r.file_disegno = v;
                        return true;
                      },
                      completa::svg};

constexpr uso_opzione opzioni[] = {
    {&disegno},
    {&opzione_nome, "scenario name (default: the one scenario X_N.sim in DIR)"},
    {&opzione_treno, "train number (default: likewise)"},
};

bool concludi(richiesta& r, const std::vector<std::string>& posizionali, std::string& errore) {
  if (posizionali.size() != 1) {
    errore = "plot takes the directory of a packed scenario; try 'scenario plot --help'";
    return false;
  }
  if (r.file_disegno.empty()) {
    errore = "plot needs -o FILE.svg";
    return false;
  }
  // The name and the number not given are found from the files in the directory.
  r.cartella_imballati = posizionali[0];
  return true;
}

}  // namespace

extern const comando comando_plot{
    "plot",
    azione::plot,
    "DIR",
    "draw a packed scenario: track plan, profiles and the fastest run against the timetable",
    "Reads the three packed files of a scenario in DIR, as the simulator reads them,\n"
    "and draws one SVG picture that a browser opens:\n"
    "  the track plan in true proportions, north up, with a scale bar, the start and\n"
    "  the end, the stations, the signals, the mountain spans and the kilometre boards;\n"
    "  below it, on one axis of route kilometres, the height worked out from the\n"
    "  gradients, the gradient, the line speed limit, the slow orders with their\n"
    "  speeds, the speed-reduction points (apart, those that packing lays for the\n"
    "  approaches) and the stations;\n"
    "  the fastest run (as 'scenario timing' works it out): its speed over the\n"
    "  limits, and its time against distance beside the timetable's stops, each\n"
    "  section that cannot be kept shaded, in red, with the seconds it misses.\n"
    "Without NAME_linea.dat (packed with --no-line-plan) only the profiles are drawn.\n",
    opzioni,
    true,
    "0 drawn; 2 usage error, or a file that cannot be read or written or does not fit its kind.",
    completa::cartella,
    concludi,
    esegui,
};
