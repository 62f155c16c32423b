// Running korvel in-process for tests, with a given standard input, and a
// directory for the files a test writes.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "cli/command_line.h"

struct TKorvelRun {
  int Code = -1;
  std::string Out, Err;
};

inline TKorvelRun Korvel(const std::vector<std::string>& arguments, const std::string& input = "") {
  std::istringstream in(input);
  std::ostringstream out, err;
  TKorvelRun run;
  run.Code = RunKorvel(arguments, in, out, err);
  run.Out = out.str();
  run.Err = err.str();
  return run;
}

inline std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A directory of the test's own, removed afterwards.
class KorvelFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    directory_ = std::filesystem::temp_directory_path() /
                 ("korvel_cli_" + std::to_string(::getpid()) + "_" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(directory_);
  }
  void TearDown() override { std::filesystem::remove_all(directory_); }

  std::string Write(const std::string& name, const std::string& content) {
    const std::string path = Path(name);
    std::ofstream(path, std::ios::binary) << content;
    return path;
  }
  std::string Path(const std::string& name) const { return (directory_ / name).string(); }

  std::filesystem::path directory_;
};

inline const std::string kExample = std::string(PELMORA_TEST_DATA_DIR) + "/example.kvl";
inline const std::string kBirds = std::string(PELMORA_TEST_DATA_DIR) + "/birds.kvl";
