#include "tools/disegno/lettura.h"

#include <algorithm>
#include <cmath>

#include "packer/completa_approcci.h"
#include "tools/disegno/foglio.h"

std::optional<double> punto_piano(const std::array<asse_linea, 2>& griglia, int asse,
                                  std::size_t metro) {
  const asse_linea& a = griglia[asse == 0 ? 0 : 1];
  if (metro >= a.tag.size() || metro >= a.valore.size() || a.tag[metro] == elemento_vuoto)
    return std::nullopt;
  return a.valore[metro];
}

namespace disegno {

std::size_t metri_piano(const std::array<asse_linea, 2>& griglia) {
  return std::min(griglia[0].tag.size(), griglia[1].tag.size());
}

lettura leggi(const scenario& s) {
  lettura l;
  const auto& t = s.tabella_stazioni;
  l.nome = !t[slot_scenario].nome.empty() ? t[slot_scenario].nome : s.nome_scenario;
  l.numero = !t[slot_treno].nome.empty() ? t[slot_treno].nome : s.numero_treno;
  const int64_t fine_griglia = s.percorso.empty() ? 0 : static_cast<int64_t>(s.percorso.size() - 1) * 50;
  l.lunghezza = t[slot_treno_percorso].valore2 > 0 ? t[slot_treno_percorso].valore2
                : fine_griglia > 7000 ? fine_griglia - 7000
                                      : fine_griglia;

  std::array<bool, numero_slot> slot_cartello{};
  for (std::size_t i = 0; i < s.percorso.size(); ++i) {
    const cella_percorso& c = s.percorso[i];
    const int64_t metro = static_cast<int64_t>(i) * 50;
    switch (c.tipo) {
      case tipo_segnale:
        l.segnali.push_back(metro);
        break;
      case tipo_inizio_rallentamento: {
        // A slow order runs from its start cell to the next end cell; a start
        // laid over its own end (a very short order) covers its one cell.
        std::size_t j = i + 1;
        while (j < s.percorso.size() && s.percorso[j].tipo != tipo_fine_rallentamento &&
               s.percorso[j].tipo != tipo_inizio_rallentamento)
          ++j;
        const int64_t fine = j < s.percorso.size() && s.percorso[j].tipo == tipo_fine_rallentamento
                                 ? static_cast<int64_t>(j) * 50
                                 : metro + 50;
        l.rallentamenti.push_back({{metro, fine}, c.dato1});
        break;
      }
      case tipo_abbattimento:
        // The packed grid keeps no mark of who laid a point: the packer's
        // approach points are speed-reduction points at 180 km/h, as an
        // author's point at 180 would be. A point at exactly that speed is
        // read as the packer's: an author's point at 180 asks for no more
        // than the approach point does, and one that the pass lowered to
        // 180 took the packer's speed.
        if (c.dato1 == velocita_approccio)
          l.approcci.push_back(metro);
        else
          l.abbattimenti.push_back({metro, std::max<int>(c.dato1, 1)});
        break;
      case tipo_abbattimento_senza_velocita:
        l.abbattimenti.push_back({metro, 0});
        break;
      case tipo_indicatore_km:
        // The board's text lies in the slot the cell names; a slot outside the
        // table is not read.
        if (c.dato1 >= slot_prima_stazione && c.dato1 <= slot_cartelli) {
          slot_cartello[static_cast<std::size_t>(c.dato1)] = true;
          l.cartelli.push_back({metro, t[static_cast<std::size_t>(c.dato1)].nome});
        }
        break;
      default:
        break;
    }
    if (c.montagna != 0) {
      if (!l.montagne.empty() && l.montagne.back().a == metro)
        l.montagne.back().a = metro + 50;
      else
        l.montagne.push_back({metro, metro + 50});
    }
  }
  // Stations fill the table from slot 1 upward, board texts from slot 80 downward.
  for (int j = slot_prima_stazione; j < slot_cartelli; ++j)
    if (!slot_cartello[j] && !(t[j] == record_stazione{})) l.stazioni.push_back({t[j].valore3, t[j].nome});
  std::stable_sort(l.stazioni.begin(), l.stazioni.end(),
                   [](const nome_in_linea& a, const nome_in_linea& b) { return a.metro < b.metro; });
  return l;
}


std::optional<punto> punto_metro(const std::array<asse_linea, 2>& g, int64_t metro) {
  if (metro < 0) return std::nullopt;
  const auto x = punto_piano(g, 0, static_cast<std::size_t>(metro));
  const auto y = punto_piano(g, 1, static_cast<std::size_t>(metro));
  if (!x || !y || !std::isfinite(*x) || !std::isfinite(*y) || std::fabs(*x) > coordinata_massima ||
      std::fabs(*y) > coordinata_massima)
    return std::nullopt;
  return punto{*x, *y};
}

std::optional<punto> punto_vicino(const std::array<asse_linea, 2>& g, int64_t metro) {
  for (int64_t d = 0; d <= 100; ++d) {
    if (auto p = punto_metro(g, metro - d)) return p;
    if (auto p = punto_metro(g, metro + d)) return p;
  }
  return std::nullopt;
}

}  // namespace disegno
