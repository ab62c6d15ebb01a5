#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "base/MlkError.h"

namespace mlk {

class Statement;
class TMainDM;

// Values an earlier build let into the directory that the exchange file cannot carry: a
// character without an exact GBK form, or a JiC or ShunX beyond 32 bits. The export names every
// one of them, and they can be corrected in any row, confirmed and audited rows included; no
// other value of a confirmed row changes this way.

struct UntravelableValue {
    std::string jiGID, jiGMC;
    std::size_t item = 0;   // in file order, from 0
    std::string value;      // as stored; a number in decimal
    std::string reason;     // "字符“😀”无法用GBK编码保存"
    bool imported = false;  // delivered by a subordinate unit's file
};

// Why a stored value cannot travel, or empty when it can (item in file order).
std::string WhyUntravelable(std::size_t item, const std::string& value);

// Adds the values of a row of the export statement that cannot travel.
void FindUntravelable(const Statement& row, std::vector<UntravelableValue>& found);

// "机构 110101A0B1C2D3E4（一中😀）的单位详细名称：字符“😀”无法用GBK编码保存".
std::string DescribeUntravelable(const UntravelableValue& value);

// The export's refusal: how many values cannot travel, the first `most` of them one a line (and
// how many more), then what to do about them.
std::string UntravelableMessage(const std::vector<UntravelableValue>& values,
                                std::size_t most = std::size_t(-1));

// What the user can do about such values.
inline constexpr const char* kCorrectionAdvice =
    "请在“导出数据”窗口或用命令 mlk correct 逐项改正后再导出；下级单位上报的机构改正后，"
    "请通知下级单位同样改正。";

// The export's refusal, naming every value that cannot travel (UntravelableMessage).
class UntravelableError : public MlkError {
  public:
    explicit UntravelableError(std::vector<UntravelableValue> values);
    const std::vector<UntravelableValue>& Values() const { return values_; }

  private:
    std::vector<UntravelableValue> values_;
};

// A new value for one that cannot travel.
struct Correction {
    std::string jiGID;
    std::size_t item = 0;
    std::string value;
};

// Stores each new value in place of the old one, all in one transaction: in MLK_JiBXX, in the
// copy a pending institution keeps in MLK_DaiDRJG, and for an id also where rows point at it.
// Refused with an MlkError, and nothing written, when a stored value travels already, a new value
// cannot travel either, or a new id is in the directory already.
void CorrectUntravelable(TMainDM& dm, std::vector<Correction> corrections);

// The item of a column of MLK_JiBXX given in any case ("jigmc"); an MlkError for no such column.
std::size_t ItemOfColumn(const std::string& column);

}  // namespace mlk
