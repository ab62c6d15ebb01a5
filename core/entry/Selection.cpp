#include "entry/Selection.h"

#include <algorithm>

#include "base/MlkError.h"
#include "base/Progress.h"
#include "entry/DivisionLookup.h"
#include "model/GGJG.h"
#include "model/TMainDM.h"
#include "text/Text.h"

namespace mlk {

namespace {

// So many left-out rows are named in the message; the rest are only counted.
constexpr std::size_t kListedRows = 10;

constexpr const char* kUpdateSql = "update MLK_YuanJGXX  set XuanZBZ = ? where id = ?";
constexpr const char* kInDirectorySql = "select 1 from MLK_JiBXX where JiGID = ?";
// Added rows follow the unit's own institutions in their list.
constexpr const char* kLastOrderSql =
    "select coalesce(max(ShunX), 0) from MLK_JiBXX where ShangJBMID = ? and ShuJLY = '0' and "
    "JieDLB = '1'";

// Double quotes never reach the directory.
std::string WithoutQuotes(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '"'), text.end());
    return text;
}

// An own entry like those of the editors: level 1, and its place in the list.
GGJG EntryOf(const InitialRow& row, const XingZQH& division, const std::string& unitID,
             long long order) {
    GGJG entry;
    entry.JiGID = row.ID;
    entry.JiGMC = row.NAME;
    entry.DiZhi_JieD = row.JIED;
    entry.JiGLX = "9900";
    entry.CaiZJFLYFS = "0";
    entry.GengXZT = "3";
    entry.ShenHZT = "0";
    entry.QueRZT = "0";
    entry.JieDLB = "1";
    entry.ShangJBMID = unitID;
    entry.ShuJLY = "0";
    entry.XingZQH = division.xqbm;
    entry.DiZhi_Shen = division.ssmc;
    entry.DiZhi_Shi = division.dsmc;
    entry.DiZhi_Xian = division.xqmc;
    entry.JiC = 1;
    entry.ShunX = order;
    return entry;
}

Params InsertValues(GGJG& entry) {
    Params values = entry.InsertParams();
    for (std::string& value : values)
        value = WithoutQuotes(std::move(value));
    return values;
}

bool InDirectory(Statement& query, const std::string& id) {
    const bool found = query.Bind(1, id).Step();
    query.Reset();
    return found;
}

std::string NamedRows(const std::vector<InitialRow>& rows) {
    std::string text;
    for (std::size_t i = 0; i < rows.size() && i < kListedRows; ++i) {
        if (i)
            text += "、";
        text += rows[i].NAME;
    }
    if (rows.size() > kListedRows)
        text += "等";
    return text;
}

}  // namespace

InitialRow InitialRow::FromRow(const Statement& row) {
    return {row.Text("ID"), row.Text("NAME"), row.Text("BM"),   row.Text("SF"),
            row.Text("DS"), row.Text("XQ"),   row.Text("JIED"), row.Text("XuanZBZ")};
}

namespace {

ListQueryBuilder FilteredRows(const SelectionFilter& filter, std::string order) {
    ListQueryBuilder query("Select ID,NAME,BM,SF,DS,XQ,JIED,XuanZBZ ", " From MLK_YuanJGXX JG ",
                           " where 1=1 ", {}, std::move(order));
    const std::string name = Trim(filter.name);
    if (!name.empty())
        query.AddCondition(" AND JG.NAME like ?", "%" + name + "%");
    const std::string address = Trim(filter.address);
    if (!address.empty())
        query.AddCondition(" AND JG.JIED like ?", "%" + address + "%");
    if (filter.stateChosen) {
        query.AddCondition(" AND JG.XuanZBZ = ?", filter.stateText.substr(0, 1));
    }
    return query;
}

}  // namespace

ListQueryBuilder SelectionQuery(const SelectionFilter& filter) {
    return FilteredRows(filter, " order by SF,DS,XQ,BM ");
}

std::vector<InitialRow> UnchosenRows(TMainDM& dm, SelectionFilter filter) {
    filter.stateText = "0";
    filter.stateChosen = true;
    std::vector<InitialRow> rows;
    // In file order, which spares sorting hundreds of thousands of rows and writes the
    // directory in the order its ids came; a negative limit is no limit.
    Statement page = FilteredRows(filter, " order by JG.rowid ").PageStatement(dm.Db(), -1, 1);
    while (page.Step())
        rows.push_back(InitialRow::FromRow(page));
    return rows;
}

std::vector<InitialRow> RowsByIds(TMainDM& dm, const std::vector<std::string>& ids) {
    std::vector<InitialRow> rows;
    Statement query(dm.Db(),
                    "Select ID,NAME,BM,SF,DS,XQ,JIED,XuanZBZ  From MLK_YuanJGXX JG  where ID = ? "
                    "limit 1");
    for (const std::string& id : ids) {
        if (!query.Bind(1, id).Step())
            throw MlkError("初始数据中没有机构ID为" + id + "的机构。");
        rows.push_back(InitialRow::FromRow(query));
        query.Reset();
    }
    return rows;
}

std::string SelectionQuestion(std::size_t chosen) {
    return "确认将选择的 (" + std::to_string(chosen) + ") 条机构信息添加到名录库中？";
}

SelectionResult AddToDirectory(TMainDM& dm, const std::vector<InitialRow>& rows,
                               Progress* progress) {
    SelectionResult result;
    if (rows.empty())
        return result;
    if (!dm.Unit().ZhuCeBZ)
        throw MlkError("操作单位尚未注册，不能添加到名录库。");
    if (progress)
        progress->SetRange(std::int64_t(rows.size()));
    DivisionLookup divisions(dm);
    const std::string unitID = dm.Unit().DanWID;

    Transaction transaction(dm.Db());
    long long order = dm.QueryInt(kLastOrderSql, {unitID});
    Statement insert(dm.Db(), GGJG::InsertSQL());
    Statement update(dm.Db(), kUpdateSql);
    Statement inDirectory(dm.Db(), kInDirectorySql);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const InitialRow& row = rows[i];
        if (progress)
            progress->SetPosition(std::int64_t(i) + 1);
        if (InDirectory(inDirectory, WithoutQuotes(row.ID))) {
            result.alreadyInDirectory.push_back(row);
        } else if (const XingZQH& division = divisions.Find(row.SF, row.DS, row.XQ);
                   !division.xqbm.empty()) {
            GGJG entry = EntryOf(row, division, unitID, ++order);
            insert.BindAll(InsertValues(entry)).Run();
            insert.Reset();
            ++result.added;
        } else {
            result.divisionNotFound.push_back(row);
            continue;  // stays "0": it can be added once its division exists
        }
        update.BindAll({"1", row.ID}).Run();
        update.Reset();
    }
    transaction.Commit();
    return result;
}

std::string SelectionMessage(const SelectionResult& result) {
    std::string message = std::to_string(result.added) + "条机构信息成功添加到名录库中！";
    if (!result.divisionNotFound.empty()) {
        message += "\n" + std::to_string(result.divisionNotFound.size()) +
                   "条机构的省、市、县在行政区划中找不到，未添加，仍为未入库：" +
                   NamedRows(result.divisionNotFound) + "。";
    }
    if (!result.alreadyInDirectory.empty()) {
        message += "\n" + std::to_string(result.alreadyInDirectory.size()) +
                   "条机构已在名录库中，未重复添加，已标为已入库：" +
                   NamedRows(result.alreadyInDirectory) + "。";
    }
    return message;
}

}  // namespace mlk
