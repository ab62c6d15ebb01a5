#include "TestSupport.h"

#include <fstream>
#include <random>
#include <sstream>

namespace mlk::test {

TempDir::TempDir() {
    std::random_device device;
    path_ = std::filesystem::temp_directory_path() /
            ("mlk-test-" + std::to_string(device()) + std::to_string(device()));
    std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void DbTest::SetUp() {
    dm_ = std::make_unique<TMainDM>(dir_ / "GGJGMLK.DB");
}

void DbTest::Reopen() {
    dm_.reset();
    dm_ = std::make_unique<TMainDM>(dir_ / "GGJGMLK.DB");
}

void DbTest::RegisterUnit(const std::string& type, const std::string& county,
                          const std::string& name, const std::string& level) {
    dm_->ExecSQL(
        "insert into MLK_CaoZDWXX (DanWID,DanWMC, XingZQH,XingZLSJB,DanWLX,YouZBM, JieDMC,"
        "TianBRXM,ChuSHSJ,TongJY,DanWFZR) values (?,?,?,?,?,?,?,?,?,?,?)",
        {county + TMainDM::NewID(), name, county, level, type, county, name, "填表人",
         TMainDM::NowText(), "", ""});
    dm_->LoadCaoZDWXX();
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

}  // namespace mlk::test
