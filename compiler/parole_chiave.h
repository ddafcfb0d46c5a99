// The keyword tests of the two sources, written once: the parsers apply them,
// and the warnings tell a field that passes none of them. A keyword is
// recognised by the words it contains, not by equality.
#pragma once

#include <span>
#include <string>
#include <string_view>

// `testo` in lower case, ASCII letters only, for the case-insensitive tests.
inline std::string minuscole(std::string_view testo) {
  std::string out(testo);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

inline bool contiene(std::string_view campo, std::string_view parola) {
  return campo.find(parola) != std::string_view::npos;
}

// The line's general section. The route length is tested in lower case (`m`),
// the others as written (`r`): "Progressiva" with a capital is no row.
inline bool parola_lunghezza(std::string_view m) { return contiene(m, "percorso") && contiene(m, "lunghezza"); }
inline bool parola_progressiva_tre(std::string_view r) { return contiene(r, "tre") && contiene(r, "progressiva"); }
inline bool parola_progressiva_due(std::string_view r) { return contiene(r, "due") && contiene(r, "progressiva"); }
inline bool parola_progressiva_uno(std::string_view r) { return contiene(r, "uno") && contiene(r, "progressiva"); }
inline bool parola_sfondo_uno(std::string_view r) { return contiene(r, "sfondo") && contiene(r, "uno"); }
inline bool parola_sfondo_due(std::string_view r) { return contiene(r, "sfondo") && contiene(r, "due"); }
inline bool parola_sfondo_tre(std::string_view r) { return contiene(r, "sfondo") && contiene(r, "tre"); }
inline bool parola_ripetizione(std::string_view r) { return contiene(r, "segnali") && contiene(r, "ripetizione"); }

// The line's body, in lower case. Curves are rows only when the plan is built.
inline bool parola_pendenza(std::string_view m) { return contiene(m, "pendenza"); }
inline bool parola_curva(std::string_view m) { return contiene(m, "curva"); }
inline bool parola_montagna(std::string_view m) { return contiene(m, "montagna"); }
inline bool parola_cartello_vmax(std::string_view m) { return contiene(m, "indicatori_v"); }
inline bool parola_indicatore_km(std::string_view m) { return contiene(m, "indicat") && contiene(m, "cartello"); }

// The train source, in lower case.
inline bool parola_massa_frenata(std::string_view m) { return contiene(m, "frenata") && contiene(m, "massa"); }
inline bool parola_vetture(std::string_view m) { return contiene(m, "vetture"); }
inline bool parola_velocita(std::string_view m) { return contiene(m, "velocit"); }
inline bool parola_aderenza(std::string_view m) { return contiene(m, "aderenza"); }
inline bool parola_orologio(std::string_view m) { return contiene(m, "orologio"); }
inline bool parola_sabbia(std::string_view m) { return contiene(m, "sabbia"); }
inline bool parola_segnale(std::string_view m) { return contiene(m, "segnale"); }
inline bool parola_rallentamento(std::string_view m) { return contiene(m, "rallentamento"); }
inline bool parola_abbattimento(std::string_view m) { return contiene(m, "abbattimento"); }
inline bool parola_stazione(std::string_view m) { return contiene(m, "stazione"); }

// Any row of a part of the sources: `r` as written, `m` in lower case.
inline bool riga_generale(std::string_view r, std::string_view m) {
  return parola_lunghezza(m) || parola_progressiva_tre(r) || parola_progressiva_due(r) ||
         parola_progressiva_uno(r) || parola_sfondo_uno(r) || parola_sfondo_due(r) || parola_sfondo_tre(r) ||
         parola_ripetizione(r);
}
inline bool riga_corpo_linea(std::string_view m, bool con_curve) {
  return parola_pendenza(m) || (con_curve && parola_curva(m)) || parola_montagna(m) || parola_cartello_vmax(m) ||
         parola_indicatore_km(m);
}
inline bool riga_treno(std::string_view m) {
  return parola_massa_frenata(m) || parola_vetture(m) || parola_velocita(m) || parola_aderenza(m) ||
         parola_orologio(m) || parola_sabbia(m) || parola_segnale(m) || parola_rallentamento(m) ||
         parola_abbattimento(m) || parola_stazione(m);
}

// A section heading: a field with both "[" and "]". It matches no row.
inline bool intestazione(std::string_view r) { return contiene(r, "[") && contiene(r, "]"); }

// The keywords as the writers write them, for suggesting the nearest one
// (from the row catalogue, compiler/catalogo_righe.h).
std::span<const std::string_view> parole_generali();
std::span<const std::string_view> parole_corpo_linea();
std::span<const std::string_view> parole_treno();
