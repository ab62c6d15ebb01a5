#include "reports/DirectorySummary.h"

#include <array>
#include <unordered_set>

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

const std::string kChildQuery = std::string(kColumnList) +
                                " From MLK_JiBXX JG "
                                " where JG.ShuJLY='1' and JG.QueRZT='1' "
                                " and JG.ShangJBMID =? order by JG.ShangJBMID,JG.ShunX ";

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

// The rows of one query: each row's cells from column 1 on (the number is added when it is
// listed) and its level.
struct Rows {
    TextRows cells;
    std::vector<long long> levels;
};

// Runs the top or the child query for one key and reads its rows.
class RowReader {
  public:
    RowReader(TMainDM& dm, const std::string& sql, LabelCache& labels)
        : query_(dm.Db(), sql), at_(query_), labels_(labels) {}

    Rows Read(std::string_view key) {
        Rows rows;
        query_.Bind(1, key);
        while (query_.Step()) {
            rows.levels.push_back(query_.IsNull(at_.JiC) ? 0 : query_.Int(at_.JiC));
            AddCells(rows.cells);
        }
        query_.Reset();
        return rows;
    }

  private:
    void AddCells(TextRows& into) {
        const Statement& q = query_;
        std::array<std::string_view, kCells - 1> cells{};
        cells[0] = q.TextView(at_.JiGID);
        cells[1] = q.TextView(at_.JieDMC);
        // An energy-saving management agency shows its number, id and name only.
        if (q.TextView(at_.JieDLB) == "1") {
            const std::string_view type = q.TextView(at_.JiGLX);
            const std::string_view rank = q.TextView(at_.XingZJB);
            const std::string_view funding = q.TextView(at_.CaiZJFLYFS);
            address_.clear();
            for (const int part : {at_.Shen, at_.Shi, at_.Xian, at_.JieD, at_.HaoP})
                address_ += q.TextView(part);
            cells[2] = labels_.Label(type, "JiGLX");
            cells[3] = q.TextView(at_.ZuZJGDM);
            cells[4] = q.TextView(at_.HangYDM);
            cells[5] = q.TextView(at_.XingZQH);
            cells[6] = labels_.Label(rank, "XingZJB");
            cells[7] = cells[1];
            cells[8] = labels_.Label(funding, "CaiZJFSY");
            cells[9] = address_;
            cells[10] = q.TextView(at_.YouZBM);
            cells[11] = q.TextView(at_.LianXRXM);
            cells[12] = q.TextView(at_.LianXDH);
            cells[13] = rank;
            cells[14] = type;
            cells[15] = funding;
        }
        into.push_back(cells);
    }

    static constexpr std::size_t kCells = 17;
    Statement query_;
    Positions at_;
    LabelCache& labels_;
    std::string address_;
};

// Rows listed between two reports of progress.
constexpr std::size_t kProgressStep = 1024;

// Lists everything below a top row, depth first, one child query per row whose children are
// listed, so the directory of a whole country is held once, in the table. An explicit stack
// instead of recursion: a long chain of imported rows must not exhaust the call stack.
void ListBelow(SummaryTable& table, RowReader& children, std::string_view topId,
               const std::string& topNumber, Progress* progress) {
    struct Level {
        Rows rows;
        std::size_t next;
        std::string number;
        std::string id;
    };
    std::vector<Level> stack;
    // The ids from the top row down.
    std::unordered_multiset<std::string, TextHash, std::equal_to<>> path;

    const auto enter = [&](std::string_view id, const std::string& number) {
        Rows below = children.Read(id);
        if (below.levels.empty())
            return;
        path.emplace(id);
        stack.push_back(Level{std::move(below), 0, number, std::string(id)});
    };
    enter(topId, topNumber);
    while (!stack.empty()) {
        Level& level = stack.back();
        if (level.next == level.rows.levels.size()) {
            path.erase(path.find(level.id));
            stack.pop_back();
            continue;
        }
        const std::size_t index = level.next++;
        const TextRows::Row child = level.rows.cells[index];
        std::string number = level.number + "." + std::to_string(index + 1);
        table.rows.push_back(number, child);
        if (progress && table.rows.size() % kProgressStep == 0)
            progress->SetPosition(std::int64_t(table.rows.size()));
        // Entering pushes onto the stack: level is not used after it.
        if (level.rows.levels[index] < kDirectoryDepthLimit && !path.contains(child[0]))
            enter(child[0], number);
    }
}

}  // namespace

SummaryTable DirectorySummary(TMainDM& dm, Progress* progress) {
    if (progress)
        progress->SetRange(dm.QueryInt("select count(*) from MLK_JiBXX"));
    SummaryTable table;
    table.columns = ParseColumnDefs(kColumns);
    // The outline numbers (1.2.1) stay texts; every column can be narrowed and sorted.
    table.filtered = true;
    LabelCache labels(dm);
    const Rows tops = RowReader(dm, kTopQuery, labels).Read(dm.Unit().DanWID);
    RowReader children(dm, kChildQuery, labels);
    for (std::size_t i = 0; i < tops.levels.size(); ++i) {
        const std::string number = std::to_string(i + 1);
        const TextRows::Row top = tops.cells[i];
        table.rows.push_back(number, top);
        ListBelow(table, children, top[0], number, progress);
    }
    if (progress)
        progress->SetPosition(std::int64_t(table.rows.size()));
    return table;
}

}  // namespace mlk
