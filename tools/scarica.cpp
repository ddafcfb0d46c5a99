#include "tools/scarica.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <limits>
#include <type_traits>

#include <nlohmann/json.hpp>

#include "formato/testo_1252.h"

using nlohmann::ordered_json;

namespace {

// The width of a field's text column: its name, or its widest value.
template <class R, class T>
constexpr int larghezza(const campo<R, T>& c) {
  constexpr int cifre = std::numeric_limits<T>::digits10 + 1 + (std::is_signed_v<T> ? 1 : 0);
  return std::max(static_cast<int>(c.nome.size()), cifre);
}

// The names of a record's fixed fields as a header: ",NAME" each in CSV,
// " NAME" right-aligned to its column in text. A text field has no column.
template <class Campi>
void intestazioni(std::string& riga, const Campi& campi, bool csv) {
  per_ogni_campo(campi, [&](const auto& c) {
    if constexpr (!campo_testo<std::remove_cvref_t<decltype(c)>>) {
      riga += csv ? ',' : ' ';
      if (!csv) riga.append(static_cast<std::size_t>(larghezza(c)) - c.nome.size(), ' ');
      riga += c.nome;
    }
  });
}

// The values of a record's fixed fields, as `intestazioni` lays their names.
template <class R, class Campi>
void colonne(std::string& riga, const R& r, const Campi& campi, bool csv) {
  per_ogni_campo(campi, [&](const auto& c) {
    if constexpr (!campo_testo<std::remove_cvref_t<decltype(c)>>) {
      char b[24];
      const int v = static_cast<int>(r.*c.membro);
      const int n = csv ? std::snprintf(b, sizeof b, ",%d", v) : std::snprintf(b, sizeof b, " %*d", larghezza(c), v);
      riga.append(b, static_cast<std::size_t>(n));
    }
  });
}

// Every field of a record, in order and by name, after what `voce` already holds.
template <class R, class Campi>
ordered_json voce_json(const R& r, const Campi& campi, ordered_json voce) {
  per_ogni_campo(campi, [&](const auto& c) {
    if constexpr (campo_testo<std::remove_cvref_t<decltype(c)>>)
      voce[std::string(c.nome)] = utf8_da_1252(r.*c.membro);
    else
      voce[std::string(c.nome)] = r.*c.membro;
  });
  return voce;
}

bool cella_vuota(const cella_percorso& c) { return c == cella_percorso{}; }

// The running values (speed, gradient, adhesion) fill every cell; a point
// feature or the marks laid before one stand out.
bool cella_con_elemento(const cella_percorso& c) { return c.tipo != tipo_vuoto || c.avviso_segnale != 0; }

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

void scarica_percorso(const std::vector<cella_percorso>& celle, formato forma, bool tutti,
                      std::ostream& out, bool solo_elementi) {
  const auto salta = [&](const cella_percorso& c) {
    return solo_elementi ? !cella_con_elemento(c) : !tutti && cella_vuota(c);
  };
  if (forma == formato::json) {
    lista_json lista(out, "grid", "celle");
    for (std::size_t i = 0; i < celle.size(); ++i) {
      if (salta(celle[i])) continue;
      lista.aggiungi(voce_json(celle[i], campi_cella, {{"cella", i}, {"metri", i * 50}}));
    }
    lista.chiudi();
    return;
  }
  const bool csv = forma == formato::csv;
  std::string riga = csv ? "cella,metri" : " cella   metri";
  intestazioni(riga, campi_cella, csv);
  out << riga << (csv ? "\n" : "  feature\n");
  char buf[32];
  for (std::size_t i = 0; i < celle.size(); ++i) {
    const cella_percorso& c = celle[i];
    if (salta(c)) continue;
    riga.assign(buf, static_cast<std::size_t>(std::snprintf(buf, sizeof buf, csv ? "%zu,%zu" : "%6zu %7zu", i, i * 50)));
    colonne(riga, c, campi_cella, csv);
    if (!csv && c.tipo != tipo_vuoto) riga.append("  ").append(descrizione_tipo(c.tipo));
    riga += '\n';
    out << riga;
  }
}

void scarica_stazioni(const std::array<record_stazione, numero_slot>& tabella, formato forma,
                      bool tutti, std::ostream& out) {
  if (forma == formato::json) {
    lista_json lista(out, "stations", "slot");
    for (int i = 0; i < numero_slot; ++i) {
      if (!tutti && slot_vuoto(tabella[i])) continue;
      lista.aggiungi(voce_json(tabella[i], campi_stazione, {{"slot", i}}));
    }
    lista.chiudi();
    return;
  }
  // The name, of any length, comes last.
  const bool csv = forma == formato::csv;
  std::string riga = "slot";
  intestazioni(riga, campi_stazione, csv);
  out << riga << (csv ? ",nome\n" : "  nome\n");
  char buf[16];
  for (int i = 0; i < numero_slot; ++i) {
    const record_stazione& r = tabella[i];
    if (!tutti && slot_vuoto(r)) continue;
    riga.assign(buf, static_cast<std::size_t>(std::snprintf(buf, sizeof buf, csv ? "%d" : "%4d", i)));
    colonne(riga, r, campi_stazione, csv);
    // The name as every report prints one: UTF-8, a control byte as \xNN.
    if (csv) riga.append(",").append(campo_csv(stampabile_da_1252(r.nome)));
    else if (!r.nome.empty()) riga.append("  ").append(stampabile_da_1252(r.nome));
    riga += '\n';
    out << riga;
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
