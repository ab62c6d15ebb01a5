#include "TestSupport.h"

#include <fstream>
#include <random>
#include <sstream>

#include "data/Platform.h"

namespace mlk::test {

TempDir::TempDir() {
    std::random_device device;
    root_ = std::filesystem::temp_directory_path() /
            ("mlk-test-" + std::to_string(device()) + std::to_string(device()));
    path_ = root_ / PathFromText("测试 目录");
    std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

std::filesystem::path TempDir::operator/(const std::string& name) const {
    return path_ / PathFromText(name);
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

std::filesystem::path ReadOnlyName(const std::filesystem::path& db) {
    return PathFromText("file:" + PathText(db) + "?mode=ro");
}

void DamageBTree(const std::filesystem::path& db, const std::string& name) {
    Database reader(db, Database::Access::ReadOnly);
    Statement size(reader, "pragma page_size");
    Statement root(reader, "select rootpage from sqlite_master where name = ?");
    ASSERT_TRUE(size.Step() && root.Bind(1, name).Step()) << name;
    std::fstream file(db, std::ios::binary | std::ios::in | std::ios::out);
    file.seekp((root.Int(0) - 1) * size.Int(0));
    file << std::string(std::size_t(size.Int(0)), 'Z');
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
