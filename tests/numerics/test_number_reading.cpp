#include "numerics/number_reading.h"

#include <gtest/gtest.h>

#include <string>
#include "numerics/library_namespaces.h"

namespace {

// Expected values are long double literals, which the compiler rounds correctly;
// the long digit strings check that the reading is correctly rounded too.
TEST(ReadNumber, AcceptedForms) {
  const struct {
    const char* text;
    Extended value;
  } cases[] = {
      {"12", 12.0L},
      {"  0.0254  ", 0.0254L},
      {"\t-1.5e-3", -1.5e-3L},
      {"+.5", 0.5L},
      {"5.", 5.0L},
      {"1E3", 1000.0L},
      {"2.5e+02", 250.0L},
      {"0.32\r\n", 0.32L},
      {"0.1", 0.1L},
      {"-0", -0.0L},
      {"3.14159265358979323846264338327950288", 3.14159265358979323846264338327950288L},
      {"1.2566370614359172953850573533118e-6", 1.2566370614359172953850573533118e-6L},
      // Halfway between two neighbours (1 + 2^-64): resolved to even.
      {"1.0000000000000000000542101086242752217003726400434970855712890625",
       1.0000000000000000000542101086242752217003726400434970855712890625L},
      {"1e-4940", 1e-4940L},  // subnormal
      {"1.18973149535723176502e4932", 1.18973149535723176502e4932L},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadNumber(c.text), c.value) << c.text;
}

TEST(ReadNumber, EmptyMalformedOrInfiniteReadAsZero) {
  const char* texts[] = {"",     "   ",  "abc",  "1,5", "1.2.3", "1e",       "e5",  ".",
                         "-",    "0x10", "inf",  "nan", "1 2",   "12abc",    "1e+", "--1",
                         "1e99999", "-1e5000"};
  for (const char* t : texts) {
    const Extended v = ReadNumber(t);
    EXPECT_EQ(v, 0.0L) << '"' << t << '"';
  }
}

TEST(ReadInteger, CountsWithin32Bits) {
  const struct {
    const char* text;
    std::int32_t value;
  } cases[] = {
      {"12", 12},          {" -7 ", -7},          {"+3", 3},
      {"007", 7},          {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1},
      {"2147483648", 0},   {"-2147483649", 0},    {"99999999999999999999", 0},
      {"1.5", 0},          {"1e3", 0},            {"", 0},
      {"-", 0},            {"4 2", 0},            {"x", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadInteger(c.text), c.value) << c.text;
}

}  // namespace
