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

CheckResult CheckNewDivision(TMainDM& dm, const std::string& name, const std::string& code) {
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
