// The train sheet's layout: heading block, table rows, pages.
#include <cmath>
#include <string_view>

#include "documents/celle_testo.h"
#include "documents/modelli_documenti.h"

namespace {

constexpr std::string_view riga_vuota =
    " |     |     |          |     |                            |                |     |";
constexpr std::string_view regola_fondo =
    " |_____|_____|__________|_____|____________________________|________________|_____|";

// A time of the day to the minute, "hh.mm".
std::string ora(int32_t secondi) {
  const int64_t minuti = static_cast<int64_t>(std::nearbyint(secondi / 60.0));
  const int64_t m = (minuti % 1440 + 1440) % 1440;
  std::string t = "00.00";
  t[0] = static_cast<char>('0' + m / 600);
  t[1] = static_cast<char>('0' + m / 60 % 10);
  t[3] = static_cast<char>('0' + m % 60 / 10);
  t[4] = static_cast<char>('0' + m % 10);
  return t;
}

std::string cella_orario(const orario_riga& o) {
  switch (o.forma) {
    case forma_orario::partenza: return std::string(10, ' ') + ora(o.partenza) + " ";
    case forma_orario::transito: return std::string(6, ' ') + ora(o.transito) + std::string(5, ' ');
    case forma_orario::fermata: return "  " + ora(o.arrivo) + " - " + ora(o.partenza) + " ";
    case forma_orario::arrivo: return " " + ora(o.arrivo) + std::string(10, ' ');
    case forma_orario::nessuna: break;
  }
  return std::string(16, ' ');
}

// A speed right-aligned in four characters and a space, or blank.
std::string cella_velocita(const std::optional<int32_t>& v) {
  return v ? numero_a_destra(*v, 4) + " " : std::string(5, ' ');
}

std::string cella_recupero(const std::optional<int32_t>& decimi) {
  if (!decimi) return std::string(5, ' ');
  const int64_t d = *decimi;
  const int64_t a = d < 0 ? -d : d;
  const std::string testo = (d < 0 ? "-" : "") + std::to_string(a / 10) + "." + std::to_string(a % 10);
  return a_destra(testo, 4) + " ";
}

// The placeholder `segnaposto` where a value is absent; asterisks where it
// has more than `larghezza` characters.
std::string o_segnaposto(const std::optional<int32_t>& v, std::string_view segnaposto, std::size_t larghezza) {
  if (!v) return std::string(segnaposto);
  const std::string testo = std::to_string(*v);
  return testo.size() > larghezza ? std::string(larghezza, '*') : testo;
}

// The sheet's rows split into pages: each the rows it shows, in order.
std::vector<std::vector<const riga_scheda*>> pagine_della_corsa(const std::vector<riga_scheda>& righe) {
  std::vector<std::vector<const riga_scheda*>> pagine;
  const riga_scheda* ripetuta = nullptr;
  std::size_t i = 0;
  while (i < righe.size() || pagine.empty()) {
    std::vector<const riga_scheda*> pagina;
    if (ripetuta != nullptr) pagina.push_back(ripetuta);
    std::size_t prese = std::min(righe_per_pagina - pagina.size(), righe.size() - i);
    if (i + prese < righe.size()) {
      // More rows follow: the page ends with its last station, if it has one.
      for (std::size_t k = prese; k > 0; --k)
        if (righe[i + k - 1].stazione) {
          prese = k;
          break;
        }
    }
    for (std::size_t k = 0; k < prese; ++k) pagina.push_back(&righe[i + k]);
    i += prese;
    for (const riga_scheda* r : pagina)
      if (r->stazione) ripetuta = r;
    pagine.push_back(std::move(pagina));
  }
  return pagine;
}

}  // namespace

std::string riga_tabella_scheda(const riga_scheda& r) {
  std::string s = " |";
  s += cella_velocita(r.velocita_linea) + "|";
  s += cella_velocita(r.velocita_marcia) + "|";
  s += (r.chilometro ? a_destra(chilometri_tre_decimali(*r.chilometro), 8) + "  " : std::string(10, ' ')) + "|";
  s += "     |";
  s += " " + a_sinistra(r.luogo, larghezza_luogo) + "|";
  s += cella_orario(r.orario) + "|";
  s += cella_recupero(r.recupero) + "|";
  return s;
}

std::vector<std::string> intestazione_pagina(const intestazione_scheda& t, int pagina, int pagine) {
  const std::string numero_pagina = "SCHEDA " + std::to_string(pagina) + "/" + std::to_string(pagine);
  // The number after "TRENO n." keeps a space before it when it has room; the
  // placeholder stands right after the full stop.
  std::string treno;
  if (t.treno.empty())
    treno = a_sinistra("xxxxx", larghezza_treno_testa);
  else if (t.treno.size() < larghezza_treno_testa)
    treno = a_sinistra(" " + t.treno, larghezza_treno_testa);
  else
    treno = a_sinistra(t.treno, larghezza_treno_testa);
  const std::string origine = t.origine.empty() ? "xxxxxx" : t.origine;
  const std::string destinazione = t.destinazione.empty() ? "xxxxxx" : t.destinazione;
  const std::string velocita = "    V" + o_segnaposto(t.velocita_massima, "xxx", 7) + " C";
  const std::string frenata = "     " + o_segnaposto(t.massa_frenata, "xxx", 8) + "%";
  // The classification stands in the middle of its box, an odd space to the right.
  const std::string classe =
      t.classificazione.empty() ? "xxx" : t.classificazione.substr(0, larghezza_classificazione);
  const std::size_t sinistra = (larghezza_classificazione - classe.size()) / 2;
  const std::string massa = "      " + o_segnaposto(t.massa, "xxx", larghezza_massa) + "T";
  return {
      "  ___________________                                               ______________",
      " |                   |                    " + a_sinistra(numero_pagina, 25) + "|              |",
      " |   TRENO n." + treno + "|                   da: " + a_sinistra(origine, larghezza_stazione_testa) +
          "|" + a_sinistra(velocita, 14) + "|",
      " |___________________|                    a: " + a_sinistra(destinazione, larghezza_stazione_testa) +
          "|" + a_sinistra(frenata, 14) + "|",
      "                                                                   |______________|",
      "  ___________________                ___________________",
      " |  CLASSIFICAZIONE  |              |  MASSA BLOCCATA   |       ",
      " |" + a_sinistra(std::string(sinistra, ' ') + classe, larghezza_classificazione) +
          "|              |" + a_sinistra(massa, 19) + "|",
      " |___________________|              |___________________|",
      "",
      "  ________________________________________________________________________________",
      " | Vel.| Vel.| Progr Km |  No |   Localita' di  Servizio   |     Orario     | Rec |",
      " | Lim.|Marc.|          |  Rs |                            |                |     |",
      " |_____|_____|__________|_____|____________________________|________________|_____|",
  };
}

std::vector<std::string> impagina_scheda(const modello_scheda& m) {
  const std::vector<std::vector<const riga_scheda*>> corsa = pagine_della_corsa(m.righe);
  const int pagine = static_cast<int>(corsa.size()) + 1;
  std::vector<std::string> righe = {"", ""};
  const auto pagina = [&](const intestazione_scheda& t, int numero, const std::vector<const riga_scheda*>& r) {
    for (std::string& l : intestazione_pagina(t, numero, pagine)) righe.push_back(std::move(l));
    for (const riga_scheda* x : r) righe.push_back(riga_tabella_scheda(*x));
    for (std::size_t k = r.size(); k < righe_per_pagina; ++k) righe.emplace_back(riga_vuota);
    righe.emplace_back(regola_fondo);
  };
  for (std::size_t k = 0; k < corsa.size(); ++k) {
    pagina(m.intestazione, static_cast<int>(k) + 1, corsa[k]);
    if (k == 0)
      righe.insert(righe.end(), {"", "", std::string(81, '.'), "", ""});
    else
      righe.insert(righe.end(), {"", "", std::string(72, '.'), ""});
  }
  pagina(intestazione_scheda{}, pagine, {});
  righe.emplace_back("");
  return righe;
}
