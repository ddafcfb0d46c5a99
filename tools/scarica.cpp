#include "tools/scarica.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>

#include <nlohmann/json.hpp>

using nlohmann::ordered_json;

namespace {

// A CSV field: quoted when it holds a comma, a quote or a line end.
std::string campo_csv(std::string_view t) {
  if (t.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(t);
  std::string q = "\"";
  for (char c : t) {
    if (c == '"') q += '"';
    q += c;
  }
  return q + '"';
}

const char* caratteristica(uint8_t tipo) {
  switch (tipo) {
    case 0: return "";
    case 1: return "signal";
    case 2: return "slow order end";
    case 3: return "slow order start";
    case 4: return "slow order warning board";
    case 5: return "slow order countdown";
    case 6: return "maximum-speed board";
    case 10: return "station point";
    case 11: return "mountain marker";
    case 12: return "speed-reduction point";
    case 13: return "speed-reduction point without speed";
    case 14: return "kilometre board";
    default: return "unknown kind";
  }
}

bool cella_vuota(const cella_percorso& c) { return c == cella_percorso{}; }

bool slot_vuoto(const record_stazione& r) { return r == record_stazione{}; }

// Point j of a plan coordinate as JSON: an integer, a number or null.
ordered_json elemento_json(const asse_linea& a, std::size_t j) {
  switch (a.tag[j]) {
    case elemento_intero: return static_cast<int16_t>(a.valore[j]);
    case elemento_reale: return a.valore[j];
    default: return nullptr;
  }
}

// {"tipo_file": KIND, "LIST": [ ... ]} written one record per line as it goes:
// the library writes every key and value, and a long line plan never has to
// stand in memory as one document.
class lista_json {
 public:
  lista_json(std::ostream& out, const char* tipo, const char* chiave) : out_(out) {
    out_ << "{" << ordered_json("tipo_file").dump() << ":" << ordered_json(tipo).dump() << ","
         << ordered_json(chiave).dump() << ":[";
  }
  void aggiungi(const ordered_json& voce) {
    out_ << (primo_ ? "\n" : ",\n") << voce.dump();
    primo_ = false;
  }
  void chiudi() { out_ << "\n]}\n"; }

 private:
  std::ostream& out_;
  bool primo_ = true;
};

// Writes point j of a plan coordinate into `buf`, right-aligned to
// `larghezza`: an integer, the shortest text that reads back as the same
// double, or `vuoto` for an empty point. Returns the end.
char* reale_in(char* buf, int larghezza, const asse_linea& a, std::size_t j, const char* vuoto) {
  char t[32];
  char* fine = t;
  switch (a.tag[j]) {
    case elemento_intero:
      fine = std::to_chars(t, t + sizeof t, static_cast<int16_t>(a.valore[j])).ptr;
      break;
    case elemento_reale: fine = std::to_chars(t, t + sizeof t, a.valore[j]).ptr; break;
    default: fine = std::copy(vuoto, vuoto + std::strlen(vuoto), t);
  }
  const int n = static_cast<int>(fine - t);
  for (int i = n; i < larghezza; ++i) *buf++ = ' ';
  return std::copy(t, fine, buf);
}

}  // namespace

std::string testo_utf8(std::string_view testo) {
  std::string u;
  u.reserve(testo.size());
  for (char c : testo) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x80) {
      u += c;
    } else {
      u += static_cast<char>(0xC0 | (b >> 6));
      u += static_cast<char>(0x80 | (b & 0x3F));
    }
  }
  return u;
}

void scarica_percorso(const std::vector<cella_percorso>& celle, formato forma, bool tutti,
                      std::ostream& out) {
  if (forma == formato::json) {
    lista_json lista(out, "grid", "celle");
    for (std::size_t i = 0; i < celle.size(); ++i) {
      const cella_percorso& c = celle[i];
      if (!tutti && cella_vuota(c)) continue;
      lista.aggiungi({{"cella", i},
                       {"metri", i * 50},
                       {"tipo", c.tipo},
                       {"dato1", c.dato1},
                       {"dato2", c.dato2},
                       {"dato3", c.dato3},
                       {"dato4", c.dato4},
                       {"tempo_segnale", c.tempo_segnale},
                       {"avviso_segnale", c.avviso_segnale},
                       {"montagna", c.montagna},
                       {"velocita", c.velocita},
                       {"pendenza", c.pendenza},
                       {"aderenza", c.aderenza}});
    }
    lista.chiudi();
    return;
  }
  const bool csv = forma == formato::csv;
  out << (csv ? "cella,metri,tipo,dato1,dato2,dato3,dato4,tempo_segnale,avviso_segnale,montagna,"
                "velocita,pendenza,aderenza\n"
              : " cella   metri tipo  dato1  dato2  dato3  dato4 tempo_segnale avviso_segnale "
                "montagna velocita pendenza aderenza  feature\n");
  const char* modello = csv ? "%zu,%zu,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d\n"
                            : "%6zu %7zu %4d %6d %6d %6d %6d %13d %14d %8d %8d %8d %8d%s%s\n";
  char buf[160];
  for (std::size_t i = 0; i < celle.size(); ++i) {
    const cella_percorso& c = celle[i];
    if (!tutti && cella_vuota(c)) continue;
    const int n = std::snprintf(buf, sizeof buf, modello, i, i * 50, c.tipo, c.dato1, c.dato2,
                                c.dato3, c.dato4, c.tempo_segnale, c.avviso_segnale, c.montagna,
                                c.velocita, c.pendenza, c.aderenza, c.tipo != 0 ? "  " : "",
                                caratteristica(c.tipo));
    out.write(buf, n);
  }
}

void scarica_stazioni(const std::array<record_stazione, numero_slot>& tabella, formato forma,
                      bool tutti, std::ostream& out) {
  if (forma == formato::json) {
    lista_json lista(out, "stations", "slot");
    for (int i = 0; i < numero_slot; ++i) {
      const record_stazione& r = tabella[i];
      if (!tutti && slot_vuoto(r)) continue;
      lista.aggiungi({{"slot", i},
                       {"marca", r.marca},
                       {"valore1", r.valore1},
                       {"valore2", r.valore2},
                       {"valore3", r.valore3},
                       {"marca2", r.marca2},
                       {"nome", testo_utf8(r.nome)},
                       {"intero1", r.intero1},
                       {"intero2", r.intero2},
                       {"intero3", r.intero3},
                       {"intero4", r.intero4},
                       {"intero5", r.intero5},
                       {"ottetto1", r.ottetto1},
                       {"ottetto2", r.ottetto2},
                       {"ottetto3", r.ottetto3},
                       {"ottetto4", r.ottetto4},
                       {"codice", r.codice}});
    }
    lista.chiudi();
    return;
  }
  const bool csv = forma == formato::csv;
  out << (csv ? "slot,marca,valore1,valore2,valore3,marca2,intero1,intero2,intero3,intero4,intero5,"
                "ottetto1,ottetto2,ottetto3,ottetto4,codice,nome\n"
              : "slot marca     valore1     valore2     valore3 marca2 intero1 intero2 intero3 "
                "intero4 intero5 ottetto1 ottetto2 ottetto3 ottetto4      codice  nome\n");
  const char* modello = csv ? "%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,"
                            : "%4d %5d %11d %11d %11d %6d %7d %7d %7d %7d %7d %8d %8d %8d %8d %11d";
  char buf[200];
  for (int i = 0; i < numero_slot; ++i) {
    const record_stazione& r = tabella[i];
    if (!tutti && slot_vuoto(r)) continue;
    const int n = std::snprintf(buf, sizeof buf, modello, i, r.marca, r.valore1, r.valore2,
                                r.valore3, r.marca2, r.intero1, r.intero2, r.intero3, r.intero4,
                                r.intero5, r.ottetto1, r.ottetto2, r.ottetto3, r.ottetto4, r.codice);
    out.write(buf, n);
    if (csv) out << campo_csv(r.nome);
    else if (!r.nome.empty()) out << "  " << r.nome;
    out << '\n';
  }
}

void scarica_linea(const std::array<asse_linea, 2>& griglia, formato forma, bool tutti,
                   std::ostream& out) {
  const asse_linea& x = griglia[0];
  const asse_linea& y = griglia[1];
  const std::size_t punti =
      std::min({x.tag.size(), x.valore.size(), y.tag.size(), y.valore.size()});
  auto vuoto = [&](std::size_t j) {
    return x.tag[j] == elemento_vuoto && y.tag[j] == elemento_vuoto;
  };
  if (forma == formato::json) {
    lista_json lista(out, "plan", "punti");
    // One record reused: only its values change from point to point.
    ordered_json punto = {{"metro", 0}, {"x", nullptr}, {"tag_x", 0}, {"y", nullptr}, {"tag_y", 0}};
    for (std::size_t j = 0; j < punti; ++j) {
      if (!tutti && vuoto(j)) continue;
      punto["metro"] = j;
      punto["x"] = elemento_json(x, j);
      punto["tag_x"] = x.tag[j];
      punto["y"] = elemento_json(y, j);
      punto["tag_y"] = y.tag[j];
      lista.aggiungi(punto);
    }
    lista.chiudi();
    return;
  }
  const bool csv = forma == formato::csv;
  out << (csv ? "metro,x,tag_x,y,tag_y\n"
              : "  metro                        x tag_x                        y tag_y\n");
  char buf[128];
  for (std::size_t j = 0; j < punti; ++j) {
    if (!tutti && vuoto(j)) continue;
    char* p = buf + std::snprintf(buf, 16, csv ? "%zu," : "%7zu ", j);
    p = reale_in(p, csv ? 0 : 24, x, j, csv ? "" : "-");
    p += std::snprintf(p, 16, csv ? ",%d," : " %5d ", x.tag[j]);
    p = reale_in(p, csv ? 0 : 24, y, j, csv ? "" : "-");
    p += std::snprintf(p, 16, csv ? ",%d\n" : " %5d\n", y.tag[j]);
    out.write(buf, p - buf);
  }
}
