// Status and Result: success and failure are told apart by what was made, not by the message;
// a failure keeps its cause wherever it is passed on.
#include "base/outcome.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <future>
#include <optional>
#include <string>

#include "base/messages.h"

namespace kinetta::base {
namespace {

TEST(Outcome, FailureIsKeptApartFromItsMessage) {
  EXPECT_TRUE(Status::Ok().ok());
  const Status silent = Status::Failed(Cause::Io, "");
  EXPECT_FALSE(silent.ok()) << "a failure without a reason is still a failure";
  const Status failed = Status::Failed(Cause::NoSpace, "x.bmp に書き込めません。");
  EXPECT_FALSE(failed.ok());
  EXPECT_EQ(failed.cause(), Cause::NoSpace);
  EXPECT_EQ(failed.message(), "x.bmp に書き込めません。");

  const Result<std::string> made = std::string("frame");
  ASSERT_TRUE(made.ok());
  EXPECT_EQ(made.value(), "frame");
  EXPECT_TRUE(made.message().empty());
  const Result<std::string> refused = Result<std::string>::Failed(Cause::BrokenData, "");
  EXPECT_FALSE(refused.ok());
  EXPECT_THROW((void)refused.value(), std::bad_optional_access);
  const Result<int> passedOn = refused.status();
  EXPECT_EQ(passedOn.cause(), Cause::BrokenData);
}

// The system's error numbers by cause, and the failure made of one: its cause and its sentence.
TEST(Outcome, SystemErrorsHaveTheirCauses) {
  const struct {
    int error;
    Cause cause;
  } cases[] = {
      {ENOENT, Cause::NotFound},     {ENOTDIR, Cause::NotFound},
      {EACCES, Cause::NoPermission}, {EPERM, Cause::NoPermission},
      {EROFS, Cause::NoPermission},  {ENOSPC, Cause::NoSpace},
      {EDQUOT, Cause::NoSpace},      {EFBIG, Cause::TooLarge},
      {ENOMEM, Cause::OutOfMemory},  {EIO, Cause::Io},
      {EISDIR, Cause::Io},           {ENAMETOOLONG, Cause::Io},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CauseOfErrno(c.error), c.cause) << c.error;
    EXPECT_EQ(CauseOf(std::make_error_code(static_cast<std::errc>(c.error))), c.cause) << c.error;
    const Status failed = SystemFailure(c.error);
    EXPECT_EQ(failed.cause(), c.cause) << c.error;
    EXPECT_EQ(failed.message(), SystemErrorText(c.error)) << c.error;
  }
  EXPECT_EQ(CauseOf(std::make_error_code(std::future_errc::no_state)), Cause::Io);
}

}  // namespace
}  // namespace kinetta::base
