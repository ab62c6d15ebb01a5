#include "entry/EntryList.h"

#include <utility>

#include "model/CodeTables.h"
#include "text/Text.h"

namespace mlk {

namespace {

constexpr const char* kSelect =
    "Select JG.JiGID,JG.JiGMC,JG.ZuZJGDM,JG.HangYDM,JG.XingZQH, JG.XingZJB,JG.JieDLB,JG.JieDMC,"
    "JG.ShangJHYZGBM,JG.ShangJXZZGBM, JG.CaiZJFLYFS,JG.JiGLX,JG.DiZhi_Shen,JG.DiZhi_Shi,"
    " JG.DiZhi_Xian,LianXRXM,LianXDH,  TianBRXM,ChuSHSJ,GengXZT,QueRRXM,QueRSJ,QueRZT ";
constexpr const char* kFrom = " From MLK_JiBXX JG ";
constexpr const char* kOrder = " order by JG.ShunX ASC, JG.CaiZJFLYFS desc,JG.JiGLX desc ";

const char* WherePart(EntryListKind kind) {
    return kind == EntryListKind::Agencies
               ? " where JG.ShuJLY='0' and jg.JieDLB = '0' and JG.ShangJBMID =?"
               : " where JG.ShuJLY='0' and jg.JieDLB = '1' and JG.ShangJBMID =?";
}

// The first count characters of a UTF-8 text (a typed filter text may begin with a Chinese
// character, which must not be cut in half).
std::string LeadingCharacters(const std::string& text, int count) {
    std::size_t end = 0;
    for (int n = 0; n < count && end < text.size(); ++n) {
        ++end;
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
            ++end;
    }
    return text.substr(0, end);
}

void AddCodeFilter(ListQueryBuilder& query, const char* condition,
                   const std::optional<std::string>& text, int characters = 1) {
    if (text)
        query.AddCondition(condition, LeadingCharacters(*text, characters));
}

const std::vector<std::string> kDepartmentColumns = {"A0-序号-40",
                                                     "JiGID-机构ID-0",
                                                     "JiGMC-机构名称-200",
                                                     "ZuZJGDM-组织机构代码-100",
                                                     "HangYDM-行业代码-60",
                                                     "XingZQH-行政区划-120",
                                                     "XingZJB-行政级别-70",
                                                     "JieDLB-节点类别-70",
                                                     "JieDMC-节点名称-70",
                                                     "ShangJHYZGBM-行业主管部门-150",
                                                     "ShangJXZZGBM-行政主管部门-0",
                                                     "JiGLX-机构类型-80",
                                                     "CaiZJFLYFS-财政经费来源方式-150",
                                                     "QueRZT-确认状态-70",
                                                     "GengXZT-更新状态-70",
                                                     "LianXRXM-联系人姓名-60",
                                                     "LianXDH-联系电话-120",
                                                     "TianBRXM-填表人姓名-60",
                                                     "ChuSHSJ-初始化时间-120",
                                                     "XingZQH-行政区划-0",
                                                     "XingZJB-行政级别-0",
                                                     "JiGLX-机构类型-0",
                                                     "CaiZJFLYFS-财政经费保障方式-0",
                                                     "QueRZT-确认状态-0",
                                                     "GengXZT-更新状态-0",
                                                     "JieDLB-节点类别-0"};

std::vector<std::string> SubordinateColumns() {
    std::vector<std::string> columns = kDepartmentColumns;
    columns[9] = "ShangJHYZGBM-上级行业主管部门-150";
    columns[10] = "ShangJXZZGBM-上级行政主管部门-150";
    return columns;
}

const std::vector<std::string> kAgencyColumns = {"A0-序号-40",
                                                 "JiGID-机构ID-0",
                                                 "JiGMC-机构名称-200",
                                                 "XingZQH-行政区划-0",
                                                 "XingZJB-行政级别-0",
                                                 "JieDLB-节点类别-0",
                                                 "JieDMC-节点名称-70",
                                                 "QueRZT-确认状态-70",
                                                 "GengXZT-更新状态-70",
                                                 "LianXRXM-联系人姓名-60",
                                                 "LianXDH-联系电话-120",
                                                 "TianBRXM-填表人姓名-0",
                                                 "ChuSHSJ-初始化时间-120",
                                                 "XingZQH-行政区划-0",
                                                 "XingZJB-行政级别-0",
                                                 "QueRZT-确认状态-0",
                                                 "GengXZT-更新状态-0",
                                                 "JieDLB-节点类别-0"};

// The 23 columns of the page statement.
GGJG ReadEntryRow(const Statement& row) {
    GGJG r;
    r.ReadListRow(row);
    return r;
}

}  // namespace

ListQueryBuilder EntryListQuery(EntryListKind kind, const std::string& danWID,
                                const EntryFilters& filters) {
    ListQueryBuilder query(kSelect, kFrom, WherePart(kind), {danWID}, kOrder);
    const std::string name = Trim(filters.name);
    if (!name.empty())
        query.AddCondition(" AND JG.JiGMC like ?", "%" + name + "%");
    AddCodeFilter(query, " AND JG.GengXZT = ?", filters.gengXZT);
    AddCodeFilter(query, " AND JG.QueRZT = ?", filters.queRZT);
    AddCodeFilter(query, " AND JG.XingZJB = ?", filters.xingZJB);
    if (kind != EntryListKind::Agencies) {
        AddCodeFilter(query, " AND JG.JiGLX = ?", filters.jiGLX, 4);
        AddCodeFilter(query, " AND JG.CaiZJFLYFS = ?", filters.caiZJFSY);
    }
    return query;
}

const std::vector<std::string>& EntryColumnDescriptions(EntryListKind kind) {
    static const std::vector<std::string> subordinate = SubordinateColumns();
    switch (kind) {
        case EntryListKind::Agencies:
            return kAgencyColumns;
        case EntryListKind::SubordinateInstitutions:
            return subordinate;
        case EntryListKind::SameLevelDepartments:
            break;
    }
    return kDepartmentColumns;
}

std::vector<std::string> InstitutionCells(const GGJG& r, const CodeTables& codes,
                                          std::string_view stateKey) {
    return {r.JiGID,
            r.JiGMC,
            r.ZuZJGDM,
            r.HangYDM,
            r.DiZhi_Shen + r.DiZhi_Shi + r.DiZhi_Xian,
            codes.CodeLabel(r.XingZJB, "XingZJB"),
            codes.CodeLabel(r.JieDLB, "JieDLB"),
            r.JieDMC,
            r.ShangJHYZGBM,
            r.ShangJXZZGBM,
            codes.CodeLabel(r.JiGLX, "JiGLX"),
            codes.CodeLabel(r.CaiZJFLYFS, "CaiZJFSY"),
            codes.CodeLabel(r.QueRZT, "QueRZT"),
            codes.CodeLabel(r.GengXZT, stateKey),
            r.LianXRXM,
            r.LianXDH,
            r.TianBRXM,
            r.ChuSHSJ,
            r.XingZQH,
            r.XingZJB,
            r.JiGLX,
            r.CaiZJFLYFS,
            r.QueRZT,
            r.GengXZT,
            r.JieDLB};
}

std::vector<std::string> EntryCells(EntryListKind kind, const Statement& row,
                                    const CodeTables& codes) {
    std::vector<std::string> cells = InstitutionCells(ReadEntryRow(row), codes, "GengXZT");
    if (kind != EntryListKind::Agencies)
        return cells;
    // An agency has no codes, superior departments, type or finance: its row shows the rest.
    constexpr int kAgencyCells[] = {0, 1, 4, 5, 6, 7, 12, 13, 14, 15, 16, 17, 18, 19, 22, 23, 24};
    std::vector<std::string> shown;
    for (int cell : kAgencyCells)
        shown.push_back(std::move(cells[std::size_t(cell)]));
    return shown;
}

int ConfirmCodeCell(EntryListKind kind) {
    return kind == EntryListKind::Agencies ? 14 : 22;
}

std::optional<std::string> ConfirmedRefusal(ListAction action, const std::string& queRZT) {
    if (queRZT != "1")
        return std::nullopt;
    switch (action) {
        case ListAction::Update:
            return "已经通过核查的机构不能进行修改操作！！！";
        case ListAction::Delete:
            return "已经通过核查的机构不能删除！！！";
        case ListAction::Confirm:
            return "已经通过核查的机构不能再次通过核查！！！";
        case ListAction::View:
            break;
    }
    return std::nullopt;
}

}  // namespace mlk
