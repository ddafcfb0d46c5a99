// A scripted client of `scenario lsp`: the real program in a child process,
// spoken to over its standard input and output with the protocol's framing.
// For the protocol tests and the benchmark of diagnostics as you type.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

class cliente_lsp {
 public:
  using json = nlohmann::json;

  // Starts `programma ARGOMENTI` in `dove`, its standard error into `errori`.
  cliente_lsp(const std::filesystem::path& programma, const std::vector<std::string>& argomenti,
              const std::filesystem::path& dove, const std::filesystem::path& errori) {
    int a[2], b[2];
    if (::pipe(a) != 0 || ::pipe(b) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      const int e = ::open(errori.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (e < 0 || ::dup2(a[0], 0) < 0 || ::dup2(b[1], 1) < 0 || ::dup2(e, 2) < 0 || ::chdir(dove.c_str()) != 0)
        ::_exit(127);
      ::close(a[1]);
      ::close(b[0]);
      std::vector<char*> av{const_cast<char*>(programma.c_str())};
      for (const std::string& x : argomenti) av.push_back(const_cast<char*>(x.c_str()));
      av.push_back(nullptr);
      ::execv(programma.c_str(), av.data());
      ::_exit(127);
    }
    ::close(a[0]);
    ::close(b[1]);
    ingresso_ = a[1];
    uscita_ = b[0];
    // Writes to a server that is gone fail here instead of ending the test.
    ::signal(SIGPIPE, SIG_IGN);
  }
  ~cliente_lsp() {
    chiudi_ingresso();
    if (uscita_ >= 0) ::close(uscita_);
    if (pid_ > 0 && stato_ == -2) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  cliente_lsp(const cliente_lsp&) = delete;
  cliente_lsp& operator=(const cliente_lsp&) = delete;

  // Raw bytes, framed or not. False when the server no longer reads.
  bool invia_byte(std::string_view byte) {
    while (!byte.empty()) {
      const ssize_t n = ::write(ingresso_, byte.data(), byte.size());
      if (n <= 0) return false;
      byte.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
  }
  bool invia(const json& messaggio) {
    const std::string corpo = messaggio.dump();
    return invia_byte("Content-Length: " + std::to_string(corpo.size()) + "\r\n\r\n" + corpo);
  }
  void notifica(const std::string& metodo, json parametri) {
    invia({{"jsonrpc", "2.0"}, {"method", metodo}, {"params", std::move(parametri)}});
  }
  // Sends a request and waits for its answer; the notifications met on the
  // way are kept. None when the server said nothing in `secondi`.
  std::optional<json> richiesta(const std::string& metodo, json parametri, double secondi = 20) {
    const int id = ++id_;
    invia({{"jsonrpc", "2.0"}, {"id", id}, {"method", metodo}, {"params", std::move(parametri)}});
    return risposta(id, secondi);
  }
  std::optional<json> risposta(const json& id, double secondi = 20) {
    const auto fine = adesso() + secondi;
    while (true) {
      std::optional<json> m = leggi(fine - adesso());
      if (!m) return std::nullopt;
      if (m->contains("id") && !m->contains("method") && (*m)["id"] == id) return m;
      notifiche.push_back(std::move(*m));
    }
  }
  // The first diagnostics published for `uri` (at `versione`, when one is
  // given) not taken yet, from those kept or the next to come. None in
  // `secondi` without them.
  std::optional<json> diagnostiche(const std::string& uri, std::optional<int64_t> versione = std::nullopt,
                                   double secondi = 20) {
    auto adatta = [&](const json& n) {
      if (n.value("method", "") != "textDocument/publishDiagnostics" || n["params"].value("uri", "") != uri) return false;
      return !versione || (n["params"].contains("version") && n["params"]["version"] == *versione);
    };
    for (auto i = notifiche.begin(); i != notifiche.end(); ++i)
      if (adatta(*i)) {
        json d = (*i)["params"]["diagnostics"];
        notifiche.erase(i);
        return d;
      }
    const auto fine = adesso() + secondi;
    while (true) {
      std::optional<json> m = leggi(fine - adesso());
      if (!m) return std::nullopt;
      if (adatta(*m)) return (*m)["params"]["diagnostics"];
      notifiche.push_back(std::move(*m));
    }
  }
  // The next message, waiting up to `secondi`; none at the end of the output or on a framing fault.
  std::optional<json> leggi(double secondi) {
    const auto fine = adesso() + secondi;
    while (true) {
      const std::size_t testa = dati_.find("\r\n\r\n");
      if (testa != std::string::npos) {
        const std::size_t chiave = dati_.find("Content-Length: ");
        if (chiave == std::string::npos || chiave > testa) return std::nullopt;
        const std::size_t n = std::stoul(dati_.substr(chiave + 16, testa - chiave - 16));
        if (dati_.size() >= testa + 4 + n) {
          std::string corpo = dati_.substr(testa + 4, n);
          dati_.erase(0, testa + 4 + n);
          return json::parse(corpo);
        }
      }
      const double resta = fine - adesso();
      if (resta <= 0) return std::nullopt;
      pollfd p{uscita_, POLLIN, 0};
      if (::poll(&p, 1, static_cast<int>(resta * 1000) + 1) <= 0) continue;
      char buf[65536];
      const ssize_t letti = ::read(uscita_, buf, sizeof buf);
      if (letti <= 0) return std::nullopt;
      dati_.append(buf, static_cast<std::size_t>(letti));
    }
  }
  // Everything the server wrote from now until it closes its output, waiting up to `secondi`.
  std::string resto(double secondi) {
    const auto fine = adesso() + secondi;
    std::string tutto = std::move(dati_);
    dati_.clear();
    while (adesso() < fine) {
      pollfd p{uscita_, POLLIN, 0};
      if (::poll(&p, 1, 50) <= 0) continue;
      char buf[65536];
      const ssize_t letti = ::read(uscita_, buf, sizeof buf);
      if (letti <= 0) break;
      tutto.append(buf, static_cast<std::size_t>(letti));
    }
    return tutto;
  }
  // The client goes away without a word: it reads no more.
  void chiudi_uscita() {
    if (uscita_ >= 0) ::close(uscita_);
    uscita_ = -1;
  }
  void chiudi_ingresso() {
    if (ingresso_ >= 0) ::close(ingresso_);
    ingresso_ = -1;
  }
  // The server's exit status once it ends within `secondi`: -1 for a signal,
  // -2 when it is still running (it is then killed).
  int attendi_uscita(double secondi) {
    const auto fine = adesso() + secondi;
    int s = 0;
    while (adesso() < fine) {
      if (::waitpid(pid_, &s, WNOHANG) == pid_) return stato_ = WIFEXITED(s) ? WEXITSTATUS(s) : -1;
      ::usleep(10000);
    }
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    stato_ = -3;
    return -2;
  }

  std::vector<json> notifiche;  // received while waiting for something else

 private:
  static double adesso() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
  }
  pid_t pid_ = -1;
  int ingresso_ = -1, uscita_ = -1;
  int id_ = 0;
  int stato_ = -2;
  std::string dati_;
};
