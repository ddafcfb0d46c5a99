// The SVG document written by hand: numbers to a tenth, text escaped for
// XML, polylines and text elements.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/disegno/geometria.h"

namespace disegno {

// Appends `v` rounded to a tenth, without a trailing ".0".
void numero(std::string& s, double v);

// The document as it grows; numbers go in rounded to a tenth.
struct svg {
  std::string s;
  svg& operator<<(std::string_view t) {
    s += t;
    return *this;
  }
  svg& operator<<(const char* t) { return *this << std::string_view(t); }
  svg& operator<<(char c) {
    s += c;
    return *this;
  }
  svg& operator<<(double v) {
    numero(s, v);
    return *this;
  }
  svg& operator<<(int v) { return *this << static_cast<double>(v); }
};

// Text of the document: the packed single-byte names read as Windows-1252, the
// characters that XML reserves escaped, control bytes (not allowed in XML) shown as '?'.
std::string testo_xml(std::string_view t);

// Width of a line of text, estimated: sans-serif capitals run about 0.64 em.
double larghezza_testo(std::string_view testo_1252, double corpo);

// A text element at (x, y) of class `classe`, anchored as `ancora` says (start when empty).
void testo(svg& o, double x, double y, std::string_view testo_1252, std::string_view classe,
           std::string_view ancora = {});

// A polyline of class `classe` through `p` (nothing for fewer than two points).
void polilinea(svg& o, const std::vector<punto>& p, std::string_view classe, std::string_view id = {});

// Metres as kilometres, to a tenth of a kilometre at most ("12.5").
std::string km(double metri);

}  // namespace disegno
