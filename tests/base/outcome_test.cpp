// Status and Result: success and failure are told apart by what was made, not by the message.
#include "base/outcome.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace kinetta::base {
namespace {

TEST(Outcome, FailureIsKeptApartFromItsMessage) {
  EXPECT_TRUE(Status::Ok().ok());
  const Status silent = Status::Failed("");
  EXPECT_FALSE(silent.ok()) << "a failure without a reason is still a failure";
  const Status failed = Status::Failed("x.bmp に書き込めません。");
  EXPECT_FALSE(failed.ok());
  EXPECT_EQ(failed.message(), "x.bmp に書き込めません。");

  const Result<std::string> made = std::string("frame");
  ASSERT_TRUE(made.ok());
  EXPECT_EQ(made.value(), "frame");
  EXPECT_TRUE(made.message().empty());
  const Result<std::string> refused = Result<std::string>::Failed("");
  EXPECT_FALSE(refused.ok());
  EXPECT_THROW((void)refused.value(), std::bad_optional_access);
}

}  // namespace
}  // namespace kinetta::base
