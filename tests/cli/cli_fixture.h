// kinetta-render run in the test process: an empty program folder, a 40 x 30 source picture
// cat.bmp in its own folder, and the output and notes collected.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_run.h"
#include "image/bmp_file.h"
#include "test_support.h"

namespace kinetta::cli {

class CliFixture : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(image::WriteBmp24(test::CoordinatePicture(40, 30), pics_ / "cat.bmp").ok());
  }
  int Run(std::vector<std::string> args) {
    out_.str("");
    err_.str("");
    const CliEnvironment env{app_.path().string(), false, &control_};
    return RunCli(args, env, out_, err_);
  }
  std::string Source() const { return (pics_ / "cat.bmp").string(); }
  std::string FileBytes(const std::string& name) const {
    std::ifstream in(pics_ / name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  test::TrashFolder trash_;  ///< the stale frame's trash; a test may put one without in its place
  test::TempFolder app_;
  test::TempFolder pics_;
  render::RunControl control_;
  std::ostringstream out_, err_;
};

}  // namespace kinetta::cli
