#include "reports/DirectorySummary.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <unordered_map>
#include <unordered_set>

#include "base/MlkError.h"
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

// The confirmed imported rows, kept in the table unlisted and placed in the order each row's
// children are listed: grouped by their ShangJBMID, by ShunX within it, ties in the order they
// were read.
class Children {
  public:
    Children(TMainDM& dm, CellKeeper& keeper, TextRows& pool, Progress* progress) {
        std::vector<Read> read;
        // The rows' ids bound their number: reserved once, the array is not copied as it grows,
        // and what is not used is never touched.
        read.reserve(std::size_t(std::clamp(
            dm.QueryInt("select ifnull(max(rowid), 0) from MLK_JiBXX"), 0LL, kMostReserved)));
        {
            Statement query(dm.Db(), kImportedQuery);
            const Positions at(query);
            const int parentAt = query.ColumnIndex("ShangJBMID"),
                      orderAt = query.ColumnIndex("ShunX");
            while (query.Step()) {
                read.push_back({keeper.Keep(query, at),
                                Group(query.TextView(parentAt)) | Descends(query, at.JiC),
                                query.IsNull(orderAt) ? std::numeric_limits<long long>::min()
                                                      : query.Int(orderAt)});
                if (progress && read.size() % kProgressStep == 0)
                    progress->SetPosition(std::int64_t(read.size()));
            }
        }
        // Rows are kept one after another: a later row is kept further on, so the place it was
        // kept at orders the ties as they were read.
        std::sort(read.begin(), read.end(), [](const Read& a, const Read& b) {
            const std::uint32_t groupA = a.group & ~kDescends, groupB = b.group & ~kDescends;
            if (groupA != groupB)
                return groupA < groupB;
            if (a.order != b.order)
                return a.order < b.order;
            return a.cells.at < b.cells.at;
        });
        first_ = pool.PlacedCount();
        begins_.assign(groups_.size() + 1, 0);
        descends_.reserve(read.size());
        for (const Read& row : read) {
            pool.Place(row.cells);
            ++begins_[(row.group & ~kDescends) + 1];
            descends_.push_back((row.group & kDescends) != 0);
        }
        for (std::size_t g = 1; g < begins_.size(); ++g)
            begins_[g] += begins_[g - 1];
    }

    std::size_t size() const { return descends_.size(); }
    // The places of a row's children, from first to last.
    std::pair<std::uint32_t, std::uint32_t> Of(std::string_view id) const {
        const auto found = groups_.find(id);
        if (found == groups_.end())
            return {0, 0};
        return {first_ + begins_[found->second], first_ + begins_[found->second + 1]};
    }
    bool Descends(std::uint32_t place) const { return descends_[place - first_]; }

  private:
    // Sixteen bytes a row while they are put in order.
    struct Read {
        TextRows::Kept cells;
        std::uint32_t group;  // with kDescends
        long long order;
    };
    // Whether a row's own children are listed: its level below the depth limit.
    static constexpr std::uint32_t kDescends = std::uint32_t(1) << 31;
    static constexpr long long kMostReserved = 1LL << 26;

    // The group of a ShangJBMID. Rows come mostly parent by parent: the last one is tried first.
    std::uint32_t Group(std::string_view parent) {
        if (lastGroup_ && parent == lastParent_)
            return *lastGroup_;
        auto found = groups_.find(parent);
        if (found == groups_.end()) {
            if (groups_.size() >= kDescends)
                throw MlkError("汇总表过大，超出了能在内存中列出的行数。");
            found = groups_.emplace(std::string(parent), std::uint32_t(groups_.size())).first;
        }
        lastParent_ = found->first;
        lastGroup_ = found->second;
        return found->second;
    }

    static std::uint32_t Descends(const Statement& query, int column) {
        const long long level = query.IsNull(column) ? 0 : query.Int(column);
        return level < kDirectoryDepthLimit ? kDescends : 0;
    }

    std::unordered_map<std::string, std::uint32_t, TextHash, std::equal_to<>> groups_;
    std::string_view lastParent_;
    std::optional<std::uint32_t> lastGroup_;
    // The place of the first child; each group's first place counted from it.
    std::uint32_t first_ = 0;
    std::vector<std::uint32_t> begins_;
    std::vector<bool> descends_;
};

// Lists everything below a top row, depth first, the top row being listed row topRow (counted
// by listed). An explicit stack instead of recursion: a long chain of imported rows must not
// exhaust the call stack.
void ListBelow(const TextRows& pool, const Children& children, std::string_view topId,
               const std::string& topNumber, std::uint32_t topRow, std::uint32_t& listed,
               const DirectoryRow& row) {
    struct Level {
        std::uint32_t next, end, first;
        std::uint32_t listedAs;  // the parent's row
        std::string number;
        std::string_view id;
    };
    std::vector<Level> stack;
    // The ids from the top row down.
    std::unordered_multiset<std::string_view> path;

    const auto enter = [&](std::string_view id, const std::string& number, std::uint32_t as) {
        const auto [first, end] = children.Of(id);
        if (first == end)
            return;
        path.emplace(id);
        stack.push_back(Level{first, end, first, as, number, id});
    };
    enter(topId, topNumber, topRow);
    std::string number;
    while (!stack.empty()) {
        Level& level = stack.back();
        if (level.next == level.end) {
            path.erase(path.find(level.id));
            stack.pop_back();
            continue;
        }
        const std::uint32_t place = level.next++;
        number = level.number;
        number += '.';
        number += std::to_string(place - level.first + 1);
        const TextRows::Row cells = pool.Open(pool.Placed(place));
        row({number, cells, level.listedAs, place});
        const std::uint32_t as = listed++;
        // Entering pushes onto the stack: level is not used after it.
        const std::string_view id = cells[0];
        if (children.Descends(place) && !path.contains(id))
            enter(id, number, as);
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
    {
        Statement query(dm.Db(), kTopQuery);
        const Positions at(query);
        query.Bind(1, dm.Unit().DanWID);
        while (query.Step())
            pool.Place(keeper.Keep(query, at));
    }
    const std::uint32_t tops = std::uint32_t(pool.PlacedCount());
    if (tops == 0)
        return;
    const Children children(dm, keeper, pool, progress);
    std::uint32_t listed = 0;
    for (std::uint32_t place = 0; place < tops; ++place) {
        const std::string number = std::to_string(place + 1);
        const TextRows::Row top = pool.Open(pool.Placed(place));
        row({number, top, TextRows::kTop, place});
        const std::uint32_t as = listed++;
        ListBelow(pool, children, top[0], number, as, listed, row);
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
        [&](const ListedRow& listed) { table.rows.PushOutline(listed.parent, listed.place); },
        progress);
    return table;
}

}  // namespace mlk
