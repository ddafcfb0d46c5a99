#include "tools/lsp/documenti.h"

#include <algorithm>
#include <system_error>

#include "formato/file.h"
#include "formato/nomi_file.h"
#include "formato/testo_1252.h"
#include "tools/argomenti.h"
#include "tools/compila.h"

namespace {

int cifra_esadecimale(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// %XX made bytes; a % that begins no escape stays as it is.
std::string senza_escape(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '%' && i + 2 < s.size()) {
      const int a = cifra_esadecimale(s[i + 1]), b = cifra_esadecimale(s[i + 2]);
      if (a >= 0 && b >= 0) {
        out += static_cast<char>(a * 16 + b);
        i += 2;
        continue;
      }
    }
    out += s[i];
  }
  return out;
}

}  // namespace

std::filesystem::path percorso_da_uri(std::string_view uri) {
  constexpr std::string_view schema = "file://";
  if (uri.size() < schema.size() ||
      !std::equal(schema.begin(), schema.end(), uri.begin(),
                  [](char a, char b) { return a == (b >= 'A' && b <= 'Z' ? static_cast<char>(b - 'A' + 'a') : b); }))
    return {};
  std::string_view resto = uri.substr(schema.size());
  const std::size_t barra = resto.find('/');
  if (barra == std::string_view::npos) return {};
  const std::string_view host = resto.substr(0, barra);
  if (!host.empty() && host != "localhost") return {};
  resto = resto.substr(barra);
  resto = resto.substr(0, std::min(resto.find('?'), resto.find('#')));
  const std::string percorso = senza_escape(resto);
  // A path that holds a NUL byte names no file.
  if (percorso.find('\0') != std::string::npos) return {};
  return percorso;
}

std::string uri_da_percorso(const std::filesystem::path& percorso) {
  static constexpr char cifre[] = "0123456789ABCDEF";
  std::string uri = "file://";
  for (const char c : percorso.string()) {
    const auto b = static_cast<unsigned char>(c);
    if ((b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9') || b == '-' || b == '.' ||
        b == '_' || b == '~' || b == '/') {
      uri += c;
    } else {
      uri += '%';
      uri += cifre[b >> 4];
      uri += cifre[b & 0xF];
    }
  }
  return uri;
}

std::string nome_da_uri(std::string_view uri) {
  uri = uri.substr(0, std::min(uri.find('?'), uri.find('#')));
  const std::size_t barra = uri.rfind('/');
  const std::size_t due_punti = uri.find(':');
  std::string_view nome = uri;
  if (barra != std::string_view::npos) nome = uri.substr(barra + 1);
  else if (due_punti != std::string_view::npos) nome = uri.substr(due_punti + 1);
  return senza_escape(nome);
}

ruolo_sorgente ruolo_da_nome(std::string_view nome_file) {
  ruolo_sorgente r;
  const std::filesystem::path p{std::string(nome_file)};
  if (nome_da_file(p, r.scenario)) {
    r.valido = true;
    return r;
  }
  if (numero_da_file(p, r.numero)) {
    const std::size_t testa = nome_file.size() - coda_treno_sorgente.size() - r.numero.size() - 1;
    r.scenario.assign(nome_file.substr(0, testa));
    r.valido = true;
    r.treno = true;
  }
  return r;
}

void vista_sorgente::imposta(std::string utf8) {
  troppo_grande = utf8.size() > byte_massimi_sorgente;
  testo.imposta(std::move(utf8));
  const std::string_view t = testo.testo;
  testo.bom = !byte_singolo && t.substr(0, 3) == "\xEF\xBB\xBF";
  if (troppo_grande) {
    byte.clear();
    compilatore.clear();
    inizi_compilatore = {0};
    struttura = {};
    return;
  }
  byte = byte_singolo ? a_byte_singolo(t) : std::string(t);
  compilatore = byte_singolo ? byte : byte_del_compilatore(t);
  inizi_compilatore = inizi_righe(compilatore);
  struttura = leggi_struttura(compilatore, ruolo.treno);
}

std::string_view vista_sorgente::riga_compilatore(int32_t riga) const {
  if (riga < 1 || static_cast<std::size_t>(riga) > inizi_compilatore.size()) return {};
  const std::size_t inizio = inizi_compilatore[static_cast<std::size_t>(riga - 1)];
  std::size_t fine = inizio;
  while (fine < compilatore.size() && compilatore[fine] != '\r' && compilatore[fine] != '\n') ++fine;
  return std::string_view(compilatore).substr(inizio, fine - inizio);
}

void vista_sorgente::imposta_da_byte(std::string byte_file) {
  byte_singolo = !utf8_valido(byte_file);
  if (!byte_singolo) {
    imposta(std::move(byte_file));
    return;
  }
  imposta(utf8_da_1252(byte_file));
  if (!troppo_grande) byte = std::move(byte_file);
}

void applica_modifiche(documento& d, const std::vector<modifica_testo>& modifiche, codifica_posizioni c) {
  testo_righe t = std::move(d.vista.testo);
  for (const modifica_testo& m : modifiche) {
    if (!m.intervallo) {
      t.imposta(m.testo);
      continue;
    }
    std::size_t a = byte_di(t, m.intervallo->inizio, c), b = byte_di(t, m.intervallo->fine, c);
    if (b < a) std::swap(a, b);
    std::string nuovo = std::move(t.testo);
    nuovo.replace(a, b - a, m.testo);
    t.imposta(std::move(nuovo));
  }
  d.vista.imposta(std::move(t.testo));
}

const vista_sorgente* archivio_disco::leggi(const std::filesystem::path& p) {
  if (!attivo || p.empty()) return nullptr;
  std::error_code ec;
  const auto stato = std::filesystem::status(p, ec);
  const auto quando = std::filesystem::last_write_time(p, ec);
  const std::uintmax_t byte = ec || !std::filesystem::is_regular_file(stato) ? 0 : std::filesystem::file_size(p, ec);
  if (ec || !std::filesystem::is_regular_file(stato) || byte > byte_massimi_sorgente) {
    voci.erase(p);
    return nullptr;
  }
  const auto trovata = voci.find(p);
  if (trovata != voci.end() && trovata->second.quando == quando && trovata->second.byte == byte)
    return &trovata->second.vista;
  voce v;
  v.quando = quando;
  v.byte = byte;
  try {
    v.vista.uri = uri_da_percorso(p);
    v.vista.nome = p.filename().string();
    v.vista.ruolo = ruolo_da_nome(v.vista.nome);
    v.vista.imposta_da_byte(leggi_file(p, byte_massimi_sorgente));
  } catch (const errore_file&) {
    voci.erase(p);
    return nullptr;
  }
  return &(voci[p] = std::move(v)).vista;
}

std::vector<std::filesystem::path> archivio_disco::treni(const std::filesystem::path& cartella,
                                                          const std::string& scenario) {
  std::vector<std::filesystem::path> trovati;
  if (!attivo || cartella.empty()) return trovati;
  std::error_code ec;
  for (std::filesystem::directory_iterator i(cartella, ec), fine; !ec && i != fine; i.increment(ec)) {
    const ruolo_sorgente r = ruolo_da_nome(i->path().filename().string());
    if (r.valido && r.treno && r.scenario == scenario) trovati.push_back(i->path());
  }
  std::sort(trovati.begin(), trovati.end());
  return trovati;
}

bool archivio_disco::a_byte_singolo(const std::filesystem::path& p) {
  const vista_sorgente* v = leggi(p);
  return v != nullptr && v->byte_singolo;
}
