#include "tools/lsp/struttura.h"

#include <limits>

#include "compiler/lettore_campi.h"
#include "compiler/lettura_sorgente.h"
#include "compiler/parole_chiave.h"

namespace {

// The row kind a keyword field names in section `s`, in the order the parser
// tests them: the first that matches.
bool tipo_di(std::string_view campo, sezione_riga s, tipo_riga& t) {
  const std::string m = minuscole(campo);
  switch (s) {
    case sezione_riga::generale_linea:
      if (parola_lunghezza(m)) t = tipo_riga::lunghezza;
      else if (parola_progressiva_tre(campo) || parola_progressiva_due(campo) || parola_progressiva_uno(campo))
        t = tipo_riga::progressiva;
      else if (parola_sfondo_uno(campo) || parola_sfondo_due(campo) || parola_sfondo_tre(campo)) t = tipo_riga::sfondo;
      else if (parola_ripetizione(campo)) t = tipo_riga::ripetizione;
      else return false;
      return true;
    case sezione_riga::corpo_linea:
      if (parola_pendenza(m)) t = tipo_riga::pendenza;
      else if (parola_curva(m)) t = tipo_riga::curva;
      else if (parola_montagna(m)) t = tipo_riga::montagna;
      else if (parola_cartello_vmax(m)) t = tipo_riga::cartello_vmax;
      else if (parola_indicatore_km(m)) t = tipo_riga::indicatore_km;
      else return false;
      return true;
    case sezione_riga::treno:
      if (parola_massa_frenata(m)) t = tipo_riga::massa_frenata;
      else if (parola_vetture(m)) t = tipo_riga::vetture;
      else if (parola_velocita(m)) t = tipo_riga::velocita;
      else if (parola_aderenza(m)) t = tipo_riga::aderenza;
      else if (parola_orologio(m)) t = tipo_riga::orologio;
      else if (parola_sabbia(m)) t = tipo_riga::sabbia;
      else if (parola_segnale(m)) t = tipo_riga::segnale;
      else if (parola_rallentamento(m)) t = tipo_riga::rallentamento;
      else if (parola_abbattimento(m)) t = tipo_riga::abbattimento;
      else if (parola_stazione(m)) t = tipo_riga::stazione;
      else return false;
      return true;
  }
  return false;
}

campo_sorgente campo_letto(const lettore_campi& l) {
  campo_sorgente c;
  c.riga = l.ultimo.riga;
  c.colonna = l.ultimo.colonna;
  c.testo.assign(l.testo_ultimo);
  c.fine = c.colonna + static_cast<int32_t>(l.testo_ultimo.size());
  return c;
}

bool prima(int32_t r1, int32_t c1, int32_t r2, int32_t c2) { return r1 < r2 || (r1 == r2 && c1 < c2); }

}  // namespace

bool riga_sorgente::con_posizione() const { return ha_posizione(tipo) && !valori.empty() && valori[0].numero; }

int64_t riga_sorgente::posizione() const { return con_posizione() ? valori[0].valore : 0; }

bool forma_intestazione(std::string_view campo) {
  if (campo.size() < 3 || campo.front() != '[' || campo.back() != ']') return false;
  for (const char c : campo.substr(1, campo.size() - 2))
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')) return false;
  return true;
}

struttura_sorgente leggi_struttura(std::string_view testo, bool treno) {
  struttura_sorgente s;
  s.treno = treno;
  lettore_campi l = apri_campi(testo);
  std::string campo;
  // Whatever stands before [generale] is not read.
  while (!fine_campi(l) && !s.con_generale) {
    leggi_testo(l, campo);
    if (contiene(minuscole(campo), "[generale]")) {
      s.con_generale = true;
      s.generale = campo_letto(l);
      if (forma_intestazione(campo)) s.intestazioni.push_back(s.generale);
    }
  }
  sezione_riga sezione = treno ? sezione_riga::treno : sezione_riga::generale_linea;
  while (s.con_generale && !fine_campi(l)) {
    leggi_testo(l, campo);
    const campo_sorgente c = campo_letto(l);
    // A field with a hyphen is passed over untested, a heading or a comment alike.
    if (contiene(campo, "-")) continue;
    if (intestazione(campo)) {
      if (forma_intestazione(campo)) s.intestazioni.push_back(c);
      if (sezione == sezione_riga::generale_linea) {
        s.fine_generale = c;
        sezione = sezione_riga::corpo_linea;
      }
      continue;
    }
    tipo_riga t{};
    if (!tipo_di(campo, sezione, t)) continue;
    riga_sorgente r;
    r.tipo = t;
    r.parola = c;
    for (const voce_valore& v : voce_di(t).valori) {
      if (fine_campi(l)) break;
      const lettore_campi prima_del_valore = l;
      campo_sorgente valore;
      if (v.lettura == lettura_valore::testo) {
        leggi_testo(l, campo);
        valore = campo_letto(l);
      } else {
        int64_t x = 0;
        const bool numero =
            leggi_numero(l, std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::max(), x);
        valore = campo_letto(l);
        valore.numero = numero;
        valore.valore = numero ? x : 0;
        // A value missing: the next row's keyword, or a heading, stands there.
        // The row ends before it, and it is read as what it is.
        tipo_riga altro{};
        const std::string_view letto = l.testo_ultimo;
        if (!valore.numero && (tipo_di(letto, sezione, altro) || intestazione(letto) || contiene(letto, "[generale]"))) {
          l = prima_del_valore;
          break;
        }
      }
      r.valori.push_back(std::move(valore));
    }
    s.righe.push_back(std::move(r));
  }
  return s;
}

bool sezione_a(const struttura_sorgente& s, int32_t riga, int32_t colonna, sezione_riga& sezione) {
  if (!s.con_generale || prima(riga, colonna, s.generale.riga, s.generale.fine)) return false;
  if (s.treno) sezione = sezione_riga::treno;
  else if (s.fine_generale.riga == 0 || !prima(s.fine_generale.riga, s.fine_generale.colonna, riga, colonna))
    sezione = sezione_riga::generale_linea;
  else sezione = sezione_riga::corpo_linea;
  return true;
}
