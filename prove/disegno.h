// For the tests of the picture: a small scenario to draw, and a small, strict
// XML reader (it refuses what a browser's XML parser refuses) to read the
// picture back, with the points of its lines.
#pragma once

#include <cctype>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "prove/sorgenti.h"

// A 6 km line with a single curve that turns the track almost back on itself,
// a mountain span and a kilometre board; a train with two stations whose names
// need escaping (one holds a Latin-1 letter), a slow order, a signal and a
// speed-reduction point.
inline const std::string linea_una_curva = con_crlf(sezione_generale(6000, 5000)) +
    "[curve]\r\n"
    "curvad5,  1000,  1500\r\n"
    "[pendenze]\r\n"
    "pendenza,  2000,   10\r\n"
    "pendenza,  4000,   -5\r\n"
    "[montagne]\r\n"
    "montagna,   3000,  3500,  11\r\n"
    "[indicazioni]\r\n"
    "cartello_indicatore,  2950,   (Km 2+996)\r\n"
    "[fine]\r\n";

inline constexpr const char* treno_due_stazioni =
    "[generale]\r\n"
    "numero vetture,    5\r\n"
    "percentuale massa frenata,    130\r\n"
    "sabbia,    200\r\n"
    "orologio,    8  0  0\r\n"
    "aderenza,   0,    100\r\n"
    "velocita,    0,   120\r\n"
    "velocita,    3000,   90\r\n"
    "stazione,       0,  8,  500,  1, 0, 0,  4,1,0,  2,1,1,    1,  8,0, 0, SANT'ANNA & C.\r\n"
    "stazione,    4000,  12,  400,  1, 0, 0,  4,1,0,  2,1,1,    1,  8,5, 0, CITT\xC0 <ALTA>\r\n"
    "rallentamento,   2500,    60,  400, 0,  1,  60\r\n"
    "segnale,    1500,   2, 4, 1,  0, 0,    1,  3,1,0, 0\r\n"
    "abbattimento,   3500,   50\r\n"
    "[fine]\r\n";

struct elemento_xml {
  std::string nome;
  std::map<std::string, std::string> attributi;  // entities decoded
  std::string testo;                             // the character data directly inside, decoded
};

namespace prova_svg_dettagli {

inline bool inizio_nome(char c) {
  return std::isalpha(static_cast<unsigned char>(c)) || c == '_' || c == ':';
}
inline bool parte_nome(char c) {
  return inizio_nome(c) || std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '.';
}

// Well-formed UTF-8, no overlong forms, no surrogates.
inline bool utf8_valido(std::string_view t) {
  for (std::size_t i = 0; i < t.size();) {
    const auto b = static_cast<unsigned char>(t[i]);
    std::size_t n = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : 9;
    if (n == 9 || (n == 1 && b < 0xC2) || i + n >= t.size() + (n == 0 ? 1 : 0)) return false;
    unsigned cp = n == 0 ? b : b & (0x3F >> n);
    for (std::size_t k = 1; k <= n; ++k) {
      const auto c = static_cast<unsigned char>(t[i + k]);
      if ((c & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (c & 0x3F);
    }
    if ((n == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) || (n == 3 && (cp < 0x10000 || cp > 0x10FFFF)))
      return false;
    i += n + 1;
  }
  return true;
}

// Decodes the entities of character data or an attribute value; false on a
// bare '&', an unknown entity or a '<'.
inline bool decodifica(std::string_view t, std::string& u) {
  u.clear();
  for (std::size_t i = 0; i < t.size(); ++i) {
    if (t[i] == '<') return false;
    if (static_cast<unsigned char>(t[i]) < 0x20 && t[i] != '\n' && t[i] != '\t' && t[i] != '\r') return false;
    if (t[i] != '&') {
      u += t[i];
      continue;
    }
    const std::size_t fine = t.find(';', i);
    if (fine == std::string_view::npos) return false;
    const std::string_view e = t.substr(i + 1, fine - i - 1);
    if (e == "amp") u += '&';
    else if (e == "lt") u += '<';
    else if (e == "gt") u += '>';
    else if (e == "quot") u += '"';
    else if (e == "apos") u += '\'';
    else if (e.size() > 1 && e[0] == '#') u += '?';  // numeric references: accepted, not needed here
    else return false;
    i = fine;
  }
  return true;
}

}  // namespace prova_svg_dettagli

// Reads `doc` into its elements, in document order. False, with `errore`,
// when the document is not well-formed XML.
inline bool leggi_xml(std::string_view doc, std::vector<elemento_xml>& elementi, std::string& errore) {
  using namespace prova_svg_dettagli;
  elementi.clear();
  if (!utf8_valido(doc)) {
    errore = "not UTF-8";
    return false;
  }
  std::vector<std::pair<std::string, std::size_t>> aperti;  // name, index in `elementi`
  std::size_t i = 0, radici = 0;
  auto sbaglia = [&](const std::string& cosa) {
    errore = cosa + " at byte " + std::to_string(i);
    return false;
  };
  if (doc.substr(0, 5) == "<?xml") {
    i = doc.find("?>");
    if (i == std::string_view::npos) return sbaglia("unclosed declaration");
    i += 2;
  }
  while (i < doc.size()) {
    if (doc[i] != '<') {
      const std::size_t fine = std::min(doc.find('<', i), doc.size());
      std::string testo;
      if (!decodifica(doc.substr(i, fine - i), testo)) return sbaglia("bad character data");
      if (aperti.empty() && testo.find_first_not_of(" \t\r\n") != std::string::npos)
        return sbaglia("text outside the root");
      if (!aperti.empty()) elementi[aperti.back().second].testo += testo;
      i = fine;
      continue;
    }
    if (doc.substr(i, 4) == "<!--") {
      const std::size_t fine = doc.find("-->", i + 4);
      if (fine == std::string_view::npos) return sbaglia("unclosed comment");
      i = fine + 3;
      continue;
    }
    if (doc.substr(i, 2) == "</") {
      std::size_t j = i + 2;
      while (j < doc.size() && parte_nome(doc[j])) ++j;
      const std::string nome(doc.substr(i + 2, j - i - 2));
      while (j < doc.size() && std::isspace(static_cast<unsigned char>(doc[j]))) ++j;
      if (j >= doc.size() || doc[j] != '>') return sbaglia("bad end tag");
      if (aperti.empty() || aperti.back().first != nome) return sbaglia("end tag </" + nome + "> does not match");
      aperti.pop_back();
      i = j + 1;
      continue;
    }
    // A start tag.
    std::size_t j = i + 1;
    if (j >= doc.size() || !inizio_nome(doc[j])) return sbaglia("bad tag name");
    while (j < doc.size() && parte_nome(doc[j])) ++j;
    elemento_xml e;
    e.nome = std::string(doc.substr(i + 1, j - i - 1));
    bool vuoto = false;
    for (;;) {
      const std::size_t prima = j;
      while (j < doc.size() && std::isspace(static_cast<unsigned char>(doc[j]))) ++j;
      if (j >= doc.size()) return sbaglia("unclosed tag");
      if (doc[j] == '>') { ++j; break; }
      if (doc.substr(j, 2) == "/>") { j += 2; vuoto = true; break; }
      if (j == prima || !inizio_nome(doc[j])) return sbaglia("bad attribute in <" + e.nome + ">");
      const std::size_t k = j;
      while (j < doc.size() && parte_nome(doc[j])) ++j;
      const std::string attributo(doc.substr(k, j - k));
      if (j + 1 >= doc.size() || doc[j] != '=' || (doc[j + 1] != '"' && doc[j + 1] != '\''))
        return sbaglia("attribute " + attributo + " not quoted");
      const char virgolette = doc[j + 1];
      const std::size_t chiusa = doc.find(virgolette, j + 2);
      if (chiusa == std::string_view::npos) return sbaglia("unclosed attribute");
      std::string valore;
      if (!decodifica(doc.substr(j + 2, chiusa - j - 2), valore)) return sbaglia("bad attribute value");
      if (!e.attributi.emplace(attributo, valore).second) return sbaglia("attribute " + attributo + " twice");
      j = chiusa + 1;
    }
    if (aperti.empty() && ++radici > 1) return sbaglia("a second root element");
    elementi.push_back(std::move(e));
    if (!vuoto) aperti.emplace_back(elementi.back().nome, elementi.size() - 1);
    i = j;
  }
  if (!aperti.empty()) return sbaglia("<" + aperti.back().first + "> not closed");
  if (radici != 1) return sbaglia("no root element");
  return true;
}

struct punto_svg {
  double x = 0, y = 0;
};

// The points of a polyline's `points` attribute.
inline std::vector<punto_svg> punti_polilinea(const std::string& punti) {
  std::vector<punto_svg> p;
  std::string copia = punti;
  for (char& c : copia)
    if (c == ',') c = ' ';
  std::istringstream in(copia);
  punto_svg q;
  while (in >> q.x >> q.y) p.push_back(q);
  return p;
}

// The four numbers of the root's viewBox.
inline std::vector<double> numeri(const std::string& testo) {
  std::vector<double> v;
  std::istringstream in(testo);
  double x;
  while (in >> x) v.push_back(x);
  return v;
}
