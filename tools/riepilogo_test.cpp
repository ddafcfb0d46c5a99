#include "tools/riepilogo.h"

#include <gtest/gtest.h>

#include <string>

#include "prove/scenario_piccolo.h"

TEST(Riepilogo, RigheLetteFermateEConti) {
  // The small scenario, with its row log filled by hand as the compiler
  // fills it: one row of each kind it has, two signals (one dropped of three
  // written shows as 2), no slow order.
  opzioni_compilazione o;
  o.nome_scenario = "P";
  o.numero_treno = "12";
  const std::string linea = linea_piccola(), treno = treno_piccolo();
  esito_compilazione e = compila({"P_linea.txt", linea}, {"P_12-.txt", treno}, o);
  registro& f = e.registro;
  ASSERT_TRUE(f.errori.empty());
  f.righe_lette = {
      {tipo_riga::lunghezza, false, 2, 1, 20000}, {tipo_riga::progressiva, false, 3, 1, 0},
      {tipo_riga::progressiva, false, 4, 1, 0},   {tipo_riga::pendenza, false, 14, 1, 2000},
      {tipo_riga::pendenza, false, 15, 1, 4000},  {tipo_riga::velocita, true, 9, 1, 0},
      {tipo_riga::stazione, true, 12, 1, 0},      {tipo_riga::stazione, true, 13, 1, 5000},
      {tipo_riga::segnale, true, 17, 1, 2000},    {tipo_riga::segnale, true, 18, 1, 9000},
  };
  f.errori.push_back({8, 12010, true, "P_12-.txt", 13, 14, {}, {}});
  verdetto v = verdetto_di(e);
  v.avvisi = 3;
  const riepilogo r = riassumi(e, v);

  EXPECT_EQ(testo_riepilogo(r),
            "rows read: 1 lunghezza percorso, 2 progressiva chilometrica, 2 pendenza, 1 velocita, "
            "2 segnale, 2 stazione\n"
            "route 20.0 km, 2 stops: CORVANA 17:13, BORGO 17:20; 1 error, 3 warnings\n");

  const nlohmann::ordered_json j = json_riepilogo(r);
  EXPECT_EQ(j["righe"].size(), 19u) << "every kind, those not read at 0";
  EXPECT_EQ(j["righe"]["segnale"], 2);
  EXPECT_EQ(j["righe"]["rallentamento"], 0);
  EXPECT_EQ(j["righe"].begin().key(), "lunghezza percorso");
  EXPECT_EQ(j["lunghezza_percorso"], 20000);
  EXPECT_EQ(j["fermate"], nlohmann::ordered_json::parse(
                              R"([{"nome": "CORVANA", "posizione": 0, "ora": "17:13:00"},
                                  {"nome": "BORGO", "posizione": 5000, "ora": "17:20:00"}])"));
  EXPECT_EQ(j["errori"], 1);
  EXPECT_EQ(j["avvisi"], 3);

  // Nothing logged, no stop, one of each: the words follow the numbers.
  const esito_compilazione vuoto;
  verdetto uno;
  uno.avvisi = 1;
  EXPECT_EQ(testo_riepilogo(riassumi(vuoto, uno)), "rows read: none\nroute 0 m, 0 stops; 0 errors, 1 warning\n");
  // A length under 1 km in metres, where "0.0 km" would hide it.
  riepilogo corto;
  for (const auto& [metri, testo] : {std::pair{48, "route 48 m,"}, {999, "route 999 m,"}, {1000, "route 1.0 km,"}}) {
    corto.lunghezza_m = metri;
    EXPECT_NE(testo_riepilogo(corto).find(testo), std::string::npos) << testo_riepilogo(corto);
  }
}

TEST(Riepilogo, UnNomeASingoloByteLeggibileEIntero) {
  // The sources' single-byte letter shows as its character; a control byte
  // never reaches the terminal; JSON keeps the name whole.
  riepilogo r;
  r.fermate = {{"CITT\xC0\x07", 0, 8 * 3600}};
  EXPECT_NE(testo_riepilogo(r).find("1 stop: CITT\u00c0\\x07 08:00;"), std::string::npos) << testo_riepilogo(r);
  EXPECT_EQ(json_riepilogo(r)["fermate"][0]["nome"], "CITT\u00c0\u0007");
}

TEST(Riepilogo, OreDelGiorno) {
  const std::pair<int32_t, const char*> casi[] = {
      {17 * 3600 + 13 * 60, "17:13"}, {17 * 3600 + 13 * 60 + 30, "17:13:30"}, {5, "00:00:05"},
      {25 * 3600, "25:00"}, {-(7 * 3600 + 52 * 60 + 30), "-07:52:30"},
  };
  for (const auto& [s, atteso] : casi) EXPECT_EQ(ora_del_giorno(s), atteso) << s;
  EXPECT_EQ(ora_del_giorno(17 * 3600, true), "17:00:00");
}
