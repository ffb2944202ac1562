// Number text: the sign blank, the leading number of typed text, 16-bit rounding.
#include "base/number_text.h"

#include <gtest/gtest.h>

namespace kinetta::base {
namespace {

TEST(NumberText, BlankInTheSignPosition) {
  EXPECT_EQ(NumberText(100), " 100");
  EXPECT_EQ(NumberText(0), " 0");
  EXPECT_EQ(NumberText(16777215), " 16777215");
  EXPECT_EQ(NumberText(-1), "-1");
}

struct LeadingCase {
  const char* text;
  Blanks blanks;
  double expected;
};

class LeadingNumberTest : public testing::TestWithParam<LeadingCase> {};

TEST_P(LeadingNumberTest, Reads) {
  const LeadingCase c = GetParam();
  EXPECT_DOUBLE_EQ(LeadingNumber(c.text, c.blanks), c.expected) << "'" << c.text << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LeadingNumberTest,
    testing::Values(
        LeadingCase{" 12.5", Blanks::Leading, 12.5}, LeadingCase{"3", Blanks::Leading, 3},
        LeadingCase{"abc", Blanks::Leading, 0}, LeadingCase{"", Blanks::Leading, 0},
        LeadingCase{"-7x", Blanks::Leading, -7}, LeadingCase{"1e3", Blanks::Leading, 1000},
        LeadingCase{"2e", Blanks::Leading, 2}, LeadingCase{".5", Blanks::Leading, 0.5},
        LeadingCase{"1 2", Blanks::Leading, 1}, LeadingCase{" 1 2\t3\n", Blanks::Anywhere, 123},
        LeadingCase{"1 2.5", Blanks::Anywhere, 12.5}, LeadingCase{"-", Blanks::Anywhere, 0}));

TEST(ToInt16, RoundsHalvesToEvenAndRefusesWhatDoesNotFit) {
  EXPECT_EQ(ToInt16(12.5), 12);
  EXPECT_EQ(ToInt16(13.5), 14);
  EXPECT_EQ(ToInt16(-32768), -32768);
  EXPECT_EQ(ToInt16(32767.4), 32767);
  EXPECT_FALSE(ToInt16(32767.5).has_value());
  EXPECT_FALSE(ToInt16(40000).has_value());
  EXPECT_FALSE(ToInt16(-32768.6).has_value());
}

TEST(WholeNumber, AcceptsOnlyANumber) {
  EXPECT_EQ(WholeNumber(" 0.2 "), 0.2);
  EXPECT_FALSE(WholeNumber("0.2s").has_value());
  EXPECT_FALSE(WholeNumber("").has_value());
  EXPECT_FALSE(WholeNumber("abc").has_value());
}

}  // namespace
}  // namespace kinetta::base
