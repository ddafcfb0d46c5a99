#include "tools/disegno/legenda.h"

#include <algorithm>
#include <iterator>

#include "packer/completa_approcci.h"

namespace disegno {

static_assert(velocita_approccio == 180, "the legend names the approach points' speed");

double disegna_legenda(svg& o, double x0, double alto, double larghezza, bool disegna) {
  struct voce {
    const char* campione;  // the mark, drawn in a 24 x 12 box at the origin
    const char* testo;
  };
  static constexpr voce voci[] = {
      {"<path class=\"traccia\" d=\"M0,6h24\"/>", "track"},
      {"<path class=\"oltre\" d=\"M0,6h24\"/>", "beyond the route's end"},
      {"<path class=\"oltre_fine\" d=\"M5,6h14m-4,-3.5l4,3.5l-4,3.5\"/>", "station past the route's end"},
      {"<path class=\"traccia\" d=\"M0,6h24\"/><path class=\"montagna\" d=\"M6,6h12\"/>", "mountain span"},
      {"<circle class=\"partenza\" cx=\"6\" cy=\"6\" r=\"5\"/><rect class=\"arrivo\" x=\"14\" y=\"1\" width=\"10\" height=\"10\"/>", "start, end"},
      {"<path class=\"stazioni\" d=\"M8.5,6a3.5,3.5 0 1,0 7,0a3.5,3.5 0 1,0 -7,0\"/>", "station"},
      {"<path class=\"traccia\" d=\"M0,6h24\"/><path class=\"segnali\" d=\"M12,1v10\"/>", "signal"},
      {"<path class=\"cartelli\" d=\"M12,2v8\"/>", "kilometre board"},
      {"<path class=\"altezza\" d=\"M0,10l8,-6l8,2l8,-5\"/>", "height"},
      {"<path class=\"pendenza\" d=\"M0,9h8v-6h8v4h8\"/>", "gradient"},
      {"<path class=\"velocita\" d=\"M0,3h10v6h14\"/>", "line speed limit"},
      {"<rect class=\"rallentamento\" x=\"2\" y=\"4\" width=\"20\" height=\"8\"/>", "slow order (its speed above)"},
      {"<path class=\"abbattimento\" d=\"M8.5,3h7l-3.5,6z\"/>", "speed-reduction point (the author's)"},
      {"<path class=\"abbattimento0\" d=\"M8.5,3h7l-3.5,6z\"/>", "reduction point without a speed"},
      {"<path class=\"approccio\" d=\"M9.5,4h5l-2.5,4z\"/>", "packer's approach point, 180 km/h"},
      {"<rect class=\"fascia\" x=\"2\" y=\"0\" width=\"20\" height=\"12\"/>", "mountain span (profile)"},
      {"<path class=\"marcia_velocita\" d=\"M0,11C6,1 10,3 16,3h8\"/><path class=\"velocita\" d=\"M0,3h24\"/>",
       "fastest run's speed (under the limit)"},
      {"<path class=\"marcia_tempo\" d=\"M2,2L22,10\"/>", "fastest run's time"},
      {"<path class=\"orario\" d=\"M3,2L21,10\"/><circle class=\"partenza_orario\" cx=\"3\" cy=\"2\" r=\"2.5\"/>"
       "<circle class=\"arrivo_orario\" cx=\"21\" cy=\"10\" r=\"3\"/>",
       "timetable: departure, arrival"},
      {"<rect class=\"senza_margine\" x=\"2\" y=\"0\" width=\"20\" height=\"12\"/>"
       "<path class=\"marcia_tempo tardi\" d=\"M2,2L22,10\"/>",
       "section that cannot be kept"},
  };
  const double colonna = 260;
  const int per_riga = std::max(1, static_cast<int>(larghezza / colonna));
  const int righe = (static_cast<int>(std::size(voci)) + per_riga - 1) / per_riga;
  const double altezza = 24 + righe * 20 + 10;
  if (!disegna) return altezza;
  testo(o, x0, alto + 14, "Legend", "pannello");
  int n = 0;
  for (const voce& v : voci) {
    const double x = x0 + (n % per_riga) * colonna, y = alto + 24 + (n / per_riga) * 20;
    o << "<g transform=\"translate(" << x << ',' << y << ")\">" << v.campione << "</g>\n";
    testo(o, x + 32, y + 10, v.testo, "voce");
    ++n;
  }
  return altezza;
}

}  // namespace disegno
