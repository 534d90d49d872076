#include "profile/profile_byte_search.h"

#include <cstdint>
#include <cstring>

// The vector search needs x86-64 and the GNU attributes that pick AVX2 at run time.
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

namespace qlxw::profile {
namespace {

bool PieceAt(const char* data, std::size_t at, const char* piece, std::size_t length) noexcept {
  return std::memcmp(data + at, piece, length) == 0;
}

// One byte at a time, for the last bytes and for machines without the vector search.
std::size_t FindPlain(const char* data, std::size_t size, std::size_t from, const char* piece,
                      std::size_t length) noexcept {
  while (from + length <= size) {
    const void* first = std::memchr(data + from, piece[0], size - length + 1 - from);
    if (first == nullptr) {
      break;
    }
    const auto at = static_cast<std::size_t>(static_cast<const char*>(first) - data);
    if (PieceAt(data, at, piece, length)) {
      return at;
    }
    from = at + 1;
  }
  return size;
}

#if defined(__x86_64__) && defined(__GNUC__)
// Where the piece's first and last bytes both sit, for the 32 positions from `at`.
__attribute__((target("avx2"), always_inline)) inline std::uint32_t PairMask(const char* at, std::size_t last,
                                                                             __m256i first, __m256i final) {
  const __m256i atFirst = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
  const __m256i atLast = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + last));
  return static_cast<std::uint32_t>(_mm256_movemask_epi8(
      _mm256_and_si256(_mm256_cmpeq_epi8(atFirst, first), _mm256_cmpeq_epi8(atLast, final))));
}

// Few places hold both the piece's first and its last byte, so the whole piece is compared rarely;
// 64 positions a round, one test deciding for most rounds that there is nothing.
__attribute__((target("avx2"))) std::size_t FindAvx2(const char* data, std::size_t size, std::size_t from,
                                                     const char* piece, std::size_t length) noexcept {
  const std::size_t last = length - 1;
  const __m256i first = _mm256_set1_epi8(piece[0]);
  const __m256i final = _mm256_set1_epi8(piece[last]);
  while (from + last + 64 <= size) {
    const std::uint64_t mask = PairMask(data + from, last, first, final) |
                               static_cast<std::uint64_t>(PairMask(data + from + 32, last, first, final))
                                   << 32;
    for (std::uint64_t rest = mask; rest != 0; rest &= rest - 1) {
      const std::size_t at = from + static_cast<std::size_t>(__builtin_ctzll(rest));
      if (PieceAt(data, at, piece, length)) {
        return at;
      }
    }
    from += 64;
  }
  return FindPlain(data, size, from, piece, length);
}

using Find = std::size_t (*)(const char*, std::size_t, std::size_t, const char*, std::size_t) noexcept;
const Find kFind = __builtin_cpu_supports("avx2") ? FindAvx2 : FindPlain;
#endif

}  // namespace

std::size_t FindBytes(const char* data, std::size_t size, std::size_t from, const char* piece,
                      std::size_t length) noexcept {
  if (length == 0 || from >= size) {
    return size;
  }
#if defined(__x86_64__) && defined(__GNUC__)
  if (length > 1) {
    return kFind(data, size, from, piece, length);
  }
#endif
  return FindPlain(data, size, from, piece, length);
}

}  // namespace qlxw::profile
