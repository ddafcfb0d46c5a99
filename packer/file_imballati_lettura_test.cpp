#include "packer/file_imballati.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <string>

namespace {

// Little-endian bytes written member by member, independently of the packer's
// own encoders, so that a layout fault on either side shows.
struct byte_prova {
  std::string b;
  byte_prova& le(uint64_t v, int n) {
    for (int i = 0; i < n; ++i) b.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    return *this;
  }
  byte_prova& u8(int v) { return le(static_cast<uint8_t>(v), 1); }
  byte_prova& i16(int v) { return le(static_cast<uint16_t>(static_cast<int16_t>(v)), 2); }
  byte_prova& i32(int32_t v) { return le(static_cast<uint32_t>(v), 4); }
  byte_prova& f64(double v) { return le(std::bit_cast<uint64_t>(v), 8); }
  byte_prova& testo(const std::string& t) {
    i16(static_cast<int>(t.size()));
    b += t;
    return *this;
  }
};

// One station record: every number distinct, so a shifted member shows.
void stazione(byte_prova& p, int base, const std::string& nome) {
  p.u8(base).i32(-100000 - base).i32(200000 + base).i32(300000 + base).u8(base + 1).testo(nome);
  for (int k = 1; k <= 5; ++k) p.i16(-(base * 10 + k));
  for (int k = 1; k <= 4; ++k) p.u8(200 + k);
  p.i32(61980 + base);
}

std::string stazioni_vuote_dopo(byte_prova p, int gia) {
  for (int s = gia; s < numero_slot; ++s) stazione(p, 0, "");
  return p.b;
}

}  // namespace

TEST(Decodifica, PercorsoCampoPerCampo) {
  byte_prova p;
  p.u8(0).i16(0).i16(0).i16(0).i16(0).u8(0).u8(0).u8(0).u8(0).u8(0).u8(0);
  p.u8(1).i16(5121).i16(-2).i16(32767).i16(-32768).u8(101).u8(81).u8(3).u8(32).u8(255).u8(44);
  ASSERT_EQ(p.b.size(), 30u);
  scenario letto;
  const std::vector<cella_percorso>& celle = letto.percorso;
  std::string motivo;
  ASSERT_TRUE(decodifica_percorso(p.b, letto, motivo)) << motivo;
  ASSERT_EQ(celle.size(), 2u);
  const cella_percorso& c = celle[1];
  EXPECT_EQ(c.tipo, 1);
  EXPECT_EQ(c.dato1, 5121);  // bytes 01 14 right after tipo
  EXPECT_EQ(c.dato2, -2);
  EXPECT_EQ(c.dato3, 32767);
  EXPECT_EQ(c.dato4, -32768);
  EXPECT_EQ(c.tempo_segnale, 101);
  EXPECT_EQ(c.avviso_segnale, 81);
  EXPECT_EQ(c.montagna, 3);
  EXPECT_EQ(c.velocita, 32);
  EXPECT_EQ(c.pendenza, 255);
  EXPECT_EQ(c.aderenza, 44);
  EXPECT_EQ(static_cast<unsigned char>(p.b[16]), 0x01);
  EXPECT_EQ(static_cast<unsigned char>(p.b[17]), 0x14);
}

TEST(Decodifica, PercorsoDiLunghezzaSbagliataRifiutato) {
  for (std::size_t lunghezza : {0u, 1u, 14u, 16u, 109514u}) {
    scenario letto;
    letto.percorso.resize(3);
    std::string motivo;
    EXPECT_FALSE(decodifica_percorso(std::string(lunghezza, '\0'), letto, motivo)) << lunghezza;
    EXPECT_NE(motivo.find("15-byte"), std::string::npos) << motivo;
    EXPECT_EQ(letto.percorso.size(), 3u) << "left alone on a refusal";
  }
}

TEST(Decodifica, StazioniConNomiEVuote) {
  byte_prova p;
  stazione(p, 0, "");
  const std::size_t vuota = p.b.size();
  stazione(p, 7, "CORVANA C");
  const std::size_t con_nome = p.b.size() - vuota;
  EXPECT_EQ(vuota, 34u);
  EXPECT_EQ(con_nome, 43u);
  const std::string file = stazioni_vuote_dopo(p, 2);

  scenario letto;
  const std::array<record_stazione, numero_slot>& t = letto.tabella_stazioni;
  std::string motivo;
  ASSERT_TRUE(decodifica_stazioni(file, letto, motivo)) << motivo;
  const record_stazione& r = t[1];
  EXPECT_EQ(r.marca, 7);
  EXPECT_EQ(r.valore1, -100007);
  EXPECT_EQ(r.valore2, 200007);
  EXPECT_EQ(r.valore3, 300007);
  EXPECT_EQ(r.marca2, 8);
  EXPECT_EQ(r.nome, "CORVANA C");
  EXPECT_EQ(r.intero1, -71);
  EXPECT_EQ(r.intero5, -75);
  EXPECT_EQ(r.ottetto1, 201);
  EXPECT_EQ(r.ottetto4, 204);
  EXPECT_EQ(r.codice, 61987);
  EXPECT_EQ(t[86].nome, "");
  EXPECT_EQ(t[86].ottetto2, 202);
}

TEST(Decodifica, StazioniTroncateOLungheRifiutate) {
  byte_prova p;
  stazione(p, 3, "TELMISA");
  const std::string buono = stazioni_vuote_dopo(p, 1);
  // A name length that runs past the end of the file.
  byte_prova lungo;
  lungo.u8(0).i32(0).i32(0).i32(0).u8(0).i16(60000);
  struct caso { std::string byte; const char* parola; };
  const caso casi[] = {
      {"", "cut short"},
      {buono.substr(0, buono.size() - 1), "slot 86"},
      {buono.substr(0, 50), "slot 1"},
      {buono + "x", "1 bytes follow the 87th record"},
      {lungo.b, "name of 60000 bytes"},
  };
  for (const caso& c : casi) {
    scenario letto;
    std::array<record_stazione, numero_slot>& t = letto.tabella_stazioni;
    t[5].nome = "prima";
    std::string motivo;
    EXPECT_FALSE(decodifica_stazioni(c.byte, letto, motivo)) << c.byte.size();
    EXPECT_NE(motivo.find(c.parola), std::string::npos) << motivo;
    EXPECT_EQ(t[5].nome, "prima") << "the caller's table is touched only on success";
  }
}

TEST(Decodifica, LineaTuttiGliXPoiTuttiGliY) {
  byte_prova p;
  // x of metres 0, 1, 2, then y of metres 0, 1, 2.
  p.i16(2).i16(0).i16(2).i16(-1).i16(5).f64(0.001).i16(2).i16(0).i16(2).i16(1).i16(0);
  scenario letto;
  const std::array<asse_linea, 2>& g = letto.griglia_linea.letti;
  std::string motivo;
  ASSERT_TRUE(decodifica_linea(p.b, letto, motivo)) << motivo;
  for (const asse_linea& a : g) {
    ASSERT_EQ(a.tag.size(), 3u);
    ASSERT_EQ(a.valore.size(), 3u);
  }
  EXPECT_EQ(g[0].tag[1], elemento_intero);
  EXPECT_EQ(g[0].valore[1], -1.0);
  EXPECT_EQ(g[0].tag[2], elemento_reale);
  EXPECT_EQ(g[0].valore[2], 0.001);
  EXPECT_EQ(g[1].valore[1], 1.0);
  EXPECT_EQ(g[1].tag[2], elemento_vuoto);
}

TEST(Decodifica, LineaGuastaRifiutata) {
  struct caso { std::string byte; const char* parola; };
  const caso casi[] = {
      {"", "empty"},
      {byte_prova{}.i16(0).b, "even count"},
      {byte_prova{}.i16(0).i16(0).u8(0).b, "element 2 at byte 4: cut short"},
      {byte_prova{}.i16(5).f64(1).i16(5).b, "element 1 at byte 10: cut short: its value needs 8 bytes, 0 left"},
      {byte_prova{}.i16(2).u8(1).b, "value needs 2 bytes"},
      {byte_prova{}.i16(0).i16(3).b, "unknown tag 3"},
  };
  for (const caso& c : casi) {
    scenario letto;
  const std::array<asse_linea, 2>& g = letto.griglia_linea.letti;
    std::string motivo;
    EXPECT_FALSE(decodifica_linea(c.byte, letto, motivo));
    EXPECT_NE(motivo.find(c.parola), std::string::npos) << motivo;
  }
}

// What the packer writes reads back as the records it was written from.
TEST(Decodifica, AndataERitornoDalleCodifiche) {
  scenario f;
  f.percorso.resize(40);
  for (std::size_t i = 0; i < f.percorso.size(); ++i) {
    cella_percorso& c = f.percorso[i];
    const int v = static_cast<int>(i);
    c.tipo = static_cast<uint8_t>(i * 7);
    c.dato1 = static_cast<int16_t>(v * 1001 - 20000);
    c.dato2 = static_cast<int16_t>(-v);
    c.dato3 = static_cast<int16_t>(v * 800);
    c.dato4 = static_cast<int16_t>(32767 - v);
    c.tempo_segnale = static_cast<uint8_t>(255 - i);
    c.avviso_segnale = static_cast<uint8_t>(80 + i);
    c.montagna = static_cast<uint8_t>(i % 4);
    c.velocita = static_cast<uint8_t>(i * 3);
    c.pendenza = static_cast<uint8_t>(100 + i);
    c.aderenza = static_cast<uint8_t>(i * 11);
  }
  for (int s = 0; s < numero_slot; ++s) {
    record_stazione& r = f.tabella_stazioni[s];
    r.marca = static_cast<uint8_t>(s * 3);
    r.valore1 = -1000 * s - 7;
    r.valore2 = 2000000000 - s;
    r.valore3 = s * 50;
    r.marca2 = static_cast<uint8_t>(255 - s);
    r.nome = s % 3 == 0 ? std::string() : "STAZIONE " + std::to_string(s) + "\xE8";
    r.intero1 = static_cast<int16_t>(-s);
    r.intero2 = static_cast<int16_t>(s * 300);
    r.intero3 = static_cast<int16_t>(s + 1);
    r.intero4 = static_cast<int16_t>(-32768 + s);
    r.intero5 = static_cast<int16_t>(s * 2);
    r.ottetto1 = static_cast<uint8_t>(s);
    r.ottetto2 = static_cast<uint8_t>(s + 100);
    r.ottetto3 = static_cast<uint8_t>(s % 2);
    r.ottetto4 = static_cast<uint8_t>(200 - s);
    r.codice = s * 3600 - 1;
  }
  std::array<asse_linea, 2> punti;
  for (asse_linea& coordinata : punti) {
    coordinata.tag.resize(9);
    coordinata.valore.resize(9);
  }
  for (std::size_t j = 0; j < 9; ++j)
    for (int k = 0; k < 2; ++k) {
      asse_linea& a = punti[k];
      a.tag[j] = j < 2 ? elemento_intero : j < 7 ? elemento_reale : elemento_vuoto;
      if (a.tag[j] == elemento_intero) a.valore[j] = static_cast<int16_t>(k == 1 ? j : -3);
      if (a.tag[j] == elemento_reale) a.valore[j] = (k == 0 ? 0.001 : -1e300) * static_cast<double>(j);
    }

  f.griglia_linea.punti = 9;
  f.griglia_linea.letti = punti;
  scenario letto;
  const std::vector<cella_percorso>& celle = letto.percorso;
  const std::array<record_stazione, numero_slot>& tabella = letto.tabella_stazioni;
  const std::array<asse_linea, 2>& griglia = letto.griglia_linea.letti;
  std::string motivo;
  ASSERT_TRUE(decodifica_percorso(codifica_percorso(f), letto, motivo)) << motivo;
  ASSERT_TRUE(decodifica_stazioni(codifica_stazioni(f), letto, motivo)) << motivo;
  ASSERT_TRUE(decodifica_linea(codifica_linea(f), letto, motivo)) << motivo;

  ASSERT_EQ(celle.size(), f.percorso.size());
  for (std::size_t i = 0; i < celle.size(); ++i) {
    const cella_percorso &a = f.percorso[i], &b = celle[i];
    EXPECT_TRUE(a == b)
        << "cell " << i;
  }
  for (int s = 0; s < numero_slot; ++s) {
    const record_stazione &a = f.tabella_stazioni[s], &b = tabella[s];
    EXPECT_TRUE(a == b)
        << "slot " << s;
  }
  for (int k = 0; k < 2; ++k) {
    const asse_linea &a = punti[k], &b = griglia[k];
    ASSERT_EQ(b.tag.size(), 9u);
    ASSERT_EQ(b.valore.size(), 9u);
    for (std::size_t j = 0; j < 9; ++j) {
      EXPECT_EQ(a.tag[j], b.tag[j]) << k << "," << j;
      EXPECT_EQ(std::bit_cast<uint64_t>(a.valore[j]), std::bit_cast<uint64_t>(b.valore[j])) << k << "," << j;
    }
  }
}
