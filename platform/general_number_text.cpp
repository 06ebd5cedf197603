#include "platform/general_number_text.h"

namespace ferolin::platform {

std::string GeneralNumberText(std::int64_t units, int decimals, int significant,
                              std::string_view separator) {
  if (units <= 0) return "0";
  std::string digits = std::to_string(units);
  // Decimal exponent of the leading digit.
  int exponent = static_cast<int>(digits.size()) - 1 - decimals;
  if (static_cast<int>(digits.size()) > significant) {
    const bool up = digits[static_cast<std::size_t>(significant)] >= '5';
    digits.resize(static_cast<std::size_t>(significant));
    if (up) {
      int i = significant - 1;
      while (i >= 0 && digits[static_cast<std::size_t>(i)] == '9') digits[static_cast<std::size_t>(i--)] = '0';
      if (i >= 0) {
        ++digits[static_cast<std::size_t>(i)];
      } else {  // 9999 -> 10000: one more leading digit
        digits.insert(digits.begin(), '1');
        digits.pop_back();
        ++exponent;
      }
    }
  }
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string out;
  if (exponent >= significant || exponent < -5) {
    out += digits[0];
    if (digits.size() > 1) {
      out += separator;
      out.append(digits, 1);
    }
    out += 'E';
    out += std::to_string(exponent);
    return out;
  }
  if (exponent < 0) {
    out = "0";
    out += separator;
    out.append(static_cast<std::size_t>(-exponent - 1), '0');
    out += digits;
    return out;
  }
  const std::size_t whole = static_cast<std::size_t>(exponent) + 1;
  if (digits.size() <= whole) {
    out = digits;
    out.append(whole - digits.size(), '0');
  } else {
    out.assign(digits, 0, whole);
    out += separator;
    out.append(digits, whole);
  }
  return out;
}

}  // namespace ferolin::platform
