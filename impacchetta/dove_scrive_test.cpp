// The directories the packer never writes in.
#include <gtest/gtest.h>

#include "impacchetta/dove_scrive.h"

TEST(DoveScrive, MaiNelleCartelleDiSistemaNeDoveEInstallato) {
  struct caso { const char* cartella; const char* perche; };
  const caso casi[] = {
      {"/usr/bin", "a system directory"},
      {"/usr/libexec/impacchetta", "where it is installed"},
      {"/usr/local/libexec/impacchetta", "where it is installed"},
      {"/usr/local/games/simulatore", "a system directory"},
      {"/usr/share/impacchetta/", "a system directory"},
      {"/usr", "a system directory"},
      {"/usr/local", "a system directory"},
      {"/bin", "a system directory"},
      {"/etc/", "a system directory"},
      {"/", "a system directory"},
      {"/home/anna/../../usr/bin", "a system directory"},
      {"/home/anna/.local/libexec/impacchetta", "where it is installed"},
      {"/opt/impacchetta/libexec/impacchetta/", "where it is installed"},
      // The simulator's folder, a user's copy, the build tree: written beside the program.
      {"/home/anna/simulatore", ""},
      {"/home/anna/impacchetta", ""},
      {"/home/anna/libexec", ""},
      {"/tmp/prova/out", ""},
      {"/usr/src/impacchetta/out", ""},
      {"/usr/local/src/impacchetta/out", ""},
      {"/usr/localx/bin", ""},
      {"/opt/simulatore", ""},
      {"/usrx/simulatore", ""},
      {"/srv/lib/simulatore", ""},
  };
  for (const caso& c : casi) EXPECT_EQ(cartella_vietata(c.cartella), c.perche) << c.cartella;
}
