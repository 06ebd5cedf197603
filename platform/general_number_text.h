// A number in general format: rounded half up to a number of significant
// digits, trailing zeros dropped, plain notation while the integer part has at
// most that many digits, otherwise scientific ("1.235E4"). The number is given
// as an exact decimal, units / 10^decimals, so no binary rounding creeps in.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ferolin::platform {

// units >= 0; decimals >= 0; significant 1..18. `separator` is the user's
// decimal separator. Examples with 4 digits and ".": 250 ms as (250, 3) ->
// "0.25", (83456, 3) -> "83.46", (9999600, 3) -> "1E4".
std::string GeneralNumberText(std::int64_t units, int decimals, int significant,
                              std::string_view separator);

}  // namespace ferolin::platform
