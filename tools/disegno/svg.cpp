#include "tools/disegno/svg.h"

#include <algorithm>
#include <cmath>

#include "formato/numeri.h"
#include "formato/testo_1252.h"

namespace disegno {

void numero(std::string& s, double v) {
  // Everything drawn lies on the sheet; a value past any sheet is cut, never
  // turned into an integer that cannot hold it.
  if (!std::isfinite(v)) v = 0;
  v = std::clamp(v, -1e12, 1e12);
  const double decimi = arrotonda(v * 10);
  if (decimi < 0) s += '-';
  const auto a = static_cast<unsigned long long>(std::fabs(decimi));
  s += std::to_string(a / 10);
  if (a % 10 != 0) {
    s += '.';
    s += static_cast<char>('0' + a % 10);
  }
}

std::string testo_xml(std::string_view t) {
  std::string u;
  for (const char c : utf8_da_1252(t)) {
    switch (c) {
      case '&': u += "&amp;"; break;
      case '<': u += "&lt;"; break;
      case '>': u += "&gt;"; break;
      case '"': u += "&quot;"; break;
      case '\'': u += "&apos;"; break;
      default:
        u += static_cast<unsigned char>(c) < 0x20 ? '?' : c;
    }
  }
  return u;
}

double larghezza_testo(std::string_view testo_1252, double corpo) {
  return static_cast<double>(testo_1252.size()) * corpo * 0.64;
}

void testo(svg& o, double x, double y, std::string_view testo_1252, std::string_view classe,
           std::string_view ancora) {
  o << "<text x=\"" << x << "\" y=\"" << y << "\" class=\"" << classe << '"';
  if (!ancora.empty()) o << " text-anchor=\"" << ancora << '"';
  o << '>' << testo_xml(testo_1252) << "</text>\n";
}

void polilinea(svg& o, const std::vector<punto>& p, std::string_view classe, std::string_view id) {
  if (p.size() < 2) return;
  o << "<polyline";
  if (!id.empty()) o << " id=\"" << id << '"';
  o << " class=\"" << classe << "\" points=\"";
  for (std::size_t i = 0; i < p.size(); ++i) {
    if (i) o << ' ';
    o << p[i].x << ',' << p[i].y;
  }
  o << "\"/>\n";
}

std::string km(double metri) {
  std::string s;
  numero(s, metri / 1000);
  return s;
}

}  // namespace disegno
