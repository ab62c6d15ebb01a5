#include "reports/Quality.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <unordered_map>
#include <unordered_set>

#include "exchange/RowUnits.h"
#include "forms/CodeCheck.h"
#include "model/TMainDM.h"
#include "text/Text.h"

namespace mlk {

namespace {

enum Category : std::size_t {
    kCheckCharacter,
    kDuplicateCode,
    kDuplicateName,
    kPostalCode,
    kPhone,
    kDivision,
    kType,
    kIndustry
};

// Others a duplicate names in its explanation before "等".
constexpr std::size_t kNamedOthers = 5;

struct Finding {
    std::string jigid, name, unit, explanation;
    bool own = false;
};

bool AllDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool IsMobile(std::string_view number) {
    return number.size() == 11 && number[0] == '1' && AllDigits(number);
}

// The area code (0 and two or three digits) and the local number (seven or eight digits, not
// beginning with 0), together or apart.
bool IsAreaAndNumber(const std::vector<std::string>& parts) {
    const auto local = [](std::string_view n) {
        return (n.size() == 7 || n.size() == 8) && n[0] != '0';
    };
    if (parts.size() == 1) {
        const std::string& all = parts[0];
        return all.size() >= 10 && all.size() <= 12 && all[0] == '0' &&
               (local(std::string_view(all).substr(3)) || local(std::string_view(all).substr(4)));
    }
    return parts.size() == 2 && parts[0][0] == '0' && parts[0].size() >= 3 &&
           parts[0].size() <= 4 && local(parts[1]);
}

// A fixed line with its area code: "010-65123456", "(010)65123456", "01065123456", with an
// extension after "-" or "转".
bool IsFixedLine(std::string_view number) {
    std::vector<std::string> parts(1);
    for (std::size_t i = 0; i < number.size(); ++i) {
        const char c = number[i];
        if (c >= '0' && c <= '9') {
            parts.back() += c;
        } else if (c == '-' || c == ' ' || c == '(' || c == ')' || number.substr(i, 3) == "转") {
            if (number.substr(i, 3) == "转")
                i += 2;
            if (!parts.back().empty())
                parts.emplace_back();
        } else {
            return false;
        }
    }
    if (parts.back().empty())
        parts.pop_back();
    if (parts.empty())
        return false;
    if (IsAreaAndNumber(parts))
        return true;
    // The last part an extension of up to six digits.
    const std::size_t extension = parts.back().size();
    parts.pop_back();
    return extension <= 6 && !parts.empty() && IsAreaAndNumber(parts);
}

bool IsIndustryCode(std::string_view code) {
    return !code.empty() && code.size() <= 5 && code[0] >= 'A' && code[0] <= 'T' &&
           AllDigits(code.substr(1));
}

// The first two digits of the postal codes of each province, by the first two digits of its
// division code.
const std::unordered_map<std::string_view, std::string_view>& PostalPrefixes() {
    static const std::unordered_map<std::string_view, std::string_view> prefixes = {
        {"11", "10"},       {"12", "30"},    {"13", "05 06 07"},    {"14", "03 04"},
        {"15", "01 02"},    {"21", "11 12"}, {"22", "13"},          {"23", "15 16"},
        {"31", "20"},       {"32", "21 22"}, {"33", "31 32"},       {"34", "23 24"},
        {"35", "35 36"},    {"36", "33 34"}, {"37", "25 26 27"},    {"41", "45 46 47"},
        {"42", "43 44"},    {"43", "41 42"}, {"44", "51 52"},       {"45", "53 54"},
        {"46", "57"},       {"50", "40"},    {"51", "61 62 63 64"}, {"52", "55 56"},
        {"53", "65 66 67"}, {"54", "85"},    {"61", "71 72"},       {"62", "73 74"},
        {"63", "81"},       {"64", "75"},    {"65", "83 84"}};
    return prefixes;
}

std::string Quoted(std::string_view text) {
    return "“" + Excerpt(text, 40) + "”";
}

// A row of the directory as the checks read it.
struct Row {
    std::string_view jigid, name, code, division, type, industry, postal, phone, node, source,
        reporter, superior;
};

class QualityCheck {
  public:
    explicit QualityCheck(TMainDM& dm) : dm_(dm), units_(dm) {
        dm.ForEachRow("select code from MLK_XingZQH", {},
                      [&](const Statement& r) { divisions_.insert(r.Text(0)); });
        dm.ForEachRow("select LXBM from MLK_JiGLX where shifmx = '1'", {},
                      [&](const Statement& r) { types_.insert(r.Text(0)); });
    }

    void Scan(Progress& progress) {
        Statement rows(dm_.Db(),
                       "select rowid, JiGID, JiGMC, ZuZJGDM, XingZQH, JiGLX, HangYDM, YouZBM, "
                       "LianXDH, JieDLB, ShuJLY, ShangBJGID, ShangJBMID from MLK_JiBXX");
        const std::int64_t last = dm_.QueryInt("select coalesce(max(rowid), 0) from MLK_JiBXX");
        progress.SetRange(last + 1);
        std::string key;
        for (std::int64_t n = 0; rows.Step(); ++n) {
            const Row row{rows.TextView(1),  rows.TextView(2),  rows.TextView(3),
                          rows.TextView(4),  rows.TextView(5),  rows.TextView(6),
                          rows.TextView(7),  rows.TextView(8),  rows.TextView(9),
                          rows.TextView(10), rows.TextView(11), rows.TextView(12)};
            const std::int64_t rowid = rows.Int(0);
            Look(row);
            if (row.node != "0") {
                if (!row.code.empty())
                    codes_.push_back({Hash(row.code), rowid});
                key.assign(row.division).append(1, '\x1f').append(row.name);
                if (!row.name.empty())
                    names_.push_back({Hash(key), rowid});
            }
            if (n % 4096 == 0)
                progress.SetPosition(rowid);
        }
        AddDuplicates(kDuplicateCode, codes_);
        AddDuplicates(kDuplicateName, names_);
        progress.SetPosition(last + 1);
    }

    QualityReport Report() {
        QualityReport report;
        for (std::size_t c = 0; c < found_.size(); ++c) {
            report.counts[c] = found_[c].size();
            for (Finding& f : found_[c]) {
                report.findings.push_back(std::initializer_list<std::string_view>{
                    kQualityCategories[c], f.jigid, f.name, f.unit, f.explanation});
                report.own.push_back(f.own);
            }
            found_[c].clear();
        }
        return report;
    }

  private:
    struct Key {
        std::uint64_t hash;
        std::int64_t rowid;
        bool operator<(const Key& other) const {
            return hash != other.hash ? hash < other.hash : rowid < other.rowid;
        }
    };

    static std::uint64_t Hash(std::string_view text) { return std::hash<std::string_view>{}(text); }

    void Add(Category category, const Row& row, std::string explanation) {
        found_[category].push_back({std::string(row.jigid), std::string(row.name),
                                    units_.Of(row.source, row.reporter), std::move(explanation),
                                    row.source == "0" && row.superior == dm_.Unit().DanWID});
    }

    // The checks of one row that need no other row.
    void Look(const Row& row) {
        if (!row.phone.empty() ? !IsMobile(row.phone) && !IsFixedLine(row.phone) : true) {
            Add(kPhone, row,
                row.phone.empty() ? "没有联系电话"
                                  : "联系电话" + Quoted(row.phone) +
                                        "既不是带区号的固定电话，也不是11位手机号码");
        }
        if (row.node == "0")
            return;  // an energy-saving management agency has no codes and no address
        LookAtCode(row);
        LookAtPostalCode(row);
        if (!divisions_.contains(row.division)) {
            Add(kDivision, row,
                row.division.empty()
                    ? "没有行政区划代码"
                    : "行政区划代码" + Quoted(row.division) + "不在行政区划代码表中");
        }
        if (!types_.contains(row.type)) {
            Add(kType, row,
                row.type.empty() ? "没有机构类型代码"
                                 : "机构类型代码" + Quoted(row.type) + "不是可以选择的机构类型");
        }
        if (!IsIndustryCode(row.industry)) {
            Add(kIndustry, row,
                "行业代码" + Quoted(row.industry) + "应为一个字母（A至T）后跟至多4位数字");
        }
    }

    void LookAtCode(const Row& row) {
        if (row.code.empty()) {
            Add(kCheckCharacter, row, "没有组织机构代码");
        } else if (OrganisationCheckCharacter(row.code) == '\0' || row.code.size() != 9) {
            Add(kCheckCharacter, row,
                "组织机构代码" + Quoted(row.code) + "不是9位数字或大写字母，无法核对校验位");
        } else if (const std::optional<std::string> wrong = OrganisationCheckWarning(row.code)) {
            Add(kCheckCharacter, row, std::string(row.code) + "：" + *wrong);
        }
    }

    void LookAtPostalCode(const Row& row) {
        const auto prefixes = PostalPrefixes().find(row.division.substr(0, 2));
        if (row.division.size() < 2 || prefixes == PostalPrefixes().end())
            return;  // no province to hold it against
        const bool digits = row.postal.size() == 6 && AllDigits(row.postal);
        for (std::size_t at = 0; digits && at < prefixes->second.size(); at += 3) {
            if (prefixes->second.substr(at, 2) == row.postal.substr(0, 2))
                return;
        }
        std::string province = ProvinceName(row.division.substr(0, 2));
        std::string allowed(prefixes->second);
        std::replace(allowed.begin(), allowed.end(), ' ', '/');
        Add(kPostalCode, row,
            (digits ? "邮政编码" + std::string(row.postal) + "与" + province + "不符"
                    : "邮政编码" + Quoted(row.postal) + "不是6位数字") +
                "，" + province + "的邮政编码以" + allowed + "开头");
    }

    const std::string& ProvinceName(std::string_view prefix) {
        const auto [at, fresh] = provinces_.try_emplace(std::string(prefix));
        if (fresh) {
            at->second =
                dm_.QueryText("select name from MLK_XingZQH where code = ?", {at->first + "0000"});
        }
        return at->second;
    }

    // Rows whose keys hash alike are read again and grouped by the key itself; each group of
    // two or more is a finding for each of its rows, naming the others. Groups come in the order
    // of their first rows.
    void AddDuplicates(Category category, std::vector<Key>& keys) {
        std::sort(keys.begin(), keys.end());
        Statement read(dm_.Db(),
                       "select JiGID, JiGMC, ZuZJGDM, XingZQH, ShuJLY, ShangBJGID, ShangJBMID "
                       "from MLK_JiBXX where rowid = ?");
        struct Member {
            std::int64_t rowid;
            std::string jigid, name, code, division, source, reporter, superior;
        };
        std::vector<std::vector<Member>> groups;
        for (std::size_t i = 0; i < keys.size();) {
            std::size_t end = i + 1;
            while (end < keys.size() && keys[end].hash == keys[i].hash)
                ++end;
            if (end - i > 1) {
                std::map<std::string, std::vector<Member>> exact;
                std::vector<std::string> order;
                for (std::size_t k = i; k < end; ++k) {
                    read.Bind(1, keys[k].rowid);
                    if (read.Step()) {
                        Member m{keys[k].rowid, read.Text(0), read.Text(1), read.Text(2),
                                 read.Text(3),  read.Text(4), read.Text(5), read.Text(6)};
                        const std::string key =
                            category == kDuplicateCode ? m.code : m.division + '\x1f' + m.name;
                        auto& group = exact[key];
                        if (group.empty())
                            order.push_back(key);
                        group.push_back(std::move(m));
                    }
                    read.Reset();
                }
                for (const std::string& key : order) {
                    if (exact[key].size() > 1)
                        groups.push_back(std::move(exact[key]));
                }
            }
            i = end;
        }
        // Within a group the rows stand in the directory's order; groups by their first row.
        std::sort(groups.begin(), groups.end(),
                  [](const auto& a, const auto& b) { return a.front().rowid < b.front().rowid; });
        for (const std::vector<Member>& group : groups) {
            for (const Member& m : group) {
                std::vector<std::string> others;
                for (const Member& o : group) {
                    if (&o == &m || others.size() == kNamedOthers)
                        continue;
                    others.push_back(category == kDuplicateCode
                                         ? o.name + "（" + units_.Of(o.source, o.reporter) + "）"
                                         : o.jigid + "（" + units_.Of(o.source, o.reporter) + "）");
                }
                const std::string more = group.size() - 1 > kNamedOthers
                                             ? "等" + std::to_string(group.size() - 1) + "条"
                                             : "";
                const Row row{m.jigid, m.name, m.code, m.division, {},         {},
                              {},      {},     "1",    m.source,   m.reporter, m.superior};
                Add(category, row,
                    category == kDuplicateCode
                        ? "组织机构代码" + m.code + "还用于：" + Join(others, "、") + more
                        : "行政区划" + m.division + "中还有同名机构：" + Join(others, "、") + more);
            }
        }
    }

    TMainDM& dm_;
    RowUnits units_;
    std::unordered_set<std::string, TextHash, std::equal_to<>> divisions_, types_;
    std::unordered_map<std::string, std::string> provinces_;
    std::vector<Key> codes_, names_;
    std::array<std::vector<Finding>, kQualityCategories.size()> found_;
};

}  // namespace

QualityReport CheckQuality(TMainDM& dm, Progress& progress) {
    QualityCheck check(dm);
    check.Scan(progress);
    return check.Report();
}

SummaryTable QualityTable(const QualityReport& report) {
    SummaryTable table;
    table.columns =
        ParseColumnDefs({"A0-序号-40", "LeiB-类别-130", "JiGID-机构ID-130", "JiGMC-机构名称-200",
                         "SuoSDW-所属单位-120", "ShuoM-说明-400"});
    table.figureColumns = {0};
    table.filtered = true;
    table.rows.reserve(report.findings.size());
    std::vector<std::string_view> cells;
    for (std::size_t i = 0; i < report.findings.size(); ++i) {
        const std::string number = std::to_string(i + 1);
        const TextRows::Row finding = report.findings[i];
        finding.Views(cells);
        cells.insert(cells.begin(), number);
        table.rows.push_back(cells);
    }
    return table;
}

std::string QualityCounts(const QualityReport& report) {
    std::string text = "共 " + std::to_string(report.findings.size()) + " 条问题";
    for (std::size_t c = 0; c < report.counts.size(); ++c) {
        if (report.counts[c] > 0)
            text +=
                "　" + std::string(kQualityCategories[c]) + " " + std::to_string(report.counts[c]);
    }
    return text;
}

}  // namespace mlk
