#include "worker/square_record.h"

#include <cstring>

namespace ferolin {

namespace {

// "v " for every cell value 0..25, as 4 bytes: text, then its length in byte 3.
struct CellTexts {
  char text[26][4];
  constexpr CellTexts() : text{} {
    for (int v = 0; v < 26; ++v) {
      if (v < 10) {
        text[v][0] = static_cast<char>('0' + v), text[v][1] = ' ', text[v][3] = 2;
      } else {
        text[v][0] = static_cast<char>('0' + v / 10), text[v][1] = static_cast<char>('0' + v % 10);
        text[v][2] = ' ', text[v][3] = 3;
      }
    }
  }
};
constexpr CellTexts kCells;

std::size_t FormatCount(char* out, std::uint32_t n) {
  char digits[10];
  int k = 0;
  do {
    digits[k++] = static_cast<char>('0' + n % 10);
    n /= 10;
  } while (n != 0);
  for (int i = 0; i < k; ++i) out[i] = digits[k - 1 - i];
  out[k] = ' ';
  return static_cast<std::size_t>(k) + 1;
}

template <class Cell>
std::size_t Format(char* out, std::int32_t foundCount, const Cell* cells) {
  std::size_t n = FormatCount(out, static_cast<std::uint32_t>(foundCount));
  for (int i = 0; i < 25; ++i) {
    const char* t = kCells.text[cells[i]];
    std::memcpy(out + n, t, 4);  // the 4th byte is overwritten by what follows
    n += static_cast<std::size_t>(t[3]);
  }
  out[n++] = '\r';
  out[n++] = '\n';
  return n;
}

}  // namespace

std::size_t FormatSquareRecord(char* out, std::int32_t foundCount, const std::int32_t* cells) {
  return Format(out, foundCount, cells);
}

std::size_t FormatSquareRecord(char* out, std::int32_t foundCount, const std::uint8_t* cells) {
  return Format(out, foundCount, cells);
}

}  // namespace ferolin
