#include "reports/DirectorySummary.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <deque>
#include <limits>
#include <optional>
#include <span>
#include <unordered_map>
#include <unordered_set>

#include "base/Progress.h"
#include "db/Sqlite.h"
#include "model/TMainDM.h"

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

// Every row that can be listed below an own row, read in one pass: a query per listed row would
// cost as much as the row itself, and most rows have no children.
const std::string kImportedQuery = std::string(kColumnList) +
                                   ", JG.ShangJBMID, JG.ShunX From MLK_JiBXX JG "
                                   " where JG.ShuJLY='1' and JG.QueRZT='1' ";

// Rows read between two reports of progress.
constexpr std::size_t kProgressStep = 1024;

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

// A code and its label, each kept once in the table.
struct CodeCells {
    TextRows::Shared code, label;
};

// Keeps the cells of a row (all but the number, which the walk gives it) in the table.
class CellKeeper {
  public:
    CellKeeper(TMainDM& dm, TextRows& rows) : dm_(dm), rows_(rows) {}

    TextRows::Kept Keep(const Statement& q, const Positions& at) {
        using Cell = TextRows::Cell;
        // An energy-saving management agency shows its number, id and name only.
        if (q.TextView(at.JieDLB) != "1") {
            std::array<Cell, kCells> cells;
            cells[0] = q.TextView(at.JiGID);
            cells[1] = q.TextView(at.JieDMC);
            return rows_.Keep(cells);
        }
        const CodeCells type = Code(0, q.TextView(at.JiGLX), "JiGLX");
        const CodeCells rank = Code(1, q.TextView(at.XingZJB), "XingZJB");
        const CodeCells funding = Code(2, q.TextView(at.CaiZJFLYFS), "CaiZJFSY");
        address_.clear();
        for (const int part : {at.Shen, at.Shi, at.Xian, at.JieD, at.HaoP})
            address_ += q.TextView(part);
        const Cell cells[kCells] = {q.TextView(at.JiGID),
                                    q.TextView(at.JieDMC),
                                    type.label,
                                    q.TextView(at.ZuZJGDM),
                                    Common(0, q.TextView(at.HangYDM)),
                                    Common(1, q.TextView(at.XingZQH)),
                                    rank.label,
                                    TextRows::Repeat{6},  // the node name again
                                    funding.label,
                                    std::string_view(address_),
                                    Common(2, q.TextView(at.YouZBM)),
                                    q.TextView(at.LianXRXM),
                                    q.TextView(at.LianXDH),
                                    rank.code,
                                    type.code,
                                    funding.code};
        return rows_.Keep(cells);
    }

  private:
    // The cells after the number.
    static constexpr std::size_t kCells = 16;

    CodeCells Code(std::size_t column, std::string_view code, const char* key) {
        auto& known = codes_[column];
        auto found = known.find(code);
        if (found == known.end()) {
            const CodeCells cells{rows_.Share(code), rows_.Share(dm_.CodeLabel(code, key))};
            found = known.emplace(std::string(code), cells).first;
        }
        return found->second;
    }

    // A value that a county's rows share (its division, trade, postcode), kept once; the last one
    // is remembered, since rows come county by county.
    TextRows::Shared Common(std::size_t column, std::string_view value) {
        auto& [last, shared] = common_[column];
        if (!shared || value != last) {
            last = value;
            shared = rows_.Share(value);
        }
        return *shared;
    }

    TMainDM& dm_;
    TextRows& rows_;
    std::array<std::unordered_map<std::string, CodeCells, TextHash, std::equal_to<>>, 3> codes_;
    std::array<std::pair<std::string, std::optional<TextRows::Shared>>, 3> common_;
    std::string address_;
};

// The confirmed imported rows, kept in the table unlisted, in the order each row's children are
// listed: grouped by their ShangJBMID, by ShunX within it, ties in the order they were read.
class Children {
  public:
    Children(TMainDM& dm, CellKeeper& keeper, Progress* progress) {
        {
            Statement query(dm.Db(), kImportedQuery);
            const Positions at(query);
            const int parentAt = query.ColumnIndex("ShangJBMID"),
                      orderAt = query.ColumnIndex("ShunX");
            while (query.Step()) {
                read_.push_back({keeper.Keep(query, at),
                                 query.IsNull(orderAt) ? std::numeric_limits<long long>::min()
                                                       : query.Int(orderAt),
                                 Group(query.TextView(parentAt)), Level(query, at.JiC)});
                if (progress && read_.size() % kProgressStep == 0)
                    progress->SetPosition(std::int64_t(read_.size()));
            }
        }
        // Counted into their groups, then each group put in order.
        begins_.assign(groups_.size() + 1, 0);
        for (const Read& row : read_)
            ++begins_[row.parent + 1];
        for (std::size_t g = 1; g < begins_.size(); ++g)
            begins_[g] += begins_[g - 1];
        order_.resize(read_.size());
        {
            std::vector<std::size_t> next(begins_.begin(), begins_.end() - 1);
            for (std::size_t i = 0; i < read_.size(); ++i)
                order_[next[read_[i].parent]++] = std::uint32_t(i);
        }
        for (std::size_t g = 0; g + 1 < begins_.size(); ++g) {
            std::stable_sort(
                order_.begin() + std::ptrdiff_t(begins_[g]),
                order_.begin() + std::ptrdiff_t(begins_[g + 1]),
                [&](std::uint32_t a, std::uint32_t b) { return read_[a].order < read_[b].order; });
        }
    }

    std::size_t size() const { return order_.size(); }
    // The positions of a row's children, from first to last.
    std::pair<std::size_t, std::size_t> Of(std::string_view id) const {
        const auto found = groups_.find(id);
        if (found == groups_.end())
            return {0, 0};
        return {begins_[found->second], begins_[found->second + 1]};
    }
    TextRows::Kept Cells(std::size_t child) const { return read_[order_[child]].cells; }
    bool Descends(std::size_t child) const {
        return read_[order_[child]].level < kDirectoryDepthLimit;
    }

  private:
    struct Read {
        TextRows::Kept cells;
        long long order;
        std::uint32_t parent;
        std::int8_t level;
    };

    // The group of a ShangJBMID. Rows come mostly parent by parent: the last one is tried first.
    std::uint32_t Group(std::string_view parent) {
        if (lastGroup_ && parent == lastParent_)
            return *lastGroup_;
        auto found = groups_.find(parent);
        if (found == groups_.end())
            found = groups_.emplace(std::string(parent), std::uint32_t(groups_.size())).first;
        lastParent_ = found->first;
        lastGroup_ = found->second;
        return found->second;
    }

    // Only whether it is below the depth limit counts: kept in a byte.
    static std::int8_t Level(const Statement& query, int column) {
        const long long level = query.IsNull(column) ? 0 : query.Int(column);
        return std::int8_t(std::clamp(level, -1LL, kDirectoryDepthLimit));
    }

    std::unordered_map<std::string, std::uint32_t, TextHash, std::equal_to<>> groups_;
    std::string_view lastParent_;
    std::optional<std::uint32_t> lastGroup_;
    // In the order read: a deque grows without moving what it holds, so no second copy at its
    // peak. order_ lists them as they are listed, group by group.
    std::deque<Read> read_;
    std::vector<std::uint32_t> order_;
    std::vector<std::size_t> begins_;
};

// Lists everything below a top row, depth first. An explicit stack instead of recursion: a long
// chain of imported rows must not exhaust the call stack.
void ListBelow(const TextRows& pool, const Children& children, std::string_view topId,
               const std::string& topNumber, const DirectoryRow& row) {
    struct Level {
        std::size_t next, end;
        std::size_t first;
        std::string number;
        std::string_view id;
    };
    std::vector<Level> stack;
    // The ids from the top row down.
    std::unordered_multiset<std::string_view> path;

    const auto enter = [&](std::string_view id, const std::string& number) {
        const auto [first, end] = children.Of(id);
        if (first == end)
            return;
        path.emplace(id);
        stack.push_back(Level{first, end, first, number, id});
    };
    enter(topId, topNumber);
    std::string number;
    while (!stack.empty()) {
        Level& level = stack.back();
        if (level.next == level.end) {
            path.erase(path.find(level.id));
            stack.pop_back();
            continue;
        }
        const std::size_t child = level.next++;
        number = level.number;
        number += '.';
        number += std::to_string(child - level.first + 1);
        const TextRows::Row cells = pool.Open(children.Cells(child));
        row(number, cells);
        // Entering pushes onto the stack: level is not used after it.
        const std::string_view id = cells[0];
        if (children.Descends(child) && !path.contains(id))
            enter(id, number);
    }
}

}  // namespace

std::vector<ColumnDef> DirectoryColumns() {
    return ParseColumnDefs(kColumns);
}

void ListDirectory(TMainDM& dm, TextRows& pool, const DirectoryRow& row, Progress* progress) {
    // One snapshot for every query, and no lock taken and checked again for each.
    const OnePassRead read(dm.Db());
    if (progress)
        progress->SetRange(dm.QueryInt("select count(*) from MLK_JiBXX"));
    CellKeeper keeper(dm, pool);
    std::vector<TextRows::Kept> tops;
    {
        Statement query(dm.Db(), kTopQuery);
        const Positions at(query);
        query.Bind(1, dm.Unit().DanWID);
        while (query.Step())
            tops.push_back(keeper.Keep(query, at));
    }
    if (tops.empty())
        return;
    const Children children(dm, keeper, progress);
    for (std::size_t i = 0; i < tops.size(); ++i) {
        const std::string number = std::to_string(i + 1);
        const TextRows::Row top = pool.Open(tops[i]);
        row(number, top);
        ListBelow(pool, children, top[0], number, row);
    }
    if (progress)
        progress->SetPosition(std::int64_t(children.size()));
}

SummaryTable DirectorySummary(TMainDM& dm, Progress* progress) {
    SummaryTable table;
    table.columns = DirectoryColumns();
    // The outline numbers (1.2.1) stay texts; every column can be narrowed and sorted.
    table.filtered = true;
    ListDirectory(
        dm, table.rows,
        [&](std::string_view number, TextRows::Row cells) { table.rows.push_back(number, cells); },
        progress);
    return table;
}

}  // namespace mlk
