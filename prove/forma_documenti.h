// The form rules of the driver's documents, checked on a written text: for the
// tests of the derived documents and for the benchmark that measures them.
// Each check returns the rules the text breaks, one message each (none: well
// formed). The rules are the built-in documents' own: CR LF after every line,
// plain printable ASCII, the fixed lines, the bars' columns and the cells'
// forms, the page and form structure.
#pragma once

#include <algorithm>
#include <cstddef>
#include <regex>
#include <string>
#include <string_view>
#include <vector>

namespace forma_documenti {

inline std::vector<int> barre(std::string_view riga) {
  std::vector<int> b;
  for (std::size_t i = 0; i < riga.size(); ++i)
    if (riga[i] == '|') b.push_back(static_cast<int>(i));
  return b;
}

// The lines of `testo`; a line not ended by CR LF, or a byte outside plain
// printable ASCII, is a problem.
inline std::vector<std::string> righe(std::string_view testo, std::vector<std::string>& problemi) {
  std::vector<std::string> r;
  std::size_t inizio = 0;
  while (inizio < testo.size()) {
    const std::size_t fine = testo.find("\r\n", inizio);
    if (fine == std::string_view::npos) {
      problemi.push_back("the last line has no CR LF");
      r.emplace_back(testo.substr(inizio));
      break;
    }
    r.emplace_back(testo.substr(inizio, fine - inizio));
    inizio = fine + 2;
  }
  for (std::size_t i = 0; i < r.size(); ++i)
    for (unsigned char c : r[i])
      if (c < 0x20 || c > 0x7E) {
        problemi.push_back("line " + std::to_string(i + 1) + ": a byte outside plain printable ASCII");
        break;
      }
  return r;
}

struct lettore {
  const std::vector<std::string>& r;
  std::vector<std::string>& problemi;
  std::size_t i = 0;

  bool finito() const { return i >= r.size(); }
  const std::string& corrente() const {
    static const std::string niente;
    return i < r.size() ? r[i] : niente;
  }
  void errore(const std::string& cosa) { problemi.push_back("line " + std::to_string(i + 1) + ": " + cosa); }
  // The next line must be `atteso`.
  void uguale(std::string_view atteso) {
    if (finito()) errore("missing, expected \"" + std::string(atteso) + "\"");
    else if (r[i] != atteso) errore("\"" + r[i] + "\", expected \"" + std::string(atteso) + "\"");
    ++i;
  }
  // The next line must match `re`.
  bool come(const std::regex& re, std::string_view cosa, std::smatch* m = nullptr) {
    std::smatch locale;
    std::smatch& mm = m ? *m : locale;
    const bool ok = !finito() && std::regex_match(r[i], mm, re);
    if (!ok) errore("\"" + corrente() + "\" is not " + std::string(cosa));
    ++i;
    return ok;
  }
};

// ---- The train sheet -------------------------------------------------------

inline constexpr std::string_view riga_vuota_scheda =
    " |     |     |          |     |                            |                |     |";
inline constexpr std::string_view regola_scheda =
    " |_____|_____|__________|_____|____________________________|________________|_____|";

// One table row of the sheet, each cell in one of its forms.
inline const std::regex& re_riga_scheda() {
  static const std::regex re(
      " \\|( {1,3}[0-9]{1,3} | {5})"              // line speed
      "\\|( {1,3}[0-9]{1,3} | {5})"               // running speed
      "\\|( *-?[0-9]{1,4}\\.[0-9]{3}  | {10})"    // kilometre
      "\\| {5}"                                   // never filled
      "\\|( [^ |][^|]{26}| {28})"                 // place
      "\\|( {10}[0-2][0-9]\\.[0-5][0-9] "         // departure
      "| {6}[0-2][0-9]\\.[0-5][0-9] {5}"          // a single time
      "|  [0-2][0-9]\\.[0-5][0-9] - [0-2][0-9]\\.[0-5][0-9] "  // arrival - departure
      "| [0-2][0-9]\\.[0-5][0-9] {10}"            // arrival
      "| {16})"                                   // none
      "\\|( *-?[0-9]{1,2}\\.[0-9] | {5})\\|");    // recovery margin
  return re;
}

inline std::vector<std::string> problemi_scheda(std::string_view testo, std::size_t righe_pagina) {
  std::vector<std::string> problemi;
  const std::vector<std::string> r = righe(testo, problemi);
  lettore l{r, problemi};
  l.uguale("");
  l.uguale("");
  const std::regex re_numero(" \\|                   \\|                    SCHEDA ([0-9]+)/([0-9]+) *\\|              \\|");
  const std::regex re_valori_alto(" \\|   TRENO n\\.[^|]{8}\\|                   da: [^|]{22}\\|    V[^|]{9}\\|");
  const std::regex re_valori_basso(" \\|___________________\\|                    a: [^|]{22}\\|     [^|]{9}\\|");
  const std::regex re_valori_classe(" \\|[^|]{19}\\|              \\|      [^|]{13}\\|");
  int pagine = -1;
  std::vector<std::string> pagina_prima;
  for (int attesa = 1;; ++attesa) {
    std::smatch m;
    l.uguale("  ___________________                                               ______________");
    const std::size_t riga_numero = l.i;
    if (!l.come(re_numero, "the page number line", &m) || l.r[riga_numero].size() != 83) return problemi;
    const int k = std::stoi(m[1]), n = std::stoi(m[2]);
    if (pagine < 0) pagine = n;
    if (k != attesa || n != pagine) l.problemi.push_back("page " + std::to_string(attesa) + " is numbered " + m.str(0));
    const bool modulo = k == pagine;
    if (modulo) {
      l.uguale(" |   TRENO n.xxxxx   |                   da: xxxxxx                |    Vxxx C    |");
      l.uguale(" |___________________|                    a: xxxxxx                |     xxx%     |");
    } else {
      l.come(re_valori_alto, "the heading's first line of values");
      l.come(re_valori_basso, "the heading's second line of values");
    }
    l.uguale("                                                                   |______________|");
    l.uguale("  ___________________                ___________________");
    l.uguale(" |  CLASSIFICAZIONE  |              |  MASSA BLOCCATA   |       ");
    if (modulo)
      l.uguale(" |        xxx        |              |      xxxT         |");
    else
      l.come(re_valori_classe, "the classification and mass line");
    l.uguale(" |___________________|              |___________________|");
    l.uguale("");
    l.uguale("  ________________________________________________________________________________");
    l.uguale(" | Vel.| Vel.| Progr Km |  No |   Localita' di  Servizio   |     Orario     | Rec |");
    l.uguale(" | Lim.|Marc.|          |  Rs |                            |                |     |");
    l.uguale(" |_____|_____|__________|_____|____________________________|________________|_____|");
    std::vector<std::string> pagina;
    bool vuote = false;
    for (std::size_t j = 0; j < righe_pagina; ++j) {
      const std::string riga = l.corrente();
      if (riga == riga_vuota_scheda) {
        vuote = true;
        ++l.i;
        continue;
      }
      if (modulo) l.errore("a filled row on the blank form");
      if (vuote) l.errore("a filled row after an empty row");
      if (riga.size() != 83 || barre(riga) != std::vector<int>{1, 7, 13, 24, 30, 59, 76, 82})
        l.errore("a table row of the sheet whose bars are out of place");
      l.come(re_riga_scheda(), "a table row of the sheet");
      pagina.push_back(riga);
    }
    // A page after the first opens with a row of the page before: its last station.
    if (k > 1 && !modulo &&
        (pagina.empty() || std::find(pagina_prima.begin(), pagina_prima.end(), pagina.front()) == pagina_prima.end()))
      l.problemi.push_back("page " + std::to_string(k) + " does not open with a row of the page before");
    l.uguale(regola_scheda);
    if (modulo) break;
    l.uguale("");
    l.uguale("");
    l.uguale(std::string(k == 1 ? 81 : 72, '.'));
    l.uguale("");
    if (k == 1) l.uguale("");
    pagina_prima = std::move(pagina);
  }
  l.uguale("");
  if (!l.finito()) l.errore("lines after the blank form");
  return problemi;
}

// ---- The slow-order form ---------------------------------------------------

inline constexpr std::string_view riga_vuota_rallentamenti =
    " |   |                            |            |          |         |            |";
inline constexpr std::string_view regola_rallentamenti =
    " |___|____________________________|____________|__________|_________|____________|";

inline std::vector<std::string> problemi_rallentamenti(std::string_view testo) {
  std::vector<std::string> problemi;
  const std::vector<std::string> r = righe(testo, problemi);
  lettore l{r, problemi};
  const std::regex re_ordine(
      " \\|( [0-9] |[0-9]{2} |[0-9]{3})"
      "\\| ([^ |][^|]{26})"
      "\\|( *-?[0-9]{1,7})     "
      "\\|( *-?[0-9]{1,6})    "
      "\\|( *-?[0-9]{1,6})   "
      "\\|(   -----    |     A      |     B      |    A B     )\\|");
  int numero = 0;
  bool vuote = false;
  for (int modulo = 0; !l.finito(); ++modulo) {
    if (modulo > 0) {
      l.uguale("");
      l.uguale(std::string(72, '.'));
    }
    l.uguale("");
    l.uguale("                               Modulo M. 3");
    l.uguale("                           ORDINE DI RALLENTAMENTO");
    l.uguale(" ________________________________________________________________________________");
    l.come(std::regex("  Linea  .*"), "the line's title");
    l.uguale("");
    l.come(std::regex("  Si ordina al macchinista del treno  .*  di effettuare i seguenti rallentamenti"),
           "the order line");
    l.uguale("  _______________________________________________________________________________");
    l.uguale(" |   |                            |Inizio dopo |          |         |            |");
    l.uguale(" | N.|      FRA LE STAZIONI       | il cippo   | Velocita'|Lunghezza|Prescrizioni|");
    l.uguale(" |   |   (o nelle Stazioni di)    |chilometrico|          |   metri | specifiche |");
    l.uguale(regola_rallentamenti);
    for (int j = 0; j < 26; ++j) {
      if (l.corrente() == riga_vuota_rallentamenti) {
        vuote = true;
        ++l.i;
        continue;
      }
      if (vuote) l.errore("an order row after an empty row");
      const std::string& riga = l.corrente();
      if (riga.size() != 82 || barre(riga) != std::vector<int>{1, 5, 34, 47, 58, 68, 81})
        l.errore("an order row whose bars are out of place");
      std::smatch m;
      if (l.come(re_ordine, "an order row", &m) && std::stoi(m[1]) != ++numero)
        l.problemi.push_back("order " + std::to_string(numero) + " is numbered " + m.str(1));
    }
    l.uguale(regola_rallentamenti);
    l.uguale("");
    l.uguale("              Prescrizioni specifiche");
    l.uguale(" A - Da rispettare con tutto il treno (per i treni viaggiatori)");
    l.come(std::regex(" B - Interessa anche (la stazione|le stazioni) di .+"), "the key's line B");
    l.uguale(" D - Rallentamneto N. ... e N. ...  sono contigui");
    l.uguale(" C - Da rispettare dalle ore ....  alle ore ..... di tutti");
    l.uguale("     i giorni esclusi i seguenti:.........");
  }
  return problemi;
}

// ---- The notes -------------------------------------------------------------

inline std::vector<std::string> problemi_note(std::string_view testo) {
  std::vector<std::string> problemi;
  const std::vector<std::string> r = righe(testo, problemi);
  lettore l{r, problemi};
  l.come(std::regex("Simulazione del treno .* nel tratto .* - .*\\."), "the title line");
  if (l.corrente().starts_with("Il treno parte da "))
    l.come(std::regex("Il treno parte da .* con un (ritardo di [0-9]+ minut[oi], facilmente recuperabil[ei]|"
                      "anticipo di [0-9]+ minut[oi])\\."),
           "the late-start line");
  l.uguale("Buon divertimento");
  if (!l.finito()) {
    l.uguale("");
    if (l.corrente().starts_with(std::string(19, ' ')) && l.corrente()[19] != ' ') ++l.i;
    if (!l.finito()) l.come(std::regex(" {18}\\(.*\\) "), "the contact line");
  }
  if (!l.finito()) l.errore("lines after the notes");
  return problemi;
}

}  // namespace forma_documenti
