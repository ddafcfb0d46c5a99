#include "documents/deriva_documenti.h"

#include <algorithm>
#include <cmath>
#include <tuple>

#include "documents/celle_testo.h"
#include "documents/progressiva.h"
#include "documents/testo_ascii.h"

namespace {

// The notices of one derivation, and the steps that add to them.
struct avvisi_lavoro {
  std::vector<avviso_documento>& lista;

  // `testo` in plain ASCII, a bar written as '/' (it would read as the
  // table's own); says so when that changed it.
  std::string ascii(std::string_view testo, const std::string& dove, std::string_view cosa, int slot = 0) {
    std::string a = in_ascii(testo);
    const bool fuori_ascii = a != testo;
    bool barra = false;
    for (char& c : a)
      if (c == '|') c = '/', barra = true;
    if (fuori_ascii || barra)
      lista.push_back({dove,
                       std::string(cosa) + " \"" + visibile(testo) + "\" has " +
                           (fuori_ascii ? "characters outside plain ASCII" : "") +
                           (fuori_ascii && barra ? " and " : "") + (barra ? "a bar" : "") + ": written \"" + a + "\"",
                       avviso_documento_traslitterato, slot});
    return a;
  }

  // `testo` (plain ASCII) cut to `larghezza`; says so when it was longer.
  std::string cella(const std::string& testo, std::size_t larghezza, const std::string& dove, int slot = 0) {
    if (testo.size() <= larghezza) return testo;
    std::string t = taglia(testo, larghezza);
    lista.push_back({dove,
                     "\"" + testo + "\" is longer than its cell (" + std::to_string(larghezza) +
                         " characters): cut to \"" + t + "\"",
                     avviso_documento_tagliato, slot});
    return t;
  }
};

std::string maiuscole(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

// The last cell that the speed and adhesion tails fill (N - 3); the cells
// after it keep 0 in every compiled grid.
int64_t ultima_cella_piena(const scenario& f) { return static_cast<int64_t>(f.percorso.size()) - 3; }

bool senza_numeri(const record_stazione& r) {
  return r.marca == 0 && r.valore1 == 0 && r.valore2 == 0 && r.valore3 == 0 && r.marca2 == 0 && r.intero1 == 0 &&
         r.intero2 == 0 && r.intero3 == 0 && r.intero4 == 0 && r.intero5 == 0 && r.ottetto1 == 0 &&
         r.ottetto2 == 0 && r.ottetto3 == 0 && r.ottetto4 == 0 && r.codice == 0;
}

// The whole kilometre whose post stands at or before `metri`.
int64_t chilometro_intero(int64_t metri) {
  return metri >= 0 ? metri / 1000 : -((-metri + 999) / 1000);
}

std::string km_di(const scenario& f, int64_t posizione) {
  return chilometri_tre_decimali(progressiva(f, posizione));
}

// A recovery margin in minutes as tenths of a minute, rounded half to even.
std::optional<int32_t> in_decimi(const std::optional<double>& minuti, const std::string& dove, avvisi_lavoro& a) {
  if (!minuti) return std::nullopt;
  const double d = std::nearbyint(*minuti * 10.0);
  if (!std::isfinite(d) || std::fabs(d) > 1e9) {
    a.lista.push_back({dove, "recovery margin of " + std::to_string(*minuti) + " minutes left out: not a usable figure"});
    return std::nullopt;
  }
  return static_cast<int32_t>(d);
}

// The stations' names in plain ASCII, each said once when it changed.
std::vector<std::string> nomi_ascii(const std::vector<stazione_percorso>& st, avvisi_lavoro& a) {
  std::vector<std::string> nomi;
  for (std::size_t i = 0; i < st.size(); ++i)
    nomi.push_back(a.ascii(st[i].nome, "station " + std::to_string(i + 1), "name", st[i].slot));
  return nomi;
}

orario_riga orario_stazione(const stazione_percorso& s, const orari_stazione& t, std::size_t i, std::size_t n,
                            int32_t sosta) {
  orario_riga o;
  const bool ha_codice = s.codice != 0;
  if (i == 0) {
    if (t.partenza || ha_codice) o = {forma_orario::partenza, 0, t.partenza.value_or(s.codice), 0};
  } else if (i + 1 == n) {
    if (t.arrivo || ha_codice) o = {forma_orario::arrivo, t.arrivo.value_or(s.codice), 0, 0};
  } else if (ha_codice) {
    const int32_t partenza = t.partenza.value_or(s.codice);
    // The arrival a dwell before, within the day (a stop just after midnight).
    const int64_t prima = (static_cast<int64_t>(partenza) - sosta) % 86400;
    o = {forma_orario::fermata, t.arrivo.value_or(static_cast<int32_t>(prima < 0 ? prima + 86400 : prima)), partenza,
         0};
  } else if (t.transito) {
    o = {forma_orario::transito, 0, 0, *t.transito};
  }
  return o;
}

// The reference points between the origin and the destination: where the line
// speed limit changes, each mouth of a mountain span, each kilometre board.
struct punto_riferimento {
  int64_t posizione;
  std::string luogo;
};

std::vector<punto_riferimento> punti_riferimento(const scenario& f, const std::vector<stazione_percorso>& st,
                                                 avvisi_lavoro& a) {
  std::vector<punto_riferimento> punti;
  if (st.size() < 2 || f.percorso.empty()) return punti;
  const int64_t da = st.front().posizione, a_ = st.back().posizione;
  const auto nella_corsa = [&](int64_t p) { return p > da && p < a_; };
  const auto di_stazione = [&](int64_t p) {
    return std::any_of(st.begin(), st.end(), [&](const stazione_percorso& s) { return s.posizione == p; });
  };
  const std::vector<cella_percorso>& g = f.percorso;
  const int64_t ultima = static_cast<int64_t>(g.size()) - 1;
  for (int64_t c = 1; c <= ultima_cella_piena(f); ++c) {
    const int64_t p = c * 50;
    // The limit of a speed row holds from its cell on; at a station the
    // station's own row shows it.
    if (g[c].velocita != g[c - 1].velocita && nella_corsa(p) && !di_stazione(p))
      punti.push_back({p, "Km " + km_di(f, p)});
  }
  for (int64_t c = 0; c <= ultima; ++c) {
    if (g[c].montagna == 0) continue;
    if ((c == 0 || g[c - 1].montagna == 0) && nella_corsa(c * 50))
      punti.push_back({c * 50, "Imb.Gall. Km " + km_di(f, c * 50)});
    if ((c == ultima || g[c + 1].montagna == 0) && nella_corsa((c + 1) * 50))
      punti.push_back({(c + 1) * 50, "Usc.Gall. Km " + km_di(f, (c + 1) * 50)});
  }
  for (int64_t c = 1; c <= ultima; ++c) {
    if (g[c].tipo != tipo_indicatore_km) continue;
    const int64_t p = (c - 1) * 50;
    if (!nella_corsa(p)) continue;
    const int slot = g[c].dato1;
    const std::string dove = "train sheet, kilometre board at km " + km_di(f, p);
    if (slot < slot_prima_stazione || slot > slot_cartelli) {
      a.lista.push_back({dove, "the board names slot " + std::to_string(slot) + ", outside the boards' slots: left out"});
      continue;
    }
    const std::string testo = a.ascii(f.tabella_stazioni[slot].nome, dove, "board text", slot);
    punti.push_back({p, a.cella("Cartello " + testo, larghezza_luogo, dove, slot)});
  }
  return punti;
}

modello_scheda deriva_scheda(const scenario& f, const std::vector<stazione_percorso>& st,
                             const std::vector<std::string>& nomi, std::span<const orari_stazione> orari,
                             const opzioni_documenti& o, avvisi_lavoro& a) {
  modello_scheda m;
  intestazione_scheda& t = m.intestazione;
  t.treno = a.cella(a.ascii(f.numero_treno, "train number", "number"), larghezza_treno_testa,
                    "train sheet, heading");
  if (!st.empty()) {
    t.origine = a.cella(nomi.front(), larghezza_stazione_testa, "train sheet, heading (origin)", st.front().slot);
    t.destinazione =
        a.cella(nomi.back(), larghezza_stazione_testa, "train sheet, heading (destination)", st.back().slot);
  }
  t.velocita_massima = o.velocita_massima;
  if (const int32_t p = f.tabella_stazioni[slot_treno_percorso].valore1; p != 0) t.massa_frenata = p;
  t.classificazione = a.cella(a.ascii(o.classificazione, "train sheet, heading", "classification"),
                              larghezza_classificazione, "train sheet, heading");
  t.massa = o.massa;

  // Rows in route order: (position, stations before points, then their order).
  std::vector<std::tuple<int64_t, int, std::size_t, riga_scheda>> righe;
  const orari_stazione nessun_orario;
  for (std::size_t i = 0; i < st.size(); ++i) {
    const std::string dove = "train sheet, station " + std::to_string(i + 1);
    const orari_stazione& ti = i < orari.size() ? orari[i] : nessun_orario;
    riga_scheda r;
    r.stazione = true;
    r.velocita_linea = limite_linea(f, st[i].posizione);
    r.chilometro = progressiva(f, st[i].posizione);
    r.luogo = a.cella(nomi[i], larghezza_luogo, dove, st[i].slot);
    r.orario = orario_stazione(st[i], ti, i, st.size(), o.sosta);
    r.recupero = in_decimi(ti.recupero, dove, a);
    righe.emplace_back(st[i].posizione, 0, i, std::move(r));
  }
  std::size_t k = 0;
  for (punto_riferimento& p : punti_riferimento(f, st, a)) {
    riga_scheda r;
    r.velocita_linea = limite_linea(f, p.posizione);
    r.chilometro = progressiva(f, p.posizione);
    r.luogo = std::move(p.luogo);
    righe.emplace_back(p.posizione, 1, k++, std::move(r));
  }
  std::stable_sort(righe.begin(), righe.end(), [](const auto& x, const auto& y) {
    return std::tie(std::get<0>(x), std::get<1>(x), std::get<2>(x)) <
           std::tie(std::get<0>(y), std::get<1>(y), std::get<2>(y));
  });

  // The running speed: the line limit, held below the train's top speed;
  // written where it changes.
  std::optional<int32_t> prima;
  for (std::size_t i = 0; i < righe.size(); ++i) {
    riga_scheda& r = std::get<3>(righe[i]);
    std::optional<int32_t> marcia = r.velocita_linea;
    if (marcia && o.velocita_massima) marcia = std::min(*marcia, *o.velocita_massima);
    if (i == 0 || marcia != prima) r.velocita_marcia = marcia;
    prima = marcia;
    m.righe.push_back(std::move(r));
  }
  return m;
}

// The stations the section from `inizio` to `fine` lies between: the last
// station before its end and the next one; or the one station whose span holds
// it whole; or the end station it lies beyond. One station: `b` is empty.
struct coppia_stazioni {
  std::string a, b;
};

coppia_stazioni stazioni_sezione(const std::vector<stazione_percorso>& st, const std::vector<std::string>& nomi,
                                 int32_t inizio, int32_t fine) {
  if (st.empty()) return {};
  for (std::size_t i = 0; i < st.size(); ++i)
    if (st[i].inizio <= inizio && fine <= st[i].fine) return {maiuscole(nomi[i]), ""};
  std::size_t dopo = 0;  // the first station at or beyond the section's end
  while (dopo < st.size() && st[dopo].posizione < fine) ++dopo;
  if (dopo == 0) return {maiuscole(nomi.front()), ""};
  if (dopo == st.size()) return {maiuscole(nomi.back()), ""};
  return {maiuscole(nomi[dopo - 1]), maiuscole(nomi[dopo])};
}

// The pair as its cell holds it: "A - B"; when that is too wide "A-B"; when
// that is too, each name cut so that both keep a share of the cell.
std::string testo_coppia(const coppia_stazioni& c, const std::string& dove, avvisi_lavoro& a) {
  if (c.b.empty()) return a.cella(c.a, larghezza_stazioni, dove);
  const std::string intera = c.a + " - " + c.b;
  if (intera.size() <= larghezza_stazioni) return intera;
  const std::size_t posto = larghezza_stazioni - 1;
  std::size_t la = c.a.size(), lb = c.b.size();
  if (la + lb > posto) {
    if (la <= posto / 2)
      lb = posto - la;
    else if (lb <= posto / 2)
      la = posto - lb;
    else
      la = posto / 2, lb = posto - la;
    const std::string t = taglia(c.a, la) + "-" + taglia(c.b, lb);
    a.lista.push_back({dove,
                       "the pair \"" + intera + "\" is longer than its cell (" +
                           std::to_string(larghezza_stazioni) + " characters): written \"" + t + "\"",
                       avviso_documento_tagliato});
    return t;
  }
  return c.a + "-" + c.b;
}

modello_rallentamenti deriva_rallentamenti(const scenario& f, const std::vector<stazione_percorso>& st,
                                           const std::vector<std::string>& nomi, avvisi_lavoro& a) {
  modello_rallentamenti m;
  m.treno = in_ascii(f.numero_treno);
  if (!st.empty()) m.linea = maiuscole(nomi.front()) + " - " + maiuscole(nomi.back());
  int32_t numero = 0;
  for (const rallentamento_percorso& r : rallentamenti_percorso(f)) {
    riga_rallentamento riga;
    riga.numero = ++numero;
    const std::string dove = "slow-order form, order " + std::to_string(numero);
    riga.chilometro = chilometro_intero(progressiva(f, r.inizio));
    riga.velocita = r.velocita;
    riga.lunghezza = static_cast<int64_t>(r.fine) - r.inizio;
    if (!r.con_fine)
      a.lista.push_back({dove, "the slow order from km " + km_di(f, r.inizio) +
                                   " has no end cell of its own (its end falls on its start's cell, or another "
                                   "order starts first): length written as 0"});
    riga.stazioni = testo_coppia(stazioni_sezione(st, nomi, r.inizio, r.fine), dove, a);
    riga.prescrizione_a = r.f_tt == 1;
    const int64_t fine_sezione = std::max<int64_t>(r.fine, static_cast<int64_t>(r.inizio) + 1);
    for (std::size_t i = 0; i < st.size(); ++i)
      if (r.inizio < st[i].fine && st[i].inizio < fine_sezione) riga.stazioni_b.push_back(maiuscole(nomi[i]));
    m.righe.push_back(std::move(riga));
  }
  return m;
}

modello_note deriva_note(const scenario& f, const std::vector<stazione_percorso>& st,
                         const std::vector<std::string>& nomi, std::span<const orari_stazione> orari,
                         const opzioni_documenti& o, avvisi_lavoro& a) {
  modello_note m;
  m.treno = in_ascii(f.numero_treno);
  if (!st.empty()) {
    m.origine = nomi.front();
    m.destinazione = nomi.back();
    // The train starts at its source's origin time; the sheet may show another departure.
    if (!orari.empty() && orari.front().partenza && st.front().codice != 0) {
      int64_t scarto = static_cast<int64_t>(st.front().codice) - *orari.front().partenza;
      scarto = ((scarto % 86400) + 86400) % 86400;
      if (scarto > 43200) scarto -= 86400;
      m.ritardo_minuti = static_cast<int32_t>(std::nearbyint(static_cast<double>(scarto) / 60.0));
    }
  }
  m.firma = a.ascii(o.firma, "notes", "signature");
  m.contatto = a.ascii(o.contatto, "notes", "contact");
  return m;
}

}  // namespace

std::optional<int32_t> limite_linea(const scenario& f, int64_t posizione) {
  if (f.percorso.empty()) return std::nullopt;
  const int64_t ultima = std::max<int64_t>(0, ultima_cella_piena(f));
  const int64_t c = std::clamp<int64_t>(static_cast<int64_t>(std::nearbyint(posizione / 50.0)), 0, ultima);
  const int32_t v = f.percorso[c].velocita * 5;
  if (v == 0) return std::nullopt;  // no speed row reaches the cell
  return v;
}

std::vector<stazione_percorso> stazioni_percorso(const scenario& f) {
  std::vector<stazione_percorso> st;
  for (int s = slot_prima_stazione; s <= slot_cartelli; ++s) {
    const record_stazione& r = f.tabella_stazioni[s];
    if (senza_numeri(r)) break;
    st.push_back({s, r.valore3, r.valore1, r.valore2, r.codice, r.nome});
  }
  // The compiler accepts stations only in ascending order; a failed build may leave others.
  std::stable_sort(st.begin(), st.end(),
                   [](const stazione_percorso& a, const stazione_percorso& b) { return a.posizione < b.posizione; });
  return st;
}

std::vector<rallentamento_percorso> rallentamenti_percorso(const scenario& f) {
  std::vector<rallentamento_percorso> r;
  bool aperto = false;
  for (std::size_t c = 0; c < f.percorso.size(); ++c) {
    const cella_percorso& x = f.percorso[c];
    const int32_t p = (static_cast<int32_t>(c) - 1) * 50;
    if (x.tipo == tipo_inizio_rallentamento) {
      aperto = true;
      r.push_back({p, p, false, x.dato1, x.dato3});
    } else if (x.tipo == tipo_fine_rallentamento && aperto) {
      r.back().fine = p;
      r.back().con_fine = true;
      aperto = false;
    }
  }
  return r;
}

documenti_derivati deriva_documenti(const scenario& f, std::span<const orari_stazione> orari,
                                    const opzioni_documenti& o) {
  documenti_derivati d;
  avvisi_lavoro a{d.avvisi};
  const std::vector<stazione_percorso> st = stazioni_percorso(f);
  if (orari.size() > st.size()) {
    a.lista.push_back({"train sheet", "times given for " + std::to_string(orari.size()) + " stations, the scenario has " +
                                          std::to_string(st.size()) + ": the rest are left out"});
    orari = orari.first(st.size());
  }
  const std::vector<std::string> nomi = nomi_ascii(st, a);
  d.scheda = deriva_scheda(f, st, nomi, orari, o, a);
  d.rallentamenti = deriva_rallentamenti(f, st, nomi, a);
  d.note = deriva_note(f, st, nomi, orari, o, a);
  return d;
}
