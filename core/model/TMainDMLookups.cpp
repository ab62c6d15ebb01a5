// The division and type lookups of the data module.
#include <algorithm>

#include "base/MlkError.h"
#include "model/TMainDM.h"
#include "text/Text.h"

namespace mlk {

namespace {

// The item of the list with this code, or "--全部--" when the list offers none.
std::string ItemWithCode(const std::vector<std::string>& items, const std::string& code) {
    const auto found = std::find_if(items.begin(), items.end(), [&](const std::string& item) {
        return item != kAllItem && ItemCode(item) == code;
    });
    return found == items.end() ? std::string(kAllItem) : *found;
}

}  // namespace

std::vector<std::string> TMainDM::ProvinceItems() {
    std::vector<std::string> items{std::string(kAllItem)};
    ForEachRow("select code,name from MLK_XingZQH where parentCode = '100000' order by code", {},
               [&](const Statement& row) { items.push_back(row.Text(0) + "-" + row.Text(1)); });
    return items;
}

std::vector<std::string> TMainDM::ChildDivisionItems(const std::string& parentCode,
                                                     const char* level) {
    std::vector<std::string> items{std::string(kAllItem)};
    ForEachRow("select code,name from MLK_XingZQH  where parentCode = ? and XZJB = ? order by code",
               {parentCode, level},
               [&](const Statement& row) { items.push_back(row.Text(0) + "-" + row.Text(1)); });
    if (items.size() == 1) {
        // A division without children of that level offers itself as its only child.
        items = {parentCode + "-" + LookupDivisionName(parentCode)};
    }
    return items;
}

std::vector<std::string> TMainDM::CityItems(const std::string& provinceCode) {
    return ChildDivisionItems(provinceCode, "市");
}

std::vector<std::string> TMainDM::CountyItems(const std::string& cityCode) {
    return ChildDivisionItems(cityCode, "县");
}

std::vector<std::string> TMainDM::TopTypeItems() {
    std::vector<std::string> items{std::string(kAllItem)};
    ForEachRow(
        "select LXBM,LXMC from MLK_JiGLX where jici = '1' and LXBM <> ? order by parent asc, "
        "lxbm asc ",
        {std::string(kEmptyTypeCode)},
        [&](const Statement& row) { items.push_back(row.Text(0) + "-" + row.Text(1)); });
    return items;
}

std::string TMainDM::LongestDivisionItem(const std::string& level) {
    return QueryText(
        "select code||'-'||name from MLK_XingZQH where XZJB = ? order by length(name) desc, code "
        "limit 1",
        {level});
}

std::string TMainDM::LongestTypeItem() {
    return QueryText(
        "select LXBM||'-'||LXMC from MLK_JiGLX order by length(LXMC) desc, LXBM limit 1");
}

std::string TMainDM::LookupDivisionName(const std::string& code) {
    return QueryText("select name from MLK_XingZQH where code =?", {code});
}

XingZQH TMainDM::GetXingZQH(const std::string& code) {
    XingZQH result;
    Statement own(db_, "select name,parentCode, XZJB  from MLK_XingZQH  where code =?");
    if (!own.Bind(1, code).Step())
        return result;
    result.code = code;
    result.name = own.Text("name");
    result.parentCode = own.Text("parentCode");
    result.XZJB = own.Text("XZJB");

    if (result.XZJB == "中央" || result.XZJB == "省") {
        result.ssbm = result.dsbm = result.xqbm = code;
        result.ssmc = result.dsmc = result.xqmc = result.name;
    } else if (result.XZJB == "市") {
        result.ssbm = result.parentCode;
        result.ssmc = LookupDivisionName(result.parentCode);
        result.dsbm = result.xqbm = code;
        result.dsmc = result.xqmc = result.name;
    } else if (result.XZJB == "县") {
        Statement parent(db_,
                         "select ss.code as ssbm,ss.name as ssmc,  ds.code as dsbm,ds.name as dsmc "
                         "from MLK_XingZQH ss, MLK_XingZQH ds  where ss.code = ds.parentCode  "
                         "and ss.XZJB ='省' and ds.XZJB ='市' and ds.code =?");
        if (parent.Bind(1, result.parentCode).Step()) {
            result.ssbm = parent.Text("ssbm");
            result.ssmc = parent.Text("ssmc");
            result.dsbm = result.parentCode;
            result.dsmc = parent.Text("dsmc");
            result.xqbm = code;
            result.xqmc = result.name;
        }
    }
    return result;
}

TMainDM::DivisionItems TMainDM::ChooseDivision(const std::string& code) {
    const XingZQH division = GetXingZQH(code);
    if (division.ssbm.empty())
        throw MlkError("行政区划代码不存在：" + code);
    DivisionItems items{ItemWithCode(ProvinceItems(), division.ssbm), std::string(kAllItem),
                        std::string(kAllItem)};
    if (items.province != kAllItem)
        items.city = ItemWithCode(CityItems(division.ssbm), division.dsbm);
    if (items.city != kAllItem)
        items.county = ItemWithCode(CountyItems(division.dsbm), division.xqbm);
    return items;
}

XingZQH TMainDM::FindXingZQHByNames(const std::string& province, const std::string& city,
                                    const std::string& county) {
    XingZQH result;
    if (province.empty() || city.empty() || county.empty())
        return result;
    Statement query(db_,
                    "select xzqh.ssbm,xzqh.ssmc,xzqh.dsbm,xzqh.dsmc,xzqh.xqbm,xzqh.xqmc from ("
                    "select ss.code as ssbm,ss.name as ssmc,ds.code as dsbm,ds.name as dsmc,"
                    "xq.code as xqbm,xq.name as xqmc "
                    " from MLK_XingZQH ss, MLK_XingZQH ds,MLK_XingZQH xq "
                    " where ss.xzjb = '省' and ds.xzjb = '市'  and xq.xzjb = '县' "
                    " and ds.parentCode = ss.code  and xq.parentCode = ds.code "
                    " ) xzqh where "
                    " xzqh.ssmc like ? and xzqh.dsmc like ? and xzqh.xqmc like ?"
                    // Exact names win, the province first; the lowest codes decide among equals.
                    " order by xzqh.ssmc = ? desc, xzqh.dsmc = ? desc, xzqh.xqmc = ? desc,"
                    " xzqh.ssbm,xzqh.dsbm,xzqh.xqbm");
    query.BindAll(
        {"%" + province + "%", "%" + city + "%", "%" + county + "%", province, city, county});
    if (query.Step()) {
        result.ssbm = query.Text("ssbm");
        result.ssmc = query.Text("ssmc");
        result.dsbm = query.Text("dsbm");
        result.dsmc = query.Text("dsmc");
        result.xqbm = query.Text("xqbm");
        result.xqmc = query.Text("xqmc");
    }
    return result;
}

}  // namespace mlk
