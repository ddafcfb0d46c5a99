#include "sources/scrivi_righe.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

#include "prove/cartella.h"

namespace {

std::string leggi(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace

TEST(ScriviRighe, FermaAllaSentinellaConCrLfDopoOgniRiga) {
  cartella_prova dir;
  const std::string_view righe[] = {"[generale]", "", "  due spazi ", sentinella, "mai scritta"};
  scrivi_righe(dir.percorso / "a.txt", righe);
  EXPECT_EQ(leggi(dir.percorso / "a.txt"), "[generale]\r\n\r\n  due spazi \r\n");
}

TEST(ScriviRighe, SostituisceTuttoUnFileVecchioPiuLungo) {
  cartella_prova dir;
  const auto file = dir.percorso / "a.txt";
  { std::ofstream(file) << std::string(5000, 'x'); }
  const std::string_view righe[] = {"nuova", sentinella};
  scrivi_righe(file, righe);
  EXPECT_EQ(leggi(file), "nuova\r\n");
  // Nothing of the temporary file stays beside it.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.percorso), {}), 1);
}

TEST(ScriviRighe, TabellaSenzaSentinellaScriveAlPiuMilleUnaRighe) {
  cartella_prova dir;
  std::vector<std::string_view> righe(1200, "r");
  scrivi_righe(dir.percorso / "a.txt", righe);
  EXPECT_EQ(leggi(dir.percorso / "a.txt").size(), 1001u * 3);
}

TEST(ScriviRighe, FileImpossibileDaErroreConNomeEMotivo) {
  cartella_prova dir;
  const std::string_view righe[] = {"x", sentinella};
  struct caso { std::filesystem::path file; const char* motivo; };
  std::filesystem::create_directory(dir.percorso / "cartella.txt");
  const caso casi[] = {
      {dir.percorso / "manca" / "a.txt", "No such file or directory"},
      {dir.percorso / "cartella.txt", "Is a directory"},
  };
  for (const caso& c : casi) {
    try {
      scrivi_righe(c.file, righe);
      ADD_FAILURE() << "no error for " << c.file;
    } catch (const errore_file& e) {
      EXPECT_NE(std::string(e.what()).find(c.file.string()), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find(c.motivo), std::string::npos) << e.what();
    }
  }
  // Nothing is left behind beside the file that could not be written.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.percorso), {}), 1);
}

TEST(ScriviRighe, ScritturaFallitaLasciaIntattoIlFileVecchio) {
  cartella_prova dir;
  const auto file = dir.percorso / "a.txt";
  { std::ofstream(file) << "vecchio buono"; }
  // A child process may write no more than 100 bytes: the new, longer file cannot be written.
  const pid_t figlio = ::fork();
  ASSERT_GE(figlio, 0);
  if (figlio == 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limite{100, 100};
    ::setrlimit(RLIMIT_FSIZE, &limite);
    const std::string lunga(1000, 'y');
    const std::string_view righe[] = {lunga, sentinella};
    try {
      scrivi_righe(file, righe);
    } catch (const errore_file& e) {
      const bool nomina = std::string(e.what()).find("a.txt") != std::string::npos;
      ::_exit(nomina ? 3 : 4);
    }
    ::_exit(0);
  }
  int stato = 0;
  ASSERT_EQ(::waitpid(figlio, &stato, 0), figlio);
  ASSERT_TRUE(WIFEXITED(stato));
  EXPECT_EQ(WEXITSTATUS(stato), 3) << "the failing write must be reported, naming the file";
  EXPECT_EQ(leggi(file), "vecchio buono");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.percorso), {}), 1);
}

// A file written in pieces replaces the old one only once it is concluded;
// abandoned on the way (an exception), it leaves the old file and no trace.
TEST(ScriviRighe, FileNuovoAPezziSostituisceSoloAllaFine) {
  cartella_prova dir;
  const auto file = dir.percorso / "a.dat";
  { std::ofstream(file) << "vecchio"; }
  {
    file_nuovo nuovo(file);
    nuovo.scrivi("pri");
    nuovo.scrivi("mo");
  }
  EXPECT_EQ(leggi(file), "vecchio");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.percorso), {}), 1);

  file_nuovo nuovo(file);
  nuovo.scrivi("pri");
  EXPECT_EQ(leggi(file), "vecchio") << "nothing shows before the end";
  nuovo.scrivi("mo");
  nuovo.concludi();
  EXPECT_EQ(leggi(file), "primo");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.percorso), {}), 1);
}
