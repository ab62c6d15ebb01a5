#pragma once

#include <filesystem>
#include <memory>

namespace mlk {
class TMainDM;
}

namespace mlk::ui {

// Creates the data module on the database file. A file that cannot be opened or is not a
// database is reported in the standard error box and gives nullptr; the file is left untouched.
std::unique_ptr<TMainDM> OpenDataModule(const std::filesystem::path& path);

}  // namespace mlk::ui
