#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "model/GGJG.h"
#include "platform/Platform.h"
#include "text/Gbk.h"
#include "text/Text.h"

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

// Runs a command that must succeed; the first line of its output.
inline std::string MlkDone(const std::filesystem::path& folder, const std::string& line) {
    const MlkRun run = Mlk(folder, line);
    EXPECT_EQ(run.code, 0) << line << "\n" << run.err;
    return run.out.substr(0, run.out.find('\n'));
}

// The cell in a line (from 0) of an output of tab-separated lines; a missing one fails the test
// and reads as "".
inline std::string OutputCell(const std::string& out, std::size_t line, std::size_t column) {
    const std::vector<std::string> lines = SplitText(out, '\n');
    const std::vector<std::string> cells =
        line < lines.size() ? SplitText(lines[line], '\t') : std::vector<std::string>();
    if (column < cells.size())
        return cells[column];
    ADD_FAILURE() << "no cell " << column << " in line " << line << " of:\n" << out;
    return "";
}

// The field options of a complete institution entry in the county 110101.
inline std::string InstitutionFields(const std::string& name, const std::string& code,
                                     const std::string& type = "8230") {
    return " --jigmc " + name + " --zuzjgdm " + code + " --hangydm P8230 --jiglx " + type +
           " --caizjflyfs 0 --xingzjb 4 --xingzqh 110101 --dizhi_jied 东华门街道 --dizhi_haop 12"
           " --youzbm 100010 --lianxrxm 王老师 --lianxdh 01065123456 --shunx 1";
}

// A test with a folder of its own in which mlk runs, on a database made as mlk init makes it.
class CliTest : public ::testing::Test {
  protected:
    CliTest() { TMainDM made(Db()); }

    MlkRun Run(const std::string& line) { return Mlk(dir_.Path(), line); }
    MlkRun Run(const std::vector<std::string>& args) { return Mlk(dir_.Path(), args); }
    std::string Done(const std::string& line) { return MlkDone(dir_.Path(), line); }
    std::filesystem::path Db() const { return dir_ / "GGJGMLK.DB"; }

    TempDir dir_;
};

}  // namespace mlk::test
