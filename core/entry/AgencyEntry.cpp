#include "entry/AgencyEntry.h"

#include <utility>

#include "entry/EntryActions.h"
#include "model/TMainDM.h"
#include "text/Text.h"

namespace mlk {

namespace {

// The node type of every management agency.
const std::string kAgencyNodeType = "0";

void FillAgency(GGJG& r, const AgencyForm& form) {
    r.JiGMC = Trim(form.JiGMC);
    r.JieDMC = Trim(form.JieDMC);
    r.LianXRXM = Trim(form.LianXR);
    r.LianXDH = Trim(form.LianXDH);
    r.JieDLB = kAgencyNodeType;
    r.ChuSHSJ = TMainDM::NowText();
    ParseInt(Trim(form.ShunX), r.ShunX);
}

}  // namespace

AgencyForm AgencyFormOf(const GGJG& r) {
    return {r.JiGMC, r.LianXRXM, r.LianXDH, r.JieDMC, std::to_string(r.ShunX)};
}

CheckResult CheckAgency(const AgencyForm& form) {
    if (CheckResult failure = FirstOutsideGbk({
            {form.JiGMC, "单位详细名称", "EDJiGMC"},
            {form.JieDMC, "节点名称", "EDJieDMC"},
            {form.LianXR, "机构联系人", "EDLianXR"},
            {form.LianXDH, "联系电话", "EDLianXDH"},
        }))
        return failure;
    if (CheckResult failure = FirstBlank({
            {form.JiGMC, "单位详细名称不能为空！", "EDJiGMC"},
            {form.JieDMC, "节点名称不能为空！", "EDJieDMC"},
            {form.LianXR, "机构联系人不能为空！", "EDLianXR"},
            {form.LianXDH, "联系电话不能为空！", "EDLianXDH"},
            {form.ShunX, "排序不能为空！", "EDShunX"},
        }))
        return failure;
    return NotWholeNumber({form.ShunX, "排序必须为整数！", "EDShunX"}, "排序");
}

GGJG InsertAgency(TMainDM& dm, const AgencyForm& form) {
    GGJG r;
    FillAgency(r, form);
    // An agency has no county to head its id.
    InsertEntry(dm, r, "");
    return r;
}

void UpdateAgency(TMainDM& dm, GGJG working, const AgencyForm& form) {
    FillAgency(working, form);
    UpdateEntry(dm, std::move(working));
}

}  // namespace mlk
