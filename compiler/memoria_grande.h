// Memory for the line plan: several megabytes touched once, in order.
//
// Every first touch of a small page costs a fault; on a virtual machine that
// is most of a build's time. A block of this allocator is mapped on its own,
// aligned to 2 MiB and offered to the kernel for huge pages, so a plan of a
// few megabytes is faulted in a handful of steps. Small blocks come from the
// ordinary heap. Where the kernel gives no huge pages, the memory is ordinary.
#pragma once

#include <cstddef>
#include <new>

// A block of at least `byte` bytes, aligned for any type; throws std::bad_alloc.
void* prendi_memoria_grande(std::size_t byte);
// Gives back a block of `prendi_memoria_grande(byte)`.
void rendi_memoria_grande(void* p, std::size_t byte) noexcept;

template <typename T>
struct memoria_grande {
  using value_type = T;
  memoria_grande() = default;
  template <typename U>
  memoria_grande(const memoria_grande<U>&) noexcept {}
  T* allocate(std::size_t n) { return static_cast<T*>(prendi_memoria_grande(n * sizeof(T))); }
  void deallocate(T* p, std::size_t n) noexcept { rendi_memoria_grande(p, n * sizeof(T)); }
  template <typename U>
  bool operator==(const memoria_grande<U>&) const noexcept { return true; }
};
