// The layout of the slow-order form and of the notes.
#include <algorithm>
#include <string_view>

#include "documents/celle_testo.h"
#include "documents/modelli_documenti.h"

namespace {

constexpr std::string_view riga_vuota =
    " |   |                            |            |          |         |            |";
constexpr std::string_view regola =
    " |___|____________________________|____________|__________|_________|____________|";

// The stations of the B rows of one form, each once, in order of the rows.
std::string stazioni_b(const std::vector<const riga_rallentamento*>& righe, std::size_t& quante) {
  std::vector<std::string> viste;
  for (const riga_rallentamento* r : righe)
    for (const std::string& s : r->stazioni_b)
      if (std::find(viste.begin(), viste.end(), s) == viste.end()) viste.push_back(s);
  quante = viste.size();
  std::string testo;
  for (const std::string& s : viste) testo += (testo.empty() ? "" : ", ") + s;
  return testo;
}

// The text of a line that holds no cell, written by the same rule as a cell.
std::string in_chiaro(std::string_view testo) { return a_sinistra(testo, testo.size()); }

}  // namespace

std::string riga_tabella_rallentamenti(const riga_rallentamento& r) {
  // The number stands in the middle of its cell while it has one or two digits.
  std::string numero = std::to_string(r.numero);
  numero = numero.size() <= 2 ? a_destra(numero, 2) + " " : a_destra(numero, 3);
  std::string prescrizione = "   -----    ";
  const bool b = !r.stazioni_b.empty();
  if (r.prescrizione_a && b)
    prescrizione = "    A B     ";
  else if (r.prescrizione_a)
    prescrizione = "     A      ";
  else if (b)
    prescrizione = "     B      ";
  return " |" + numero + "|" + " " + a_sinistra(r.stazioni, larghezza_stazioni) + "|" +
         numero_a_destra(r.chilometro, 7) + "     |" + numero_a_destra(r.velocita, 6) + "    |" +
         numero_a_destra(r.lunghezza, 6) + "   |" + prescrizione + "|";
}

std::vector<std::string> impagina_rallentamenti(const modello_rallentamenti& m) {
  std::vector<std::string> righe;
  const std::size_t moduli = m.righe.empty() ? 1 : (m.righe.size() + righe_per_modulo - 1) / righe_per_modulo;
  for (std::size_t k = 0; k < moduli; ++k) {
    if (k > 0) righe.insert(righe.end(), {"", std::string(72, '.')});
    std::vector<const riga_rallentamento*> ordini;
    for (std::size_t i = k * righe_per_modulo; i < m.righe.size() && i < (k + 1) * righe_per_modulo; ++i)
      ordini.push_back(&m.righe[i]);
    righe.insert(righe.end(), {
        "",
        "                               Modulo M. 3",
        "                           ORDINE DI RALLENTAMENTO",
        " ________________________________________________________________________________",
        "  Linea  " + in_chiaro(m.linea),
        "",
        "  Si ordina al macchinista del treno  " + in_chiaro(m.treno) + "  di effettuare i seguenti rallentamenti",
        "  _______________________________________________________________________________",
        " |   |                            |Inizio dopo |          |         |            |",
        " | N.|      FRA LE STAZIONI       | il cippo   | Velocita'|Lunghezza|Prescrizioni|",
        " |   |   (o nelle Stazioni di)    |chilometrico|          |   metri | specifiche |",
        std::string(regola),
    });
    for (const riga_rallentamento* r : ordini) righe.push_back(riga_tabella_rallentamenti(*r));
    for (std::size_t i = ordini.size(); i < righe_per_modulo; ++i) righe.emplace_back(riga_vuota);
    std::size_t quante = 0;
    const std::string b = stazioni_b(ordini, quante);
    righe.insert(righe.end(), {
        std::string(regola),
        "",
        "              Prescrizioni specifiche",
        " A - Da rispettare con tutto il treno (per i treni viaggiatori)",
        quante > 1 ? " B - Interessa anche le stazioni di " + in_chiaro(b)
                   : " B - Interessa anche la stazione di " + (quante == 1 ? in_chiaro(b) : std::string(9, '.')),
        " D - Rallentamneto N. ... e N. ...  sono contigui",
        " C - Da rispettare dalle ore ....  alle ore ..... di tutti",
        "     i giorni esclusi i seguenti:.........",
    });
  }
  return righe;
}

std::vector<std::string> impagina_note(const modello_note& m) {
  std::vector<std::string> righe = {
      "Simulazione del treno " + in_chiaro(m.treno) + " nel tratto " + in_chiaro(m.origine) + " - " +
      in_chiaro(m.destinazione) + ".",
  };
  if (m.ritardo_minuti != 0) {
    const int64_t minuti = m.ritardo_minuti < 0 ? -static_cast<int64_t>(m.ritardo_minuti) : m.ritardo_minuti;
    const std::string quanti = std::to_string(minuti) + (minuti == 1 ? " minuto" : " minuti");
    righe.push_back("Il treno parte da " + in_chiaro(m.origine) +
                    (m.ritardo_minuti > 0 ? " con un ritardo di " + quanti +
                                                (minuti == 1 ? ", facilmente recuperabile." : ", facilmente recuperabili.")
                                          : " con un anticipo di " + quanti + "."));
  }
  righe.emplace_back("Buon divertimento");
  if (!m.firma.empty() || !m.contatto.empty()) {
    righe.emplace_back("");
    if (!m.firma.empty()) righe.push_back(std::string(19, ' ') + in_chiaro(m.firma));
    if (!m.contatto.empty()) righe.push_back(std::string(18, ' ') + "(" + in_chiaro(m.contatto) + ") ");
  }
  return righe;
}

std::string testo_documento(const std::vector<std::string>& righe) {
  std::size_t byte = 0;
  for (const std::string& r : righe) byte += r.size() + 2;
  std::string testo;
  testo.reserve(byte);
  for (const std::string& r : righe) {
    testo += r;
    testo += "\r\n";
  }
  return testo;
}
