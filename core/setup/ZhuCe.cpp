#include "setup/ZhuCe.h"

#include "base/MlkError.h"
#include "model/CodeTables.h"
#include "model/TMainDM.h"
#include "text/Text.h"

namespace mlk::setup {
namespace {

// The checks shared by the node-name rule and the registration: full name, level, division.
CheckResult CheckNameLevelDivision(const ZhuCeInput& input) {
    if (Trim(input.editJgmc).empty())
        return CheckFailure{"单位全称不能为空。", "editJgmc"};
    if (CheckResult failure = FirstOutsideGbk({{input.editJgmc, "单位全称", "editJgmc"}}))
        return failure;
    if (!IsItemChosen(input.cbXingZLSJB))
        return CheckFailure{"行政隶属级别不能为空。", "cbXingZLSJB"};
    if (!IsItemChosen(input.cbXingZQHSS))
        return CheckFailure{"行政区划省市不能为空。", "cbXingZQHSS"};
    if (!IsItemChosen(input.cbXingZQHDS))
        return CheckFailure{"行政区划地市不能为空。", "cbXingZQHDS"};
    if (!IsItemChosen(input.cbXingZQHXQ))
        return CheckFailure{"行政区划县区不能为空。", "cbXingZQHXQ"};
    return std::nullopt;
}

}  // namespace

bool IsItemChosen(const std::string& item) {
    const std::string text = Trim(item);
    return !text.empty() && text != kAllItem;
}

NodeNameResult DeriveJieDMC(const ZhuCeInput& input) {
    NodeNameResult result;
    result.failure = CheckNameLevelDivision(input);
    if (result.failure || !IsItemChosen(input.cbJieDLB))
        return result;
    if (ItemCode(input.cbJieDLB) == "1") {
        // A competent department is its own node.
        result.name = Trim(input.editJgmc);
        return result;
    }
    // An energy-saving management agency is named after the division it serves.
    const std::string level = ItemCode(input.cbXingZLSJB);
    if (level == "1")
        result.name = std::string(kRootName);
    else if (level == "2")
        result.name = ItemLabel(input.cbXingZQHSS);
    else if (level == "3")
        result.name = ItemLabel(input.cbXingZQHDS);
    else if (level == "4")
        result.name = ItemLabel(input.cbXingZQHXQ);
    return result;
}

CheckResult CheckZhuCe(const ZhuCeInput& input) {
    if (CheckResult failure = CheckNameLevelDivision(input))
        return failure;
    if (!IsItemChosen(input.cbJieDLB))
        return CheckFailure{"单位类型不能为空。", "cbJieDLB"};
    if (Trim(input.EditJieDMC).empty())
        return CheckFailure{"节点名称不能为空。", "EditJieDMC"};
    if (Trim(input.editTianBRXM).empty())
        return CheckFailure{"填表人姓名不能为空。", "editTianBRXM"};
    return FirstOutsideGbk({
        {input.EditJieDMC, "节点名称", "EditJieDMC"},
        {input.editTianBRXM, "填表人姓名", "editTianBRXM"},
    });
}

CheckResult ZhuCe(TMainDM& dm, const ZhuCeInput& input) {
    if (dm.Unit().ZhuCeBZ) {
        throw MlkError("本软件的使用单位已经注册（" + dm.Unit().DanWMC + "），不能再次注册。");
    }
    if (CheckResult failure = CheckZhuCe(input))
        return failure;
    const std::string xingZQH = ItemCode(input.cbXingZQHXQ);
    dm.ExecSQL(
        "insert into MLK_CaoZDWXX (DanWID,DanWMC, XingZQH,XingZLSJB,DanWLX,YouZBM, JieDMC,"
        "TianBRXM,ChuSHSJ,TongJY,DanWFZR) values ( ?,?,?,?,?,?,?,?,?,?,?)",
        {xingZQH + TMainDM::NewID(), Trim(input.editJgmc), xingZQH, ItemCode(input.cbXingZLSJB),
         ItemCode(input.cbJieDLB), xingZQH, Trim(input.EditJieDMC), Trim(input.editTianBRXM),
         input.EditTianBSJ, "", ""});
    dm.LoadCaoZDWXX();
    return std::nullopt;
}

ZhuCeInput InputFromCodes(TMainDM& dm, const ZhuCeCodes& codes) {
    ZhuCeInput input;
    input.editJgmc = codes.name;
    input.cbXingZLSJB = dm.Codes().ChooseCode(codes.level, "XingZLSJB", "行政隶属级别");
    input.cbJieDLB = dm.Codes().ChooseCode(codes.type, "JieDLB", "单位类型");
    input.editTianBRXM = codes.person;
    input.EditTianBSJ = TMainDM::NowText();
    input.cbXingZQHSS = input.cbXingZQHDS = input.cbXingZQHXQ = std::string(kAllItem);
    if (!codes.division.empty()) {
        const TMainDM::DivisionItems chosen = dm.ChooseDivision(codes.division);
        input.cbXingZQHSS = chosen.province;
        input.cbXingZQHDS = chosen.city;
        input.cbXingZQHXQ = chosen.county;
    }
    input.EditJieDMC = codes.nodeName.empty() ? DeriveJieDMC(input).name : codes.nodeName;
    return input;
}

}  // namespace mlk::setup
