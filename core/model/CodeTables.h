#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace mlk {

// Constants shared by every form.
inline constexpr std::string_view kAllItem = "--全部--";
inline constexpr std::string_view kEmptyTypeCode = "9900";
inline constexpr std::string_view kEmptyTypeItem = "9900-空";
inline constexpr std::string_view kRootCode = "100000";
inline constexpr std::string_view kRootName = "中华人民共和国";
inline constexpr std::string_view kDash = "-";

// True unless the text, trimmed, is empty, "--全部--" or "9900-空".
bool IsChosen(std::string_view text);

// The ordered lists of "code-label" strings, one per coded column. The JiGLX table comes from
// the database (assignable types) and is handed in once.
class CodeTables {
  public:
    explicit CodeTables(std::vector<std::string> jiGLXEntries = {});

    // The table of a key, or nullptr for a key that has none.
    const std::vector<std::string>* CodeList(std::string_view key) const;
    // The label behind a code; empty when no entry carries it.
    std::string CodeLabel(std::string_view code, std::string_view key) const;
    // The item a box of the table shows once a user has chosen the code: "code-label", or
    // "--全部--" for an empty code. A code the table does not hold raises an MlkError
    // "<what>代码无效：<code>" (codes come from the command line).
    std::string ChooseCode(std::string_view code, std::string_view key,
                           std::string_view what) const;
    // What FillCodeCombo shows: "--全部--" followed by every entry.
    std::vector<std::string> ComboItems(std::string_view key) const;

  private:
    std::map<std::string, std::vector<std::string>, std::less<>> tables_;
};

}  // namespace mlk
