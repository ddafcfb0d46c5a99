// Reading a written source for the tests: lines, fields and numbers.
#pragma once

#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The lines of a text whose every line ends with CR LF. `difetto` names the
// first byte that breaks the form (a bare CR or LF, a byte outside printable
// ASCII, text after the last CR LF); empty when the whole text keeps it.
struct file_righe {
  std::vector<std::string> righe;
  std::string difetto;
};

inline file_righe leggi_righe(std::string_view testo) {
  file_righe r;
  std::string corrente;
  for (std::size_t i = 0; i < testo.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(testo[i]);
    if (c == '\r' && i + 1 < testo.size() && testo[i + 1] == '\n') {
      r.righe.push_back(std::move(corrente));
      corrente.clear();
      ++i;
    } else if (c < 0x20 || c > 0x7e) {
      if (r.difetto.empty())
        r.difetto = "byte " + std::to_string(c) + " at offset " + std::to_string(i) + ", line " +
                    std::to_string(r.righe.size() + 1);
      corrente.push_back(static_cast<char>(c));
    } else {
      corrente.push_back(static_cast<char>(c));
    }
  }
  if (!corrente.empty() && r.difetto.empty()) r.difetto = "text after the last CR LF: " + corrente;
  return r;
}

// The comma-separated fields of a row, spaces kept.
inline std::vector<std::string_view> campi(std::string_view riga) {
  std::vector<std::string_view> v;
  std::size_t inizio = 0;
  for (;;) {
    const std::size_t virgola = riga.find(',', inizio);
    if (virgola == std::string_view::npos) {
      v.push_back(riga.substr(inizio));
      return v;
    }
    v.push_back(riga.substr(inizio, virgola - inizio));
    inizio = virgola + 1;
  }
}

// A field that is spaces then a whole number (minus sign written against the
// digits) and nothing else.
inline std::optional<int32_t> numero(std::string_view campo) {
  const std::size_t primo = campo.find_first_not_of(' ');
  if (primo == std::string_view::npos) return std::nullopt;
  campo.remove_prefix(primo);
  int32_t v = 0;
  const auto [fine, ec] = std::from_chars(campo.data(), campo.data() + campo.size(), v);
  if (ec != std::errc() || fine != campo.data() + campo.size()) return std::nullopt;
  return v;
}

// Spaces before the first other character of a field.
inline std::size_t spazi_iniziali(std::string_view campo) {
  const std::size_t primo = campo.find_first_not_of(' ');
  return primo == std::string_view::npos ? campo.size() : primo;
}


// A source as its writer writes it, line by line.
struct sorgente_scritta {
  file_righe file;
  explicit sorgente_scritta(std::string_view testo) : file(leggi_righe(testo)) {}
  // Line n (from 1), or an empty text past the end.
  const std::string& riga(std::size_t n) const {
    static const std::string vuota;
    return n >= 1 && n <= file.righe.size() ? file.righe[n - 1] : vuota;
  }
};

// One row of a section, with its line number and its fields.
struct riga_sezione {
  std::size_t n;
  std::string_view testo;
  std::vector<std::string_view> campi;
};

// Lines `da` to `a` (from 1) of a written source.
inline std::vector<riga_sezione> sezione(const sorgente_scritta& s, std::size_t da, std::size_t a) {
  std::vector<riga_sezione> v;
  for (std::size_t n = da; n <= a; ++n) v.push_back({n, s.riga(n), campi(s.riga(n))});
  return v;
}

// Names a row in a test's message.
inline std::string nome(const riga_sezione& r) {
  return "line " + std::to_string(r.n) + ": \"" + std::string(r.testo) + "\"";
}
