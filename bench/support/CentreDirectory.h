#pragma once

// The centre's directory, as the centre benchmark builds it: an agency for every province with
// its pending row, departments of the same level, and each province's exchange file of its own
// rows and, depth first, the rows imported below them (at the centre at levels 2 to 4, so that
// the directory summary lists every one of them: its largest case).

#include <array>
#include <filesystem>
#include <string>

namespace mlk::bench {

inline constexpr const char* kCentre = "110101CENTRE0001";
inline constexpr std::array<const char*, 31> kProvinces = {
    "11", "12", "13", "14", "15", "21", "22", "23", "31", "32", "33", "34", "35", "36", "37", "41",
    "42", "43", "44", "45", "46", "50", "51", "52", "53", "54", "61", "62", "63", "64", "65"};
// Lines of a province's file unless a run asks for others: 31 of them make 2,015,000 rows.
inline constexpr long long kProvinceLines = 65000;

// The pending institution of a province's agency.
std::string PendingId(int province);

// A new installation of the centre with its own entries for so many provinces.
void NewCentre(const std::filesystem::path& db, int provinces);

// Writes a province's exchange file of so many lines; serial numbers the rows across files.
void WriteProvinceFile(const std::filesystem::path& path, const std::string& province,
                       long long lines, long long& serial);

// The centre's directory with every province's file imported (the summaries' benchmark
// database): 2,015,000 rows. Prints a line per file to stdout.
void BuildCentre(const std::filesystem::path& db, long long lines = kProvinceLines);

}  // namespace mlk::bench
