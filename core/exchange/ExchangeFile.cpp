#include "exchange/ExchangeFile.h"

#include <cstdint>
#include <type_traits>

#include "base/MlkError.h"
#include "forms/Check.h"
#include "text/Gbk.h"
#include "text/Text.h"

namespace mlk {

const ExchangeItem kExchangeItemsInOrder[kExchangeItems] = {
    {"JiGID", "机构ID"},
    {"JiGMC", "单位详细名称"},
    {"ZuZJGDM", "组织机构代码"},
    {"HangYDM", "行业代码"},
    {"XingZQH", "行政区划"},
    {"XingZLSJB", "行政隶属级别"},
    {"XingZJB", "行政级别"},
    {"JieDLB", "节点类别"},
    {"JieDMC", "节点名称"},
    {"ShangJHYZGBM", "直属主管部门全称"},
    {"ShangJXZZGBM", "业务主管部门全称"},
    {"CaiZJFLYFS", "财政经费来源方式"},
    {"JiGLX", "机构类型"},
    {"DiZhi_Shen", "省市区"},
    {"DiZhi_Shi", "地市州"},
    {"DiZhi_Xian", "县区旗"},
    {"DiZhi_JieD", "街道"},
    {"DiZhi_HaoP", "号牌"},
    {"YouZBM", "邮政编码"},
    {"LianXRXM", "机构联系人"},
    {"LianXDH", "联系电话"},
    {"QiT", "其他"},
    {"TianBRXM", "填表人姓名"},
    {"ChuSHSJ", "填表日期"},
    {"GengXZT", "更新状态"},
    {"TongJY", "统计员"},
    {"DanWFZR", "单位负责人"},
    {"ShangBJGID", "上报机构ID"},
    {"QueRRXM", "确认人"},
    {"QueRSJ", "确认时间"},
    {"QueRZT", "确认状态"},
    {"ShenHRXM", "审核人"},
    {"ShenHSJ", "审核时间"},
    {"ShenHZT", "审核状态"},
    {"ShuJLY", "数据来源"},
    {"ShangJBMID", "上级部门ID"},
    {"JiC", "层级"},
    {"ShunX", "显示顺序"},
};

namespace {

bool NeedsQuotes(std::string_view value) {
    for (unsigned char c : value) {
        if (c <= ',' && (c <= ' ' || c == '"' || c == ','))
            return true;
    }
    return false;
}

// The 36 text fields in file order; items 37 and 38 are JiC and ShunX.
template <class Record>
auto TextFields(Record& r) {
    using Field = std::conditional_t<std::is_const_v<Record>, const std::string*, std::string*>;
    return std::array<Field, 36>{
        &r.JiGID,   &r.JiGMC,      &r.ZuZJGDM,   &r.HangYDM,      &r.XingZQH,      &r.XingZLSJB,
        &r.XingZJB, &r.JieDLB,     &r.JieDMC,    &r.ShangJHYZGBM, &r.ShangJXZZGBM, &r.CaiZJFLYFS,
        &r.JiGLX,   &r.DiZhi_Shen, &r.DiZhi_Shi, &r.DiZhi_Xian,   &r.DiZhi_JieD,   &r.DiZhi_HaoP,
        &r.YouZBM,  &r.LianXRXM,   &r.LianXDH,   &r.QiT,          &r.TianBRXM,     &r.ChuSHSJ,
        &r.GengXZT, &r.TongJY,     &r.DanWFZR,   &r.ShangBJGID,   &r.QueRRXM,      &r.QueRSJ,
        &r.QueRZT,  &r.ShenHRXM,   &r.ShenHSJ,   &r.ShenHZT,      &r.ShuJLY,       &r.ShangJBMID};
}

// Trim of a view: the value stays where it is.
std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ')
        text.remove_suffix(1);
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ')
        text.remove_prefix(1);
    return text;
}

std::string LinePrefix(std::size_t line) {
    return LineName(line) + "：";
}

// Items 37 and 38 fill 32-bit columns of the record.
long long WholeNumber(std::string_view text, std::size_t line, int item) {
    long long value = 0;
    if (!ParseInt(text, value)) {
        throw MlkError(LinePrefix(line) + "第" + std::to_string(item) + "项 '" + Excerpt(text) +
                       "' 不是有效的整数");
    }
    if (!FitsInt32(value)) {
        throw MlkError(LinePrefix(line) + "第" + std::to_string(item) + "项 '" + Excerpt(text) +
                       "' " + kOutsideInt32);
    }
    return value;
}

// The items joined again as the writer would, as much of them as a message shows: the copy
// stays small however long the record.
std::string ItemsExcerpt(const ExchangeSplit& split) {
    constexpr std::size_t kShownCharacters = 200;
    // Enough bytes for the characters shown, four bytes each, and one more to cut at.
    constexpr std::size_t kEnoughBytes = 4 * kShownCharacters + 4;
    std::string joined;
    for (std::size_t i = 0; i < split.items.size() && joined.size() < kEnoughBytes; ++i) {
        if (i)
            joined += ',';
        AppendExchangeItem(joined, split.items[i].substr(0, kEnoughBytes));
    }
    const std::string shown = Excerpt(joined, kShownCharacters);
    return split.cut && shown.size() == joined.size() ? shown + "……" : shown;
}

// Follows the quotes of a record from position from on, as the splitter will: a quote opens an
// item only at its start, and inside an item a doubled quote stands for one. True when the
// record ends inside quotes.
bool EndsInsideQuotes(std::string_view record, std::size_t from, bool inQuotes) {
    for (std::size_t p = record.find('"', from); p != std::string_view::npos;
         p = record.find('"', p + 1)) {
        if (!inQuotes) {
            inQuotes = p == 0 || record[p - 1] == ',';
        } else if (p + 1 < record.size() && record[p + 1] == '"') {
            ++p;
        } else {
            inQuotes = false;
        }
    }
    return inQuotes;
}

}  // namespace

// ---- Writing -------------------------------------------------------------------------------

void AppendExchangeItem(std::string& line, std::string_view value) {
    if (!NeedsQuotes(value)) {
        line += value;
        return;
    }
    line += '"';
    for (char c : value) {
        if (c == '"')
            line += '"';
        line += c;
    }
    line += '"';
}

std::string QuoteExchangeItem(std::string_view value) {
    std::string quoted;
    AppendExchangeItem(quoted, value);
    return quoted;
}

std::string JoinExchangeItems(const std::vector<std::string>& items) {
    std::string line;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i)
            line += ',';
        AppendExchangeItem(line, items[i]);
    }
    return line;
}

std::vector<std::string> ExchangeItems(const GGJG& record) {
    std::vector<std::string> items;
    items.reserve(kExchangeItems);
    for (const std::string* field : TextFields(record))
        items.push_back(*field);
    items.push_back(std::to_string(record.JiC));
    items.push_back(std::to_string(record.ShunX));
    return items;
}

// ---- Splitting -----------------------------------------------------------------------------

void SplitExchangeRecord(std::string_view record, ExchangeSplit& split, bool* unclosed,
                         std::size_t most) {
    split.items.clear();
    split.quoted.clear();
    split.composed.clear();
    split.cut = false;
    // Removing quotes only shortens a value, so composed never outgrows the record: it is not
    // moved while it fills, and the views into it hold.
    split.composed.reserve(record.size());
    const auto add = [&](std::string_view value, bool quoted) {
        split.items.push_back(value);
        split.quoted.push_back(quoted);
    };
    if (unclosed)
        *unclosed = false;

    std::size_t p = 0;
    const std::size_t n = record.size();
    while (p < n) {
        if (split.items.size() == most) {
            split.cut = true;
            break;
        }
        if (record[p] != '"') {
            // Plain item: up to the next comma; the last one only when something is left.
            const std::size_t comma = record.find(',', p);
            const std::size_t stop = comma == std::string_view::npos ? n : comma;
            add(record.substr(p, stop - p), false);
            if (comma == std::string_view::npos)
                break;
            p = comma + 1;
            continue;
        }
        // Quoted item: to the closing quote; a doubled quote is one quote character. Most are
        // the text between two quotes, taken as it stands.
        const std::size_t open = ++p;
        const std::size_t close = record.find('"', open);
        if (close != std::string_view::npos && (close + 1 == n || record[close + 1] == ',')) {
            add(record.substr(open, close - open), true);
            p = close + 2;
            continue;
        }
        std::string& item = split.composed;
        const std::size_t start = item.size();
        bool closed = false;
        while (p < n) {
            const std::size_t quote = record.find('"', p);
            if (quote == std::string_view::npos) {
                item.append(record.substr(p));
                p = n;
                break;
            }
            item.append(record.substr(p, quote - p));
            if (quote + 1 < n && record[quote + 1] == '"') {
                item += '"';
                p = quote + 2;
                continue;
            }
            p = quote + 1;
            closed = true;
            break;
        }
        if (!closed && unclosed)
            *unclosed = true;
        // Anything between the closing quote and the next comma is kept as it stands.
        const std::size_t comma = record.find(',', p);
        const std::size_t stop = comma == std::string_view::npos ? n : comma;
        item.append(record.substr(p, stop - p));
        add(std::string_view(item).substr(start), true);
        if (comma == std::string_view::npos)
            break;
        p = comma + 1;
    }
}

void CheckExchangeItems(ExchangeSplit& split, std::size_t line, long long& jic, long long& shunx,
                        bool maybeOutsideGbk) {
    if (split.items.size() != kExchangeItems || split.cut) {
        throw MlkError(LinePrefix(line) + ItemsExcerpt(split) + "数据项不正确，数据项不为38个");
    }
    for (std::size_t i = 0; i < kExchangeItems; ++i) {
        if (!split.quoted[i])
            split.items[i] = Trimmed(split.items[i]);
    }
    for (std::size_t i = 0; maybeOutsideGbk && i < kExchangeTextItems; ++i)
        RequireItemInGbk(split.items[i], line, i + 1, kExchangeItemsInOrder[i].name);
    jic = WholeNumber(split.items[36], line, 37);
    shunx = WholeNumber(split.items[37], line, 38);
}

void FillRecordTexts(const std::vector<std::string_view>& items, GGJG& record) {
    const auto fields = TextFields(record);
    for (std::size_t i = 0; i < fields.size(); ++i)
        *fields[i] = items[i];
}

// ---- Reading a file ------------------------------------------------------------------------

ExchangeReader::ExchangeReader(const std::filesystem::path& path) : file_(path) {}

bool ExchangeReader::ReadRecord() {
    record_.clear();
    if (!file_.AppendLine(record_))
        return false;
    line_ = file_.Line();
    // A line end inside quotes belongs to the item: the record goes on with the next line.
    std::size_t scanned = 0;
    bool inQuotes = false;
    while ((inQuotes = EndsInsideQuotes(record_, scanned, inQuotes)) && !file_.LineEnd().empty()) {
        record_ += file_.LineEnd();
        scanned = record_.size();
        if (!file_.AppendLine(record_))
            break;
    }
    return true;
}

bool ExchangeReader::Next() {
    if (!ReadRecord())
        return false;
    const bool utf8 = file_.ToUtf8(record_, line_) == TextEncoding::Utf8;
    bool unclosed = false;
    SplitExchangeRecord(record_, split_, &unclosed);
    if (unclosed)
        throw MlkError(LinePrefix(line_) + "双引号没有配对，数据项不正确");
    // One pass over the record usually clears all its items at once.
    CheckExchangeItems(split_, line_, jic_, shunx_,
                       utf8 && !FirstCharacterOutsideGbk(record_).empty());
    return true;
}

bool ExchangeReader::Next(GGJG& record) {
    if (!Next())
        return false;
    FillRecordTexts(split_.items, record);
    record.JiC = jic_;
    record.ShunX = shunx_;
    return true;
}

}  // namespace mlk
