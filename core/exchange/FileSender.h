#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace mlk {

struct DaiDRJG;

// What an exchange file says of the unit that exported it. The unit's own entries (item 35 "0")
// carry its id as their superior (item 36: its division code, then a new id), and the entries of
// departments and institutions carry its full name as their superior department (item 10).
struct FileSender {
    std::string name;      // empty when no own entry names it
    std::string division;  // the first six characters of item 36; empty without own entries
};

// Reads the file up to the first own entry that names its unit: a right file names it on an
// early line. An error of the file is raised as the import raises it.
FileSender ReadFileSender(const std::filesystem::path& file);

// What tells that the file plainly comes from another unit than the pending institution, naming
// both; none while it may be the unit's own. Names match when one holds the other (blanks left
// out), so "东城区教育局" is "北京市东城区教育局"; without a name, only another province
// tells.
std::optional<std::string> SenderMismatch(const DaiDRJG& pending, const FileSender& sender);

}  // namespace mlk
