#include "reports/DirectorySummary.h"

#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "data/TMainDM.h"

namespace mlk {

namespace {

const std::vector<std::string> kColumns = {"A0-序号-40",
                                           "JiGID-机构ID-0",
                                           "JiGMC-机构名称-120",
                                           "JiGLX-机构类型-80",
                                           "ZuZJGDM-组织机构代码-100",
                                           "HangYDM-行业代码-60",
                                           "XingZQH-行政区划-120",
                                           "XingZJB-行政级别-80",
                                           "JieDMC-节点名称-0",
                                           "CaiZJFLYFS-财政经费来源方式-120",
                                           "DiZhi-单位地址-200",
                                           "YouZBM-邮政编码-70",
                                           "LianXRXM-联系人姓名-80",
                                           "LianXDH-联系电话-100",
                                           "XingZJB-行政级别-0",
                                           "JiGLX-机构类型-0",
                                           "CaiZJFLYFS-财政经费保障方式-0"};

constexpr const char* kColumnList =
    "Select JG.JiGID,JG.JiGMC,JG.JiGLX,JG.ZuZJGDM,JG.HangYDM,JG.XingZQH,"
    " JG.XingZJB,JG.JieDMC,JG.CaiZJFLYFS,JG.JieDLB,JG.JiC,"
    " JG.DiZhi_Shen,JG.DiZhi_Shi,JG.DiZhi_Xian,"
    " JG.DiZhi_JieD,JG.DiZhi_HaoP,YouZBM,LianXRXM,LianXDH ";

const std::string kTopQuery = std::string(kColumnList) +
                              " From MLK_JiBXX JG "
                              " where JG.ShuJLY='0' and JG.QueRZT='1' "
                              " and JG.ShangJBMID =? order by JG.ShunX ";

// Every row that the child query could return for any parent, in one pass: grouped by the
// parent and, within a parent, in the child query's order. Listing a parent's children then
// takes its group instead of running the child query once per listed row.
const std::string kChildrenQuery = std::string(kColumnList) +
                                   ",JG.ShangJBMID From MLK_JiBXX JG "
                                   " where JG.ShuJLY='1' and JG.QueRZT='1' "
                                   " order by JG.ShangJBMID,JG.ShunX ";

// One listed row: its cells (column 0 left for the number) and what the walk needs.
struct Entry {
    std::vector<std::string> cells;
    std::string id;
    long long level = 0;
};

// Column positions of a query, looked up once rather than by name on every row.
struct Positions {
    explicit Positions(const Statement& q)
        : JiGID(q.ColumnIndex("JiGID")),
          JiGLX(q.ColumnIndex("JiGLX")),
          ZuZJGDM(q.ColumnIndex("ZuZJGDM")),
          HangYDM(q.ColumnIndex("HangYDM")),
          XingZQH(q.ColumnIndex("XingZQH")),
          XingZJB(q.ColumnIndex("XingZJB")),
          JieDMC(q.ColumnIndex("JieDMC")),
          CaiZJFLYFS(q.ColumnIndex("CaiZJFLYFS")),
          JieDLB(q.ColumnIndex("JieDLB")),
          JiC(q.ColumnIndex("JiC")),
          Shen(q.ColumnIndex("DiZhi_Shen")),
          Shi(q.ColumnIndex("DiZhi_Shi")),
          Xian(q.ColumnIndex("DiZhi_Xian")),
          JieD(q.ColumnIndex("DiZhi_JieD")),
          HaoP(q.ColumnIndex("DiZhi_HaoP")),
          YouZBM(q.ColumnIndex("YouZBM")),
          LianXRXM(q.ColumnIndex("LianXRXM")),
          LianXDH(q.ColumnIndex("LianXDH")) {}
    int JiGID, JiGLX, ZuZJGDM, HangYDM, XingZQH, XingZJB, JieDMC, CaiZJFLYFS, JieDLB, JiC, Shen,
        Shi, Xian, JieD, HaoP, YouZBM, LianXRXM, LianXDH;
};

Entry ReadEntry(const Statement& q, const Positions& at, LabelCache& labels) {
    Entry entry;
    entry.id = q.Text(at.JiGID);
    entry.level = q.IsNull(at.JiC) ? 0 : q.Int(at.JiC);
    std::vector<std::string>& cells = entry.cells;
    cells.resize(kColumns.size());
    cells[1] = entry.id;
    cells[2] = q.Text(at.JieDMC);
    // An energy-saving management agency shows its number, id and name only.
    if (q.Text(at.JieDLB) != "1")
        return entry;
    const std::string type = q.Text(at.JiGLX);
    const std::string rank = q.Text(at.XingZJB);
    const std::string funding = q.Text(at.CaiZJFLYFS);
    cells[3] = labels.Label(type, "JiGLX");
    cells[4] = q.Text(at.ZuZJGDM);
    cells[5] = q.Text(at.HangYDM);
    cells[6] = q.Text(at.XingZQH);
    cells[7] = labels.Label(rank, "XingZJB");
    cells[8] = cells[2];
    cells[9] = labels.Label(funding, "CaiZJFSY");
    cells[10] =
        q.Text(at.Shen) + q.Text(at.Shi) + q.Text(at.Xian) + q.Text(at.JieD) + q.Text(at.HaoP);
    cells[11] = q.Text(at.YouZBM);
    cells[12] = q.Text(at.LianXRXM);
    cells[13] = q.Text(at.LianXDH);
    cells[14] = rank;
    cells[15] = type;
    cells[16] = funding;
    return entry;
}

// The imported rows grouped by their ShangJBMID.
class Children {
  public:
    Children(TMainDM& dm, LabelCache& labels) {
        Statement query(dm.Db(), kChildrenQuery);
        std::optional<Positions> at;
        int parentAt = 0;
        std::string parent;
        Range* group = nullptr;
        while (query.Step()) {
            if (!at) {
                at.emplace(query);
                parentAt = query.ColumnIndex("ShangJBMID");
            }
            std::string rowParent = query.Text(parentAt);
            if (!group || rowParent != parent) {
                parent = std::move(rowParent);
                group = &groups_.try_emplace(parent, Range{entries_.size(), 0}).first->second;
            }
            entries_.push_back(ReadEntry(query, *at, labels));
            group->end = entries_.size();
        }
        listedAt_.assign(entries_.size(), kNotListed);
    }

    struct Range {
        std::size_t begin = 0, end = 0;
    };
    Range Of(const std::string& parent) const {
        const auto found = groups_.find(parent);
        return found == groups_.end() ? Range{} : found->second;
    }
    const Entry& At(std::size_t index) const { return entries_[index]; }

    // Adds the entry's row to the table. Its cells move there the first time; a row listed
    // again (possible only where two rows share an id) copies them from its first listing.
    void List(std::size_t index, SummaryTable& table, std::string number) {
        if (listedAt_[index] == kNotListed) {
            listedAt_[index] = table.rows.size();
            table.rows.push_back(std::move(entries_[index].cells));
        } else {
            table.rows.push_back(table.rows[listedAt_[index]]);
        }
        table.rows.back()[0] = std::move(number);
    }
    std::size_t Size() const { return entries_.size(); }

  private:
    static constexpr std::size_t kNotListed = std::size_t(-1);
    std::vector<Entry> entries_;
    std::vector<std::size_t> listedAt_;
    std::unordered_map<std::string, Range> groups_;
};

void AddRow(SummaryTable& table, Entry& entry, std::string number) {
    table.rows.push_back(std::move(entry.cells));
    table.rows.back()[0] = std::move(number);
}

// Lists everything below a top row, depth first. An explicit stack instead of recursion: a long
// chain of imported rows must not exhaust the call stack.
void ListBelow(SummaryTable& table, Children& children, const Entry& top,
               const std::string& topNumber) {
    struct Level {
        Children::Range range;
        std::size_t next;
        std::string number;
        std::string id;
    };
    std::vector<Level> stack;
    std::unordered_multiset<std::string> path;  // the ids from the top row down

    const auto enter = [&](const Entry& entry, const std::string& number) {
        const Children::Range range = children.Of(entry.id);
        if (range.begin == range.end)
            return;
        path.insert(entry.id);
        stack.push_back(Level{range, range.begin, number, entry.id});
    };
    enter(top, topNumber);
    while (!stack.empty()) {
        Level& level = stack.back();
        if (level.next == level.range.end) {
            path.erase(path.find(level.id));
            stack.pop_back();
            continue;
        }
        const std::size_t index = level.next++;
        const Entry& child = children.At(index);
        std::string number = level.number + "." + std::to_string(index - level.range.begin + 1);
        children.List(index, table, number);
        if (child.level < kDirectoryDepthLimit && !path.contains(child.id))
            enter(child, number);
    }
}

}  // namespace

SummaryTable DirectorySummary(TMainDM& dm) {
    SummaryTable table;
    table.columns = ParseColumnDefs(kColumns);
    LabelCache labels(dm);

    std::vector<Entry> tops;
    {
        Statement query(dm.Db(), kTopQuery);
        query.Bind(1, dm.Unit().DanWID);
        std::optional<Positions> at;
        while (query.Step()) {
            if (!at)
                at.emplace(query);
            tops.push_back(ReadEntry(query, *at, labels));
        }
    }
    if (tops.empty())
        return table;

    Children children(dm, labels);
    table.rows.reserve(tops.size() + children.Size());
    for (std::size_t i = 0; i < tops.size(); ++i) {
        const std::string number = std::to_string(i + 1);
        AddRow(table, tops[i], number);
        ListBelow(table, children, tops[i], number);
    }
    return table;
}

}  // namespace mlk
