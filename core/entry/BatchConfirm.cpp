#include "entry/BatchConfirm.h"

#include "entry/EntryActions.h"
#include "entry/OwnEntries.h"
#include "model/TMainDM.h"
#include "text/Text.h"

namespace mlk {

ListQueryBuilder UnconfirmedListQuery(const std::string& danWID, const UnconfirmedFilter& filter) {
    ListQueryBuilder query(
        "Select JG.JiGID,JG.JiGMC,JG.JieDLB,JG.ZuZJGDM,JG.DiZhi_Shen,JG.DiZhi_Shi,JG.DiZhi_Xian,"
        "JG.LianXRXM ",
        " From MLK_JiBXX JG ",
        " where JG.ShuJLY='0' and JG.ShangJBMID = ? and coalesce(JG.QueRZT, '') <> '1' ", {danWID},
        " order by JG.JieDLB desc, JG.ShunX, JG.CaiZJFLYFS desc, JG.JiGLX desc ");
    if (const std::string name = Trim(filter.name); !name.empty())
        query.AddCondition(" AND JG.JiGMC like ?", "%" + name + "%");
    if (!filter.node.empty())
        query.AddCondition(" AND JG.JieDLB = ?", filter.node);
    return query;
}

std::vector<std::string> UnconfirmedOwnEntries(TMainDM& dm) {
    std::vector<std::string> ids;
    Statement rows = UnconfirmedListQuery(dm.Unit().DanWID, {}).AllRowsStatement(dm.Db());
    while (rows.Step())
        ids.push_back(rows.Text(0));
    return ids;
}

const std::vector<std::string>& UnconfirmedColumns() {
    static const std::vector<std::string> columns = {
        "A0-序号-40",         "JiGID-机构ID-0",          "JiGMC-机构名称-200",
        "JieDLB-节点类别-90", "ZuZJGDM-组织机构代码-90", "XingZQH-行政区划-120",
        "LianXRXM-联系人-60", "JianCJG-核查结果-200"};
    return columns;
}

std::vector<std::string> UnconfirmedCells(TMainDM& dm, const Statement& row) {
    const std::string id = row.Text("JiGID");
    const CheckResult failure = CheckConfirm(dm, GGJG::LoadByJiGID(dm, id));
    return {id,
            row.Text("JiGMC"),
            dm.CodeLabel(row.Text("JieDLB"), "JieDLB"),
            row.Text("ZuZJGDM"),
            row.Text("DiZhi_Shen") + row.Text("DiZhi_Shi") + row.Text("DiZhi_Xian"),
            row.Text("LianXRXM"),
            failure ? failure->message : kCheckPassed};
}

std::vector<ConfirmOutcome> ConfirmOwnEntries(TMainDM& dm, const std::vector<std::string>& ids,
                                              Progress& progress) {
    std::vector<ConfirmOutcome> outcomes;
    progress.SetRange(std::int64_t(ids.size()));
    Transaction transaction(dm.Db());
    for (const std::string& id : ids) {
        const std::optional<GGJG> entry = FindOwnEntry(dm, id);
        ConfirmOutcome outcome{id, entry ? entry->JiGMC : "", std::nullopt};
        outcome.failure =
            entry ? CheckConfirm(dm, *entry) : CheckFailure{NotOwnEntryMessage(id), ""};
        if (!outcome.failure)
            WriteConfirmation(dm, *entry);
        outcomes.push_back(std::move(outcome));
        progress.SetPosition(std::int64_t(outcomes.size()));
    }
    transaction.Commit();
    return outcomes;
}

std::string ConfirmSummary(const std::vector<ConfirmOutcome>& outcomes) {
    std::size_t refused = 0;
    for (const ConfirmOutcome& outcome : outcomes)
        refused += outcome.failure ? 1 : 0;
    return "通过核查 " + std::to_string(outcomes.size() - refused) + " 条，未通过 " +
           std::to_string(refused) + " 条";
}

std::string BatchConfirmQuestion(std::size_t chosen, std::size_t failing) {
    std::string question =
        "请确认所选的" + std::to_string(chosen) + "条机构信息是否完整，确认后不能再修改和删除！";
    if (failing > 0)
        question += "\n其中" + std::to_string(failing) + "条未通过检查，不会确认。";
    return question;
}

}  // namespace mlk
