#include "compiler/avvisi_righe.h"

#include <iterator>

#include "compiler/codici_avviso.h"
#include "compiler/descrizioni.h"
#include "formato/numeri.h"

namespace {

const riga_letta* riga_di(const compilazione& f, int32_t indice) {
  if (indice < 0 || static_cast<std::size_t>(indice) >= f.registro.righe_lette.size()) return nullptr;
  return &f.registro.righe_lette[static_cast<std::size_t>(indice)];
}

bool numero(std::string_view t) {
  std::size_t i = !t.empty() && (t[0] == '-' || t[0] == '+') ? 1 : 0;
  if (i == t.size()) return false;
  for (; i < t.size(); ++i)
    if ((t[i] < '0' || t[i] > '9') && t[i] != '.' && t[i] != ' ') return false;
  return true;
}

}  // namespace

avviso_registrato& avvisa_riga(compilazione& f, int32_t codice, int32_t indice, std::string testo) {
  avviso_registrato& a = registra_avviso(f.registro, codice, std::move(testo));
  avviso_alla_riga(f.registro, f.scenario, a, indice);
  return a;
}

void avvisa_fuori_ordine(compilazione& f, int32_t codice, int32_t indice, int32_t precedente, const std::string& valore,
                         int64_t cella_inizio) {
  const riga_letta* r = riga_di(f, indice);
  const riga_letta* p = riga_di(f, precedente);
  if (r == nullptr || p == nullptr) return;
  std::string t = "'" + std::string(parola_riga(r->tipo)) + "' at " + std::to_string(r->posizione) +
                  " m does not come after the row before it, at " + std::to_string(p->posizione) + " m (" +
                  luogo_riga(f.registro, precedente) + "): rows must rise along the route; ";
  const int64_t da = cella_inizio * 50;
  if (da > r->posizione)
    t += valore + " is laid only from " + std::to_string(da) + " m";
  else
    t += "the value of the row before is never laid";
  colpevole_avviso(f.registro, avvisa_riga(f, codice, indice, std::move(t)), precedente);
}

bool avvisa_nome(compilazione& f, int32_t indice, std::string_view cosa, std::string_view nome, int32_t riga_nome,
                 int32_t riga_valori) {
  const riga_letta* r = riga_di(f, indice);
  if (r == nullptr) return false;
  const std::string chi = r->tipo == tipo_riga::stazione ? "the station at " + std::to_string(r->posizione) + " m"
                                                         : "the kilometre board at " + std::to_string(r->posizione) + " m";
  // A name taken from the next line swallows that line's row: a loss. An
  // empty name or a number is stored as written.
  if (riga_nome > riga_valori)
    avvisa_riga(f, avviso_nome_mancante, indice,
                chi + " has no " + std::string(cosa) + " on its line: the field read as its " + std::string(cosa) +
                    ", " + citazione(nome) + ", opens line " + std::to_string(riga_nome) +
                    ", so the row there is lost and its values are read as fields that match nothing");
  else if (nome.empty())
    avvisa_riga(f, avviso_nome_vuoto, indice, chi + " has an empty " + std::string(cosa));
  else if (numero(nome))
    avvisa_riga(f, avviso_nome_vuoto, indice,
                chi + " has the number " + citazione(nome) + " as its " + std::string(cosa) +
                    ": is a value missing before it, or one too many?");
  else
    return false;
  return true;
}

namespace {

constexpr int32_t un_chilometro = 1000;

// The route length row that counts: the last one given.
int32_t riga_lunghezza(const compilazione& f) {
  int32_t indice = nessuna_riga;
  for (std::size_t i = 0; i < f.registro.righe_lette.size(); ++i)
    if (f.registro.righe_lette[i].tipo == tipo_riga::lunghezza) indice = static_cast<int32_t>(i);
  return indice;
}

int32_t lunghezza_percorso(const compilazione& f) {
  return f.scenario.tabella_stazioni[slot_treno_percorso].valore2;
}

}  // namespace

void avvisa_percorso_corto(compilazione& f, int32_t posizione, const std::string& chi) {
  const int32_t l = lunghezza_percorso(f);
  if (f.percorso_corto_detto || l >= un_chilometro || posizione < un_chilometro) return;
  const int32_t indice = riga_lunghezza(f);
  if (indice == nessuna_riga) return;
  f.percorso_corto_detto = true;
  const int64_t fine_griglia = (static_cast<int64_t>(f.scenario.percorso.size()) - 1) * 50;
  std::string t = "the route length is " + std::to_string(l) + " m, yet " + chi + " stands at " +
                  std::to_string(posizione) + " m: is the length written in kilometres? It is given in metres";
  if (l > 0) t += " (" + std::to_string(int64_t{l} * 1000) + " for " + std::to_string(l) + " km)";
  t += "; the route grid ends at " + std::to_string(fine_griglia) + " m, and a row beyond it ends the reading (error 15)";
  avvisa_riga(f, avviso_percorso_corto, indice, std::move(t));
}

std::string percorso_corto(const compilazione& f) {
  if (!f.percorso_corto_detto) return {};
  return "; the route length (" + luogo_riga(f.registro, riga_lunghezza(f)) + ") is only " +
         std::to_string(lunghezza_percorso(f)) + " m: written in kilometres? (" + nome_avviso(avviso_percorso_corto) + ")";
}

void avvisa_ripetuta(compilazione& f, int32_t indice, int32_t& precedente) {
  if (indice == nessuna_riga) return;
  if (precedente != nessuna_riga)
    colpevole_avviso(f.registro,
                     avvisa_riga(f, avviso_riga_ripetuta, indice,
                                 citazione(f.riga) + " is given again: this row's values replace those of " +
                                     nome_riga(f.scenario, f.registro, precedente)),
                     precedente);
  precedente = indice;
}

void avvisa_quinto(compilazione& f, int32_t indice, std::string_view quale, int64_t velocita) {
  if (velocita % 5 == 0) return;
  uint8_t quinto = 0;
  if (!converti(static_cast<double>(velocita) / 5.0, quinto)) return;  // it does not fit at all: a failed read
  avvisa_riga(f, avviso_velocita_arrotondata, indice,
              std::string(quale) + " " + std::to_string(velocita) + " km/h is kept as " + std::to_string(quinto * 5) +
                  " km/h: a cell holds speeds in steps of 5 km/h");
}

void posa_segno_su(compilazione& f, int64_t c, uint8_t valore, segni_sovrascritti& s) {
  cella_percorso& cella = f.scenario.percorso[static_cast<std::size_t>(c)];
  const origine_cella o = origine_di(f.registro, c);
  if (cella.avviso_segnale != 0 && o.segno != nessuna_riga && o.segno != f.riga_in_posa &&
      s.quante < static_cast<int>(std::size(s.voci)))
    s.voci[s.quante++] = {o.segno, c, cella.avviso_segnale, valore};
  cella.avviso_segnale = valore;
  posa_segno(f, c);
}

void avvisa_segni(compilazione& f, const segni_sovrascritti& s) {
  for (int i = 0; i < s.quante; ++i) {
    const int32_t altra = s.voci[i].altra;
    bool gia = false;
    for (int k = 0; k < i; ++k) gia = gia || s.voci[k].altra == altra;
    if (gia) continue;
    std::string celle;
    for (int k = i; k < s.quante; ++k) {
      if (s.voci[k].altra != altra) continue;
      if (!celle.empty()) celle += ", ";
      celle += "cell " + std::to_string(s.voci[k].cella) + " (" + std::to_string(s.voci[k].cella * 50) +
               " m): " + std::to_string(s.voci[k].dopo) + " over " + std::to_string(s.voci[k].prima);
    }
    colpevole_avviso(f.registro, avvisa_riga(f, avviso_segno_sovrascritto, f.riga_in_posa,
                "the approach marks of this row replace those of " + nome_riga(f.scenario, f.registro, altra) + " on " + celle), altra);
  }
}
