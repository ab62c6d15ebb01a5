#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "data/MlkError.h"
#include "data/TMainDM.h"

namespace mlk::test {

// A fresh folder "测试 目录" (a blank and Chinese, as users' folders have) in a folder of its
// own under the system's temporary directory, removed again with its contents.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& Path() const { return path_; }
    // The name is UTF-8, whatever the system's own code page.
    std::filesystem::path operator/(const std::string& name) const;

  private:
    std::filesystem::path root_;
    std::filesystem::path path_;
};

// A test with its own database file in its own folder.
class DbTest : public ::testing::Test {
  protected:
    void SetUp() override;
    TMainDM& Dm() { return *dm_; }
    // Registers an operating unit directly in MLK_CaoZDWXX and reloads it.
    // type "0" energy-saving management agency, "1" competent department.
    void RegisterUnit(const std::string& type, const std::string& county = "110101",
                      const std::string& name = "测试单位", const std::string& level = "4");
    // Closes and opens the database again, as a new start of the program would.
    void Reopen();
    // A column of the directory's row with this JiGID.
    std::string Column(const std::string& id, const std::string& column) {
        return dm_->QueryText("select " + column + " from MLK_JiBXX where JiGID = ?", {id});
    }
    long long Count(const std::string& table) {
        return dm_->QueryInt("select count(*) from " + table);
    }

    TempDir dir_;
    std::unique_ptr<TMainDM> dm_;
};

// The name under which the engine opens db read-only. Tests run as root, whom the system lets
// write a file without write permission; a read-only open is what the engine falls back to
// when the system refuses it the file, so it stands for a write-protected file or folder.
std::filesystem::path ReadOnlyName(const std::filesystem::path& db);

// Overwrites the first page of the named table's or index's b-tree with garbage, as a failing
// disk would, leaving the file's header and schema intact.
void DamageBTree(const std::filesystem::path& db, const std::string& name);

// The message of the error that act raises, or "" when it does not.
template <typename Act>
std::string ErrorOf(Act&& act) {
    try {
        act();
    } catch (const MlkError& error) {
        return error.what();
    }
    return "";
}

// Writes bytes to a file as they are.
void WriteFile(const std::filesystem::path& path, const std::string& bytes);
std::string ReadFile(const std::filesystem::path& path);

}  // namespace mlk::test
