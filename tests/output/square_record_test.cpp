#include "worker/square_record.h"

#include <gtest/gtest.h>

#include <string>

namespace ferolin {
namespace {

const std::int32_t kSquare[25] = {11, 24, 7,  20, 3,  4,  12, 25, 8, 16, 17, 5, 13,
                                  21, 9,  10, 18, 1,  14, 22, 23, 6, 19, 2,  15};

std::string Record(std::int32_t count, const std::int32_t* cells) {
  char buf[SquareRecordCapacity];
  return std::string(buf, FormatSquareRecord(buf, count, cells));
}

TEST(SquareRecord, BytesOfTheWorkedSquare) {
  const std::string r = Record(1234, kSquare);
  EXPECT_EQ(r, "1234 11 24 7 20 3 4 12 25 8 16 17 5 13 21 9 10 18 1 14 22 23 6 19 2 15 \r\n");
  EXPECT_EQ(r.size(), 73u);
  EXPECT_EQ(Record(1, kSquare).size(), 70u);
  EXPECT_EQ(Record(1, kSquare).substr(0, 2), "1 ");
  // The longest record: a ten-digit count.
  EXPECT_EQ(Record(2147483647, kSquare).size(), 79u);
  EXPECT_EQ(Record(0, kSquare).substr(0, 2), "0 ");
}

TEST(SquareRecord, ByteCellsGiveTheSameRecord) {
  std::uint8_t bytes[25];
  for (int i = 0; i < 25; ++i) bytes[i] = static_cast<std::uint8_t>(kSquare[i]);
  char a[SquareRecordCapacity], b[SquareRecordCapacity];
  const std::size_t na = FormatSquareRecord(a, 987654, kSquare);
  const std::size_t nb = FormatSquareRecord(b, 987654, bytes);
  EXPECT_EQ(std::string(a, na), std::string(b, nb));
}

}  // namespace
}  // namespace ferolin
