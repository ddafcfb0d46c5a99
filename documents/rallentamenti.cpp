#include "documents/rallentamenti.h"

#include <string_view>

#include "formato/scrivi_righe.h"

// One row per slow order of the run, in route order: the stations the section
// lies between, the kilometre post after which it begins, the speed, the
// length in metres and any particular prescription. Table lines are 82
// characters, bars in columns 1, 5, 34, 47, 58, 68 and 81; the third order's
// pair of stations is one character too wide for its cell and covers the bar
// in column 34, so that the rest of its row keeps its columns.
std::string dati_rallentamenti() {
  static constexpr std::string_view righe[] = {
      "",
      "                               Modulo M. 3",
      "                           ORDINE DI RALLENTAMENTO",
      " ________________________________________________________________________________",
      "  Linea  CORVANA - TELMISA",
      "",
      "  Si ordina al macchinista del treno  739  di effettuare i seguenti rallentamenti",
      "  _______________________________________________________________________________",
      " |   |                            |Inizio dopo |          |         |            |",
      " | N.|      FRA LE STAZIONI       | il cippo   | Velocita'|Lunghezza|Prescrizioni|",
      " |   |   (o nelle Stazioni di)    |chilometrico|          |   metri | specifiche |",
      " |___|____________________________|____________|__________|_________|____________|",
      " | 1 | DOVESSA - ERBASCURA        |    134     |    80    |   800   |   -----    |",
      " | 2 | MONTEFRUSCO - TRESCALDO    |    180     |    40    |   200   |   -----    |",
      " | 3 |ROCCAFIALDA-PONTE SAN VERDINO    271     |    50    |  1800   |     B      |",
      " | 4 | FRASSIGNOLA - COLLE MURAVIO|    324     |    60    |   200   |     A      |",
      " |   |                            |            |          |         |            |",
      " |   |                            |            |          |         |            |",
      " |   |                            |            |          |         |            |",
      " |   |                            |            |          |         |            |",
      " |   |                            |            |          |         |            |",
      " |   |                            |            |          |         |            |",
      " |   |                            |            |          |         |            |",
      " |   |                            |            |          |         |            |",
      " |   |                            |            |          |         |            |",
      " |   |                            |            |          |         |            |",
      " |   |                            |            |          |         |            |",
      " |   |                            |            |          |         |            |",
      " |   |                            |            |          |         |            |",
      " |   |                            |            |          |         |            |",
      " |   |                            |            |          |         |            |",
      " |   |                            |            |          |         |            |",
      " |   |                            |            |          |         |            |",
      " |   |                            |            |          |         |            |",
      " |   |                            |            |          |         |            |",
      " |   |                            |            |          |         |            |",
      " |   |                            |            |          |         |            |",
      " |   |                            |            |          |         |            |",
      " |___|____________________________|____________|__________|_________|____________|",
      "",
      "              Prescrizioni specifiche",
      " A - Da rispettare con tutto il treno (per i treni viaggiatori)",
      " B - Interessa anche la stazione di ROCCAFIALDA",
      " D - Rallentamneto N. ... e N. ...  sono contigui",
      " C - Da rispettare dalle ore ....  alle ore ..... di tutti",
      "     i giorni esclusi i seguenti:.........",
      sentinella,
  };
  return scrivi_righe(righe);
}
