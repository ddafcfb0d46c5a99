#include "compiler/memoria_grande.h"

#include <cstdint>
#include <sys/mman.h>

namespace {

constexpr std::size_t pagina_grande = std::size_t{2} << 20;
// Below this a block comes from the heap: rounding it up to a huge page
// would cost more memory than the faults it saves are worth.
constexpr std::size_t soglia = std::size_t{256} << 10;

std::size_t arrotonda_pagina(std::size_t byte) { return (byte + pagina_grande - 1) & ~(pagina_grande - 1); }

}  // namespace

void* prendi_memoria_grande(std::size_t byte) {
  if (byte < soglia) return ::operator new(byte);
  const std::size_t misura = arrotonda_pagina(byte);
  if (misura < byte) throw std::bad_alloc();
  // Map one huge page more than needed, then trim to a 2 MiB boundary.
  void* m = ::mmap(nullptr, misura + pagina_grande, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (m == MAP_FAILED) throw std::bad_alloc();
  const auto inizio = reinterpret_cast<std::uintptr_t>(m);
  const std::uintptr_t allineato = (inizio + pagina_grande - 1) & ~std::uintptr_t{pagina_grande - 1};
  if (allineato > inizio) ::munmap(m, allineato - inizio);
  const std::uintptr_t fine = inizio + misura + pagina_grande;
  if (fine > allineato + misura) ::munmap(reinterpret_cast<void*>(allineato + misura), fine - (allineato + misura));
  void* p = reinterpret_cast<void*>(allineato);
  ::madvise(p, misura, MADV_HUGEPAGE);  // a hint: without it the pages are small
  return p;
}

void rendi_memoria_grande(void* p, std::size_t byte) noexcept {
  if (p == nullptr) return;
  if (byte < soglia) return ::operator delete(p);
  ::munmap(p, arrotonda_pagina(byte));
}
