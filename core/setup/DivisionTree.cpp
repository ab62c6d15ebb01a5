#include "setup/DivisionTree.h"

#include <algorithm>

#include "base/MlkError.h"
#include "model/TMainDM.h"
#include "text/Gbk.h"
#include "text/Text.h"

namespace mlk {

namespace {

constexpr std::size_t kCodeLength = 6;

std::vector<XingZQH> Divisions(TMainDM& dm, const std::string& sql, const Params& params) {
    std::vector<XingZQH> divisions;
    dm.ForEachRow(sql, params,
                  [&](const Statement& row) { divisions.push_back(XingZQH::FromRow(row)); });
    return divisions;
}

bool AllDigits(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The code's length as the offices count it, in GBK bytes; a character GBK cannot hold makes
// the length wrong, which the check reports like any other.
std::size_t CodeLength(const std::string& code) {
    try {
        return GbkLength(code);
    } catch (const MlkError&) {
        return 0;
    }
}

// The place of a new code under its parent, as every code of the delivered table has it.
CheckResult CheckUnderParent(const XingZQH& parent, const std::string& code) {
    if (parent.XZJB == "省") {
        const std::string province = parent.code.substr(0, 2);
        if (code.compare(0, 2, province) != 0 || code.compare(4, 2, "00") != 0) {
            return CheckFailure{
                "地市的行政区划代码须以所属省份代码的前两位“" + province + "”开头、以“00”结尾",
                "EDCode"};
        }
    } else {
        const std::string city = parent.code.substr(0, 4);
        if (code.compare(0, 4, city) != 0 || code.compare(4, 2, "00") == 0) {
            return CheckFailure{
                "区县的行政区划代码须以所属地市代码的前四位“" + city + "”开头，且不能以“00”结尾",
                "EDCode"};
        }
    }
    return std::nullopt;
}

// What uses a division, in words for the refusal; empty when nothing does.
std::string UserOf(TMainDM& dm, const XingZQH& division) {
    // The division's code and, for a city, those of its counties.
    const std::string codes =
        " in (select code from MLK_XingZQH where code = ?1 or parentCode = ?1)";
    const std::pair<const char*, const char*> tables[] = {
        {"MLK_JiBXX", "名录库中的机构"},
        {"MLK_DaiDRJG", "待导入机构"},
        {"MLK_CaoZDWXX", "操作单位"},
    };
    for (const auto& [table, user] : tables) {
        if (dm.HasRow(std::string("select 1 from ") + table + " where XingZQH" + codes,
                      {division.code}))
            return user;
    }
    // The selection finds a division by the line's name within the division's.
    const std::string column = division.XZJB == "县" ? "XQ" : "DS";
    return dm.HasRow("select 1 from MLK_YuanJGXX where " + column + " <> '' and instr(?, " +
                         column + ") > 0",
                     {division.name})
               ? "初始数据"
               : "";
}

}  // namespace

std::vector<XingZQH> ProvinceDivisions(TMainDM& dm) {
    return Divisions(
        dm, "SELECT code,name,parentCode,XZJB FROM MLK_XingZQH WHERE XZJB='省' ORDER BY code", {});
}

std::vector<XingZQH> ChildDivisions(TMainDM& dm, const std::string& parentCode) {
    return Divisions(dm,
                     "SELECT code,name,parentCode,XZJB FROM MLK_XingZQH  WHERE parentCode = ? "
                     "ORDER BY code",
                     {parentCode});
}

bool CanHaveChildren(const XingZQH& division) {
    return division.XZJB != "县";
}

CheckResult CheckAddUnder(const XingZQH* parent) {
    if (!parent)
        return CheckFailure{"请选择一个上级行政区划", "TreeView1"};
    if (!CanHaveChildren(*parent))
        return CheckFailure{"不可以新增区县以下的行政区划", "TreeView1"};
    if (parent->XZJB != "省" && parent->XZJB != "市") {
        return CheckFailure{"请选择一个上级行政区划", "TreeView1"};
    }
    return std::nullopt;
}

CheckResult CheckNewDivision(TMainDM& dm, const XingZQH& parent, const std::string& name,
                             const std::string& code) {
    const std::string trimmedName = Trim(name);
    const std::string trimmedCode = Trim(code);
    if (trimmedName.empty())
        return CheckFailure{"名称不能为空", "EDName"};
    if (CheckResult failure = FirstOutsideGbk({{trimmedName, "行政区划名称", "EDName"}}))
        return failure;
    if (trimmedCode.empty())
        return CheckFailure{"行政区划不能为空", "EDCode"};
    if (CodeLength(trimmedCode) != kCodeLength) {
        return CheckFailure{"行政区划长度必须为6位", "EDCode"};
    }
    if (!AllDigits(trimmedCode)) {
        return CheckFailure{"行政区划只能由0到9的数字组成", "EDCode"};
    }
    if (CheckResult refused = CheckUnderParent(parent, trimmedCode))
        return refused;
    if (dm.HasRow("select * from MLK_XingZQH where code = ?", {trimmedCode})) {
        return CheckFailure{"行政区划已经存在", "EDCode"};
    }
    return std::nullopt;
}

XingZQH NewDivision(const XingZQH& parent, const std::string& name, const std::string& code) {
    XingZQH division;
    division.name = Trim(name);
    division.code = Trim(code);
    division.parentCode = parent.code;
    division.XZJB = parent.XZJB == "省" ? "市" : "县";
    return division;
}

void InsertDivision(TMainDM& dm, const XingZQH& division) {
    dm.ExecSQL("insert into MLK_XingZQH (code,name,parentCode,XZJB) values (?,?,?,? )",
               {division.code, division.name, division.parentCode, division.XZJB});
}

}  // namespace mlk

namespace mlk {

CheckResult CheckChangeDivision(TMainDM& dm, const XingZQH& division, bool removing) {
    if (division.XZJB != "市" && division.XZJB != "县")
        return CheckFailure{"省级行政区划不能修改或删除", "TreeView1"};
    if (removing && dm.HasRow("select 1 from MLK_XingZQH where parentCode = ?", {division.code}))
        return CheckFailure{"该行政区划下还有下级行政区划，不能删除", "TreeView1"};
    if (const std::string user = UserOf(dm, division); !user.empty())
        return CheckFailure{"该行政区划已被" + user + "使用，不能修改或删除", "TreeView1"};
    return std::nullopt;
}

void RenameDivision(TMainDM& dm, const XingZQH& division, const std::string& name) {
    const std::string trimmed = Trim(name);
    if (trimmed.empty())
        throw MlkError("名称不能为空");
    if (const CheckResult failure = FirstOutsideGbk({{trimmed, "行政区划名称", "EDName"}}))
        throw MlkError(failure->message);
    Transaction transaction(dm.Db());
    if (const CheckResult refused = CheckChangeDivision(dm, division, false))
        throw MlkError(refused->message);
    dm.ExecSQL("update MLK_XingZQH set name = ? where code = ?", {trimmed, division.code});
    transaction.Commit();
}

std::string RemoveDivisionQuestion(const XingZQH& division) {
    return "确认删除行政区划“" + division.name + "”（" + division.code + "）？";
}

void RemoveDivision(TMainDM& dm, const XingZQH& division) {
    Transaction transaction(dm.Db());
    if (const CheckResult refused = CheckChangeDivision(dm, division, true))
        throw MlkError(refused->message);
    dm.ExecSQL("delete from MLK_XingZQH where code = ?", {division.code});
    transaction.Commit();
}

}  // namespace mlk
