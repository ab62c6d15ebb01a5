#include "reports/DirectorySummary.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <unordered_map>
#include <unordered_set>

#include "base/Progress.h"
#include "db/ReadAlongside.h"
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
// cost as much as the row itself, and most rows have no children. Read in two ranges of row ids
// at once, the first after no id.
const std::string kImportedQuery = std::string(kColumnList) +
                                   ", JG.ShangJBMID, JG.ShunX From MLK_JiBXX JG "
                                   " where JG.ShuJLY='1' and JG.QueRZT='1' "
                                   " and JG.rowid between ? and ? ";

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

// Keeps the cells of a row (all but the number, which the walk gives it) in rows, their shared
// texts in the table.
class CellKeeper {
  public:
    CellKeeper(TMainDM& dm, TextRows& rows, TextRows& table)
        : dm_(dm), rows_(rows), table_(table) {}

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
            const CodeCells cells{table_.Share(code), table_.Share(dm_.CodeLabel(code, key))};
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
            shared = table_.Share(value);
        }
        return *shared;
    }

    TMainDM& dm_;
    TextRows& rows_;
    TextRows& table_;
    std::array<std::unordered_map<std::string, CodeCells, TextHash, std::equal_to<>>, 3> codes_;
    std::array<std::pair<std::string, std::optional<TextRows::Shared>>, 3> common_;
    std::string address_;
};

// A row read, sixteen bytes while the rows are put in order.
struct Read {
    TextRows::Kept cells;
    std::uint32_t group;  // with kDescends
    long long order;
};
// Whether a row's own children are listed: its level below the depth limit.
constexpr std::uint32_t kDescends = std::uint32_t(1) << 31;

// The ShangJBMIDs met, numbered as met.
class Groups {
  public:
    // Rows come mostly parent by parent: the last one is tried first.
    std::uint32_t Of(std::string_view parent) {
        if (lastGroup_ && parent == lastParent_)
            return *lastGroup_;
        auto found = numbers_.find(parent);
        // As many as the rows at most, which the table cannot hold more than 2^31 of.
        if (found == numbers_.end())
            found = numbers_.emplace(std::string(parent), std::uint32_t(numbers_.size())).first;
        lastParent_ = found->first;
        lastGroup_ = found->second;
        return found->second;
    }
    std::optional<std::uint32_t> Find(std::string_view parent) const {
        const auto found = numbers_.find(parent);
        return found == numbers_.end() ? std::nullopt : std::optional(found->second);
    }
    std::size_t size() const { return numbers_.size(); }
    // Each group of other as this one numbers it.
    std::vector<std::uint32_t> Numbering(const Groups& other) {
        std::vector<std::uint32_t> numbers(other.size());
        for (const auto& [parent, number] : other.numbers_)
            numbers[number] = Of(parent);
        return numbers;
    }

  private:
    std::unordered_map<std::string, std::uint32_t, TextHash, std::equal_to<>> numbers_;
    std::string_view lastParent_;
    std::optional<std::uint32_t> lastGroup_;
};

// The imported rows of a range of row ids, each read kept by keeper.
class ImportedRange {
  public:
    ImportedRange(Database& db, long long first, long long last)
        : query_(db, kImportedQuery), at_(query_) {
        query_.Bind(1, first).Bind(2, last);
        parentAt_ = query_.ColumnIndex("ShangJBMID");
        orderAt_ = query_.ColumnIndex("ShunX");
    }

    // Reads the rows, numbering their groups in groups, and hands each to add; returns how
    // many there were.
    template <class Add>
    std::size_t Read(CellKeeper& keeper, Groups& groups, const Add& add) {
        std::size_t count = 0;
        for (; query_.Step(); ++count) {
            const long long level = query_.IsNull(at_.JiC) ? 0 : query_.Int(at_.JiC);
            add(count, ::mlk::Read{keeper.Keep(query_, at_),
                                   groups.Of(query_.TextView(parentAt_)) |
                                       (level < kDirectoryDepthLimit ? kDescends : 0),
                                   query_.IsNull(orderAt_) ? std::numeric_limits<long long>::min()
                                                           : query_.Int(orderAt_)});
        }
        return count;
    }

  private:
    Statement query_;
    const Positions at_;
    int parentAt_, orderAt_;
};

// The confirmed imported rows, kept in the table unlisted and placed in the order each row's
// children are listed: grouped by their ShangJBMID, by ShunX within it, ties in the order they
// were stored.
class Children {
  public:
    Children(TMainDM& dm, TextRows& pool, Progress* progress) {
        std::unique_ptr<Read[]> rows;
        const std::span<Read> read = ReadAll(dm, pool, progress, rows);
        // A later row is kept further on: the place it was kept at orders the ties as stored.
        std::sort(read.begin(), read.end(), [](const Read& a, const Read& b) {
            const std::uint32_t groupA = a.group & ~kDescends, groupB = b.group & ~kDescends;
            if (groupA != groupB)
                return groupA < groupB;
            if (a.order != b.order)
                return a.order < b.order;
            return a.cells.at < b.cells.at;
        });
        first_ = std::uint32_t(pool.PlacedCount());
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
        const std::optional<std::uint32_t> group = groups_.Find(id);
        if (!group)
            return {0, 0};
        return {first_ + begins_[*group], first_ + begins_[*group + 1]};
    }
    bool Descends(std::uint32_t place) const { return descends_[place - first_]; }

  private:
    // Reads the rows into rows, the rows past the middle id on a second connection, on the
    // machine's other core, while this one reads the rest.
    std::span<Read> ReadAll(TMainDM& dm, TextRows& pool, Progress* progress,
                            std::unique_ptr<Read[]>& rows) {
        long long first = 0, last = -1;
        // Each on its own: the engine finds a lone min or max at the end of the table, but both
        // in one select by a pass over every row.
        dm.ForEachRow(
            "select (select min(rowid) from MLK_JiBXX), (select max(rowid) from "
            "MLK_JiBXX)",
            {}, [&](const Statement& row) {
                if (!row.IsNull(0))
                    first = row.Int(0), last = row.Int(1);
            });
        // Counting the rows would cost a pass over an index of them all; the ids bound them.
        if (progress)
            progress->SetRange(first <= last ? last - first + 1 : 0);
        // Any id parts them (the rows up to it, the rest): this one near the middle, without
        // overflow.
        const long long middle = first / 2 + last / 2;
        // The rows read, in one array of as many as the ids (which bound them), the lower
        // range's from its front and the upper range's from its back: neither is copied as it
        // grows, and what no row takes is never touched. Ids far apart only grow it.
        std::size_t capacity = Span(first, last);
        const bool parted = capacity <= kMostSpan;
        capacity = std::min(capacity, kMostSpan);
        rows = std::make_unique_for_overwrite<Read[]>(capacity);
        std::size_t lower = 0, upper = 0;
        Groups upperGroups;
        TextRows upperCells;
        std::atomic<std::size_t> upperCount{0};
        std::optional<ReadAlongside> alongside;
        if (parted) {
            alongside.emplace(dm.Db(), [&, end = rows.get() + capacity](Database& second) {
                CellKeeper keeper(dm, upperCells, pool);
                upper = ImportedRange(second, middle + 1, last)
                            .Read(keeper, upperGroups, [&](std::size_t i, const Read& row) {
                                end[-1 - std::ptrdiff_t(i)] = row;
                                if ((i + 1) % kProgressStep == 0)
                                    upperCount = i + 1;
                            });
            });
        }
        const bool bothRead = alongside && alongside->Started();
        {
            CellKeeper keeper(dm, pool, pool);
            lower = ImportedRange(dm.Db(), first, bothRead ? middle : last)
                        .Read(keeper, groups_, [&](std::size_t i, const Read& row) {
                            if (i == capacity) {
                                auto larger = std::make_unique_for_overwrite<Read[]>(2 * capacity);
                                std::copy_n(rows.get(), capacity, larger.get());
                                rows = std::move(larger);
                                capacity *= 2;
                            }
                            rows[i] = row;
                            if (progress && (i + 1) % kProgressStep == 0)
                                progress->SetPosition(std::int64_t(i + 1 + upperCount));
                        });
        }
        if (bothRead) {
            alongside->Wait();
            // Kept after the lower rows, the upper rows come after them among equals.
            const std::uint32_t shift = pool.Adopt(std::move(upperCells));
            const std::vector<std::uint32_t> groupOf = groups_.Numbering(upperGroups);
            Read* const from = rows.get() + capacity - upper;
            for (Read* row = from; row != from + upper; ++row) {
                row->cells.at += shift;
                row->group = groupOf[row->group & ~kDescends] | (row->group & kDescends);
            }
            if (from != rows.get() + lower)
                std::copy(from, from + upper, rows.get() + lower);
        }
        if (progress)
            progress->SetPosition(first <= last ? last - first + 1 : 0);
        return {rows.get(), lower + upper};
    }

    static constexpr std::size_t kMostSpan = std::size_t(1) << 24;
    // How many ids from first to last, or more than kMostSpan.
    static std::size_t Span(long long first, long long last) {
        if (first > last)
            return 1;
        return std::size_t(
            std::min<std::uint64_t>(std::uint64_t(last) - std::uint64_t(first) + 1, kMostSpan + 1));
    }

    Groups groups_;
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
    CellKeeper keeper(dm, pool, pool);
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
    const Children children(dm, pool, progress);
    std::uint32_t listed = 0;
    for (std::uint32_t place = 0; place < tops; ++place) {
        const std::string number = std::to_string(place + 1);
        const TextRows::Row top = pool.Open(pool.Placed(place));
        row({number, top, TextRows::kTop, place});
        const std::uint32_t as = listed++;
        ListBelow(pool, children, top[0], number, as, listed, row);
    }
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
