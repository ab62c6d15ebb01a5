#include "exchange/Correction.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "exchange/ExchangeFile.h"
#include "forms/Check.h"
#include "model/TMainDM.h"
#include "text/Encoding.h"
#include "text/Gbk.h"
#include "text/Text.h"

namespace mlk {

namespace {

constexpr std::size_t kJiGIDItem = 0;
constexpr std::size_t kShangBJGIDItem = 27;

// The columns a pending institution copies from its entry when it is confirmed.
bool CopiedByPending(std::size_t item) {
    static const std::string copied[] = {"JiGID",  "JiGMC",   "JieDLB",     "XingZJB",
                                         "JieDMC", "XingZQH", "CaiZJFLYFS", "JiGLX"};
    return std::find(std::begin(copied), std::end(copied), kExchangeItemsInOrder[item].column) !=
           std::end(copied);
}

bool IsNumberItem(std::size_t item) {
    return item >= kExchangeTextItems;
}

std::string ItemName(std::size_t item) {
    return kExchangeItemsInOrder[item].name;
}

// The stored value of the item, or none when there is no such row.
std::optional<std::string> Stored(TMainDM& dm, const std::string& jiGID, std::size_t item) {
    std::optional<std::string> value;
    dm.ForEachRow(std::string("select ") + kExchangeItemsInOrder[item].column +
                      " from MLK_JiBXX where JiGID = ?",
                  {jiGID}, [&](const Statement& row) { value = row.Text(0); });
    return value;
}

void RequireCorrectable(TMainDM& dm, const Correction& c) {
    const std::string row = "机构 " + Excerpt(c.jiGID) + " 的" + ItemName(c.item);
    const std::optional<std::string> stored = Stored(dm, c.jiGID, c.item);
    if (!stored)
        throw MlkError("名录库中没有机构ID为 " + Excerpt(c.jiGID) + " 的机构");
    if (WhyUntravelable(c.item, *stored).empty())
        throw MlkError(row + "可以导出，不需要改正。");
    if (IsNumberItem(c.item)) {
        long long number = 0;
        if (!ParseInt(c.value, number) || !FitsInt32(number))
            throw MlkError(row + "必须是-2147483648至2147483647之间的整数。");
    } else if (const std::string_view character = FirstCharacterOutsideGbk(c.value);
               !character.empty()) {
        throw MlkError("机构 " + Excerpt(c.jiGID) + " 的" +
                       OutsideGbkMessage(ItemName(c.item), character));
    }
    if (c.item == kJiGIDItem && dm.HasRow("select 1 from MLK_JiBXX where JiGID = ?", {c.value}))
        throw MlkError("名录库中已有机构ID为 " + Excerpt(c.value) + " 的机构");
}

// A new id goes wherever rows and the pending institution point at the old one.
void ChangeId(TMainDM& dm, const std::string& from, const std::string& to) {
    dm.ExecSQL("update MLK_JiBXX set JiGID = ? where JiGID = ?", {to, from});
    dm.ExecSQL("update MLK_JiBXX set ShangBJGID = ? where ShangBJGID = ?", {to, from});
    dm.ExecSQL("update MLK_JiBXX set ShangJBMID = ? where ShangJBMID = ?", {to, from});
    dm.ExecSQL("update MLK_DaiDRJG set JiGID = ? where JiGID = ?", {to, from});
}

}  // namespace

std::string WhyUntravelable(std::size_t item, const std::string& value) {
    if (IsNumberItem(item)) {
        // No number at all is written as 0.
        long long number = 0;
        const bool travels = value.empty() || (ParseInt(value, number) && FitsInt32(number));
        return travels ? "" : value + kOutsideInt32;
    }
    const std::string_view character = FirstCharacterOutsideGbk(value);
    if (character.empty())
        return "";
    if (!IsUtf8(character))
        return "含有不是UTF-8编码的字节";
    return "字符“" + std::string(character) + "”无法用GBK编码保存";
}

void FindUntravelable(const Statement& row, std::vector<UntravelableValue>& found) {
    for (std::size_t item = 0; item < kExchangeItems; ++item) {
        const std::string value = row.Text(int(item));
        std::string reason = WhyUntravelable(item, value);
        if (reason.empty())
            continue;
        found.push_back({row.Text(int(kJiGIDItem)), row.Text(1), item, value, std::move(reason),
                         !row.TextView(int(kShangBJGIDItem)).empty()});
    }
}

std::string UntravelableMessage(const std::vector<UntravelableValue>& values, std::size_t most) {
    std::string text = "无法导出：以下" + std::to_string(values.size()) +
                       "项数据无法写入上报文件（上报文件为GBK编码，整数不超过32位）：\n";
    for (std::size_t i = 0; i < values.size() && i < most; ++i)
        text += DescribeUntravelable(values[i]) + "\n";
    if (values.size() > most)
        text += "……另有" + std::to_string(values.size() - most) + "项\n";
    return text + kCorrectionAdvice;
}

std::string DescribeUntravelable(const UntravelableValue& v) {
    return "机构 " + Excerpt(v.jiGID) + "（" + Excerpt(v.jiGMC) +
           (v.imported ? "，下级单位上报" : "") + "）的" + ItemName(v.item) + "：" + v.reason;
}

UntravelableError::UntravelableError(std::vector<UntravelableValue> values)
    : MlkError(UntravelableMessage(values)), values_(std::move(values)) {}

void CorrectUntravelable(TMainDM& dm, std::vector<Correction> corrections) {
    // Ids last, so that the other corrections of a row still find it by the id they name.
    std::stable_partition(corrections.begin(), corrections.end(),
                          [](const Correction& c) { return c.item != kJiGIDItem; });
    Transaction transaction(dm.Db());
    for (const Correction& c : corrections) {
        RequireCorrectable(dm, c);
        if (c.item == kJiGIDItem) {
            ChangeId(dm, c.jiGID, c.value);
            continue;
        }
        const std::string column = kExchangeItemsInOrder[c.item].column;
        dm.ExecSQL("update MLK_JiBXX set " + column + " = ? where JiGID = ?", {c.value, c.jiGID});
        if (CopiedByPending(c.item))
            dm.ExecSQL("update MLK_DaiDRJG set " + column + " = ? where JiGID = ?",
                       {c.value, c.jiGID});
    }
    transaction.Commit();
}

std::size_t ItemOfColumn(const std::string& column) {
    const auto lower = [](std::string text) {
        std::transform(text.begin(), text.end(), text.begin(),
                       [](unsigned char c) { return char(std::tolower(c)); });
        return text;
    };
    for (std::size_t item = 0; item < kExchangeItems; ++item) {
        if (lower(kExchangeItemsInOrder[item].column) == lower(column))
            return item;
    }
    throw MlkError("MLK_JiBXX 中没有 " + column + " 一列");
}

}  // namespace mlk
