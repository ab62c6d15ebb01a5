#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace mlk::test {

// What one run of the built mlk gave: its exit code (-1 when it crashed) and its two outputs.
struct MlkRun {
    int code;
    std::string out, err;
};

// Runs mlk with the folder as its working directory, so that its database is the folder's
// GGJGMLK.DB, as in an office's installation.
MlkRun Mlk(const std::filesystem::path& folder, const std::vector<std::string>& args);
// The same with the arguments written as one line of words separated by single blanks.
MlkRun Mlk(const std::filesystem::path& folder, const std::string& line);

// A test with a folder of its own in which mlk runs.
class CliTest : public ::testing::Test {
  protected:
    MlkRun Run(const std::string& line) { return Mlk(dir_.Path(), line); }
    MlkRun Run(const std::vector<std::string>& args) { return Mlk(dir_.Path(), args); }
    std::filesystem::path Db() const { return dir_ / "GGJGMLK.DB"; }

    TempDir dir_;
};

}  // namespace mlk::test
