#include "tools/disegno/disegno.h"

#include <cmath>
#include <string>
#include <utility>

#include "tools/disegno/foglio.h"
#include "tools/disegno/legenda.h"
#include "tools/disegno/orario.h"
#include "tools/disegno/lettura.h"
#include "tools/disegno/piano.h"
#include "tools/disegno/profili.h"
#include "tools/disegno/svg.h"

using namespace disegno;

namespace {

// The look of every class of mark, for all of the picture.
constexpr const char* stile =
    "<style>\n"
    "text{font-family:DejaVu Sans,Arial,sans-serif;fill:#222}\n"
    ".titolo{font-size:20px;font-weight:bold}.sotto{font-size:12px;fill:#555}\n"
    ".pannello{font-size:12px;font-weight:bold}.asse{font-size:10px;fill:#444}\n"
    ".nome{font-size:11px}.cartello{font-size:9px;fill:#666}.voce{font-size:11px}\n"
    ".marca{font-size:12px;font-weight:bold}\n"
    // A white halo keeps names legible where they cross a line.
    ".nome,.cartello,.marca{paint-order:stroke;stroke:#fff;stroke-width:3px;stroke-linejoin:round}\n"
    ".vel{font-size:9px;fill:#a04000;font-weight:bold}\n"
    ".cornice{fill:none;stroke:#bbb}.griglia{fill:none;stroke:#e4e4e4}\n"
    ".traccia{fill:none;stroke:#1d4f91;stroke-width:2;stroke-linejoin:round}\n"
    ".oltre{fill:none;stroke:#999;stroke-width:1.5;stroke-dasharray:5 4}\n"
    ".montagna{fill:none;stroke:#8b5a2b;stroke-width:7;stroke-opacity:.85;stroke-linecap:round}\n"
    ".richiamo{fill:none;stroke:#888;stroke-width:.7}\n"
    ".fascia{fill:#c9a27e;fill-opacity:.3}\n"
    ".segnali{fill:none;stroke:#c0392b;stroke-width:1.3}\n"
    ".cartelli{fill:none;stroke:#666;stroke-width:1}\n"
    ".stazioni{fill:#fff;stroke:#000;stroke-width:1.3}\n"
    ".partenza{fill:#2e8b57}.arrivo{fill:#c0392b}\n"
    ".linee_stazioni{fill:none;stroke:#999;stroke-width:.6}\n"
    // A station past the route's end: what its name adds, and the arrow.
    "tspan.oltre_fine{fill:#777;font-style:italic}path.oltre_fine{fill:none;stroke:#777;stroke-width:1.2}\n"
    ".altezza{fill:none;stroke:#6b4f2a;stroke-width:1.5}\n"
    ".pendenza{fill:none;stroke:#8e44ad;stroke-width:1.2}\n"
    ".zero{fill:none;stroke:#888;stroke-width:.8}\n"
    ".velocita{fill:none;stroke:#1d4f91;stroke-width:1.8}\n"
    ".rallentamento{fill:#f5b041;fill-opacity:.55;stroke:#d68910;stroke-width:.8}\n"
    ".abbattimento{fill:#d35400}.abbattimento0{fill:none;stroke:#d35400;stroke-width:1.2}\n"
    ".approccio{fill:#999}\n"
    ".scala{fill:none;stroke:#222;stroke-width:2}\n"
    ".marcia_velocita{fill:none;stroke:#76d7c4;stroke-width:3.5;stroke-linejoin:round}\n"
    ".marcia_tempo{fill:none;stroke:#17a589;stroke-width:1.8;stroke-linejoin:round}\n"
    ".marcia_tempo.tardi{stroke:#c0392b;stroke-width:2.4}\n"
    ".orario{fill:none;stroke:#555;stroke-width:1;stroke-dasharray:4 3}\n"
    ".partenza_orario{fill:#333}.arrivo_orario{fill:#fff;stroke:#333;stroke-width:1.2}\n"
    ".senza_margine{fill:#c0392b;fill-opacity:.13}\n"
    ".ritardo{font-size:10px;fill:#c0392b;font-weight:bold;paint-order:stroke;stroke:#fff;stroke-width:3px}\n"
    "</style>\n";

}  // namespace

std::string disegna_scenario(const scenario& s, const opzioni_marcia& opzioni) {
  const lettura l = leggi(s);
  const marcia m = marcia_imballata(s, opzioni);
  svg corpo;
  double y = 0;
  std::string titolo = "Scenario " + l.nome + ", train " + l.numero;
  testo(corpo, 20, 32, titolo, "titolo");
  std::string sotto = "route " + km(static_cast<double>(l.lunghezza)) + " km, " +
                      std::to_string(l.stazioni.size()) + " stations, " +
                      std::to_string(l.segnali.size()) + " signals, " +
                      std::to_string(l.rallentamenti.size()) + " slow orders";
  testo(corpo, 20, 50, sotto, "sotto");
  y = 62;
  const spazio_piano piano = disegna_piano(corpo, s, l, y);
  y += piano.altezza + 16;
  // The legend goes in the plan's empty corner when it fits there, else at the foot.
  const double larghezza_angolo = larghezza_foglio - 30 - piano.libero_x;
  const bool nell_angolo =
      larghezza_angolo >= 250 &&
      disegna_legenda(corpo, 0, 0, 250, false) <= piano.libero_y1 - piano.libero_y0;
  if (nell_angolo) disegna_legenda(corpo, larghezza_foglio - 30 - 250, piano.libero_y0, 250);
  y += disegna_profili(corpo, s, l, m, y) + 10;
  if (!nell_angolo) y += disegna_legenda(corpo, 20, y, larghezza_foglio - 40) + 10;
  y = std::ceil(y);  // whole pixels: the page's size

  svg o;
  o << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << larghezza_foglio << "\" height=\"" << y
    << "\" viewBox=\"0 0 " << larghezza_foglio << ' ' << y << "\">\n"
    << "<title>" << testo_xml(titolo) << "</title>\n"
    << stile << "<rect width=\"100%\" height=\"100%\" fill=\"#fff\"/>\n";
  o.s += corpo.s;
  o << "</svg>\n";
  return std::move(o.s);
}
