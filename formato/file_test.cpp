#include "formato/file.h"

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

std::ptrdiff_t quanti_file(const std::filesystem::path& dir) {
  return std::distance(std::filesystem::directory_iterator(dir), {});
}

}  // namespace

TEST(File, SostituisceTuttoUnFileVecchioPiuLungo) {
  cartella_prova dir;
  const auto file = dir.percorso / "a.txt";
  { std::ofstream(file) << std::string(5000, 'x'); }
  sostituisci_file(file, "nuova\r\n");
  EXPECT_EQ(leggi(file), "nuova\r\n");
  // Nothing of the temporary file stays beside it.
  EXPECT_EQ(quanti_file(dir.percorso), 1);
}

TEST(File, FileImpossibileDaErroreConNomeEMotivo) {
  cartella_prova dir;
  struct caso { std::filesystem::path file; const char* motivo; };
  std::filesystem::create_directory(dir.percorso / "cartella.txt");
  const caso casi[] = {
      {dir.percorso / "manca" / "a.txt", "No such file or directory"},
      {dir.percorso / "cartella.txt", "Is a directory"},
  };
  for (const caso& c : casi) {
    try {
      sostituisci_file(c.file, "x\r\n");
      ADD_FAILURE() << "no error for " << c.file;
    } catch (const errore_file& e) {
      EXPECT_NE(std::string(e.what()).find(c.file.string()), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find(c.motivo), std::string::npos) << e.what();
    }
  }
  // Nothing is left behind beside the file that could not be written.
  EXPECT_EQ(quanti_file(dir.percorso), 1);
}

TEST(File, ScritturaFallitaLasciaIntattoIlFileVecchio) {
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
    try {
      sostituisci_file(file, std::string(1000, 'y'));
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
  EXPECT_EQ(quanti_file(dir.percorso), 1);
}

// A file written in pieces replaces the old one only once it is concluded;
// abandoned on the way (an exception), it leaves the old file and no trace.
TEST(File, FileNuovoAPezziSostituisceSoloAllaFine) {
  cartella_prova dir;
  const auto file = dir.percorso / "a.dat";
  { std::ofstream(file) << "vecchio"; }
  {
    file_nuovo nuovo(file);
    nuovo.scrivi("pri");
    nuovo.scrivi("mo");
  }
  EXPECT_EQ(leggi(file), "vecchio");
  EXPECT_EQ(quanti_file(dir.percorso), 1);

  file_nuovo nuovo(file);
  nuovo.scrivi("pri");
  EXPECT_EQ(leggi(file), "vecchio") << "nothing shows before the end";
  nuovo.scrivi("mo");
  nuovo.concludi();
  EXPECT_EQ(leggi(file), "primo");
  EXPECT_EQ(quanti_file(dir.percorso), 1);
}

TEST(File, UnProduttoreScriveOgniPezzoAlSuoPostoOLasciaIlVecchio) {
  cartella_prova dir;
  const auto file = dir.percorso / "a.dat";
  { std::ofstream(file) << "vecchio"; }
  // Pieces in any order, each at its offset.
  sostituisci_file(file, [](const scrivi_pezzo& scrivi) {
    scrivi(3, "mo");
    scrivi(0, "pri");
  });
  EXPECT_EQ(leggi(file), "primo");
  EXPECT_EQ(in_memoria([](const scrivi_pezzo& scrivi) {
              scrivi(3, "mo");
              scrivi(0, "pri");
            }),
            "primo");

  // A producer that fails half way leaves the old file and no trace.
  EXPECT_THROW(sostituisci_file(file,
                                [](const scrivi_pezzo& scrivi) {
                                  scrivi(0, "nuovo");
                                  throw errore_file("produttore", "guasto");
                                }),
               errore_file);
  EXPECT_EQ(leggi(file), "primo");
  EXPECT_EQ(quanti_file(dir.percorso), 1);
}

TEST(File, LetturaConUnTetto) {
  cartella_prova dir;
  const auto file = dir.percorso / "a.txt";
  { std::ofstream(file) << std::string(3 << 20, 'x'); }
  std::filesystem::create_directory(dir.percorso / "cartella");
  EXPECT_EQ(leggi_file(file).size(), 3u << 20);
  EXPECT_EQ(leggi_file(file, 3u << 20).size(), 3u << 20) << "the cap itself is allowed";
  struct caso { std::filesystem::path file; std::uintmax_t massimi; const char* motivo; };
  const caso casi[] = {
      {file, (3u << 20) - 1, "too large (3145728 bytes; at most 2 MiB)"},
      {dir.percorso / "cartella", 1u << 20, "is a directory, not a file"},
      {dir.percorso / "manca.txt", 1u << 20, "cannot read: No such file or directory"},
  };
  for (const caso& c : casi) {
    try {
      leggi_file(c.file, c.massimi);
      ADD_FAILURE() << "no error for " << c.file;
    } catch (const errore_file& e) {
      EXPECT_EQ(std::string(e.what()), c.file.string() + ": " + c.motivo);
    }
  }
}
