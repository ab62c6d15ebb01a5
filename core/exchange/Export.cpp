#include "exchange/Export.h"

#include <charconv>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "base/HandOver.h"
#include "base/MlkError.h"
#include "db/EngineError.h"
#include "db/Integrity.h"
#include "db/ReadAlongside.h"
#include "exchange/Correction.h"
#include "exchange/ExchangeFile.h"
#include "model/TMainDM.h"
#include "platform/ReplacingFile.h"
#include "text/Gbk.h"
#include "text/Text.h"

namespace mlk {

const char* const kExportRowsSQL =
    "select "
    "JiGID,JiGMC,ZuZJGDM,HangYDM,XingZQH,XingZLSJB,XingZJB,"
    "JieDLB,JieDMC,ShangJHYZGBM,ShangJXZZGBM,CaiZJFLYFS,JiGLX,"
    "DiZhi_Shen,DiZhi_Shi,DiZhi_Xian,DiZhi_JieD,DiZhi_HaoP,"
    "YouZBM,LianXRXM,LianXDH,QiT,"
    "TianBRXM,ChuSHSJ,GengXZT,TongJY,DanWFZR,ShangBJGID,"
    "QueRRXM,QueRSJ,QueRZT,ShenHRXM,ShenHSJ,ShenHZT,ShuJLY,ShangJBMID, "
    "JiC, ShunX "
    "from MLK_JiBXX "
    "order by XingZQH,CaiZJFLYFS,JiGLX,XingZJB ";

namespace {

constexpr const char* kGuardMessage = "请核查全部机构信息后再导出机构列表！";
constexpr const char* kEmptyMessage = "名录库中没有已确认的机构，无法导出。";
// Negative: KiB rather than pages.
constexpr long long kExportCacheKiB = -8192;
// A count reads the state of every row once: a large cache would only hold a large directory's
// states in memory afterwards.
constexpr long long kCountCacheKiB = -2048;

CheckResult GuardRefusal(long long unconfirmed) {
    if (unconfirmed == 0)
        return std::nullopt;
    return CheckFailure{std::string(kGuardMessage) + "\n尚有" + std::to_string(unconfirmed) +
                            "条机构信息未通过核查。",
                        ""};
}

// Rows handed to the writing thread: each row's 36 texts one after the other, and its numbers.
struct ExportRows {
    std::string texts;
    std::vector<std::uint32_t> ends;  // where each text ends
    std::vector<long long> numbers;   // two a row

    std::size_t Rows() const { return numbers.size() / 2; }
};

// Enough rows a batch that handing one over costs little beside reading it, and enough batches
// (about 1.5 MiB in all) that the reading goes on while a write of the file waits on the system.
constexpr std::size_t kRowsPerBatch = 256;
constexpr std::size_t kBatches = 16;

// Appends one row as one file line (UTF-8, CR LF) to utf8; false when a number cannot travel.
bool AppendLine(const ExportRows& rows, std::size_t row, std::string& utf8) {
    std::size_t start = row ? rows.ends[36 * row - 1] : 0;
    for (std::size_t i = 0; i < 36; ++i) {
        if (i)
            utf8 += ',';
        const std::size_t end = rows.ends[36 * row + i];
        AppendExchangeItem(utf8, std::string_view(rows.texts).substr(start, end - start));
        start = end;
    }
    for (const long long number : {rows.numbers[2 * row], rows.numbers[2 * row + 1]}) {
        if (!FitsInt32(number))
            return false;
        char digits[24];
        utf8 += ',';
        utf8.append(digits, std::to_chars(digits, digits + sizeof digits, number).ptr);
    }
    utf8 += "\r\n";
    return true;
}

// Makes the lines of the rows read and writes them to the file on a thread of its own, a few
// batches behind the reading. Once a row cannot travel it writes nothing more.
class LineWriter {
  public:
    explicit LineWriter(ReplacingFile& out)
        : out_(out), batches_(kBatches, [this](const ExportRows& batch) { return Write(batch); }) {}

    // Takes the row read; false once the writing has stopped (Finish tells why).
    bool Add(const Statement& row) {
        if (!batch_) {
            if (!(batch_ = batches_.Empty()))
                return false;
            batch_->texts.clear();
            batch_->ends.clear();
            batch_->numbers.clear();
        }
        for (int i = 0; i < 36; ++i) {
            batch_->texts += row.TextView(i);
            batch_->ends.push_back(std::uint32_t(batch_->texts.size()));
        }
        batch_->numbers.push_back(row.Int(36));
        batch_->numbers.push_back(row.Int(37));
        if (batch_->Rows() == kRowsPerBatch)
            batches_.Fill(std::move(batch_));
        return true;
    }
    // Waits until every row taken is written; raises a failed write. False when a row could not
    // travel: the id of the first such row is in FailedId.
    bool Finish() {
        batches_.Finish(std::move(batch_));
        return !failed_;
    }
    const std::string& FailedId() const { return failedId_; }

  private:
    // The writing thread's: false at a row that cannot travel.
    bool Write(const ExportRows& batch) {
        gbk_.clear();
        for (std::size_t row = 0; row < batch.Rows(); ++row) {
            utf8_.clear();
            const std::size_t at = gbk_.size();
            // GBK is never longer than UTF-8.
            const char* end = nullptr;
            if (AppendLine(batch, row, utf8_)) {
                gbk_.resize(at + utf8_.size());
                end = WriteUtf8AsGbk(gbk_.data() + at, utf8_);
            }
            if (!end) {
                const std::size_t from = row ? batch.ends[36 * row - 1] : 0;
                failedId_ = batch.texts.substr(from, batch.ends[36 * row] - from);
                failed_ = true;
                return false;
            }
            gbk_.resize(std::size_t(end - gbk_.data()));
        }
        out_.Write(gbk_);
        return true;
    }

    ReplacingFile& out_;
    std::unique_ptr<ExportRows> batch_;  // the reading's
    std::string utf8_, gbk_;             // the writing's
    bool failed_ = false;
    std::string failedId_;
    EmptiedAlongside<ExportRows> batches_;  // last: its thread writes with the members above
};

// Every value of the directory that cannot travel, in the order of the file.
std::vector<UntravelableValue> Untravelable(Database& db) {
    std::vector<UntravelableValue> found;
    Statement query(db, kExportRowsSQL);
    while (query.Step())
        FindUntravelable(query, found);
    return found;
}

constexpr const char* kNothingExported = "没有导出任何数据";

struct Counts {
    long long confirmed = 0;
    long long unconfirmed = 0;  // what the guard counts
};

// Both counts in one pass over the states.
Counts CountStates(Database& db) {
    Counts counts;
    Statement query(db,
                    "select count(case when QueRZT = '1' then 1 end), count(case when QueRZT <> "
                    "'1' or QueRZT is null then 1 end) from MLK_JiBXX");
    if (query.Step())
        counts = {query.Int(0), query.Int(1)};
    return counts;
}

}  // namespace

long long ConfirmedCount(TMainDM& dm) {
    const ScopedPragma cache(dm.Db(), "cache_size", kCountCacheKiB);
    return dm.QueryInt("select count(1) as sl from MLK_JiBXX  where QueRZT = '1' ");
}

long long UnconfirmedCount(TMainDM& dm) {
    const ScopedPragma cache(dm.Db(), "cache_size", kCountCacheKiB);
    return dm.QueryInt(
        "select count(1) as sl from MLK_JiBXX  where QueRZT <> '1' or QueRZT is null ");
}

CheckResult CheckExport(TMainDM& dm) {
    return GuardRefusal(UnconfirmedCount(dm));
}

std::string ExportFileName(const CaoZDWXX& unit) {
    return unit.DanWMC + "-核查数据.txt";
}

std::string ExportQuestion(long long count) {
    return "共有" + std::to_string(count) + "条机构导出";
}

std::string ExportDoneMessage(long long rows) {
    return "导出完成，共导出" + std::to_string(rows) + "条数据！";
}

// Damage, whether the check finds it or the reading meets it, is told in the same words.
long long ExportDirectory(TMainDM& dm, const std::filesystem::path& file, Progress& progress) try {
    // Memory stays flat whatever the directory's size: the engine sorts the rows for the file in
    // runs as large as the page cache, on disk, and the cache is kept small here.
    const ScopedPragma cache(dm.Db(), "cache_size", kExportCacheKiB);
    // The counts, the check and the rows read one state of the file.
    const ReadTransaction snapshot(dm.Db());
    // The states are counted and the file checked on the machine's second core while the engine
    // sorts the rows, which it does before it gives the first.
    Counts counts;
    ReadAlongside counting(dm.Db(), [&](Database& second) { counts = CountStates(second); });
    if (!counting.Started())
        counts = CountStates(dm.Db());
    // A damaged page would otherwise travel to the level above, or cut the file short. The check
    // runs beside the writing, and the file replaces the target only once it has passed.
    QuickCheckAlongside check(dm.Db(), kNothingExported);
    Statement query(dm.Db(), kExportRowsSQL);
    bool more = query.Step();
    counting.Wait();
    if (const CheckResult refusal = GuardRefusal(counts.unconfirmed))
        throw MlkError(refusal->message);
    if (counts.confirmed == 0)
        throw MlkError(kEmptyMessage);  // a file of no lines tells the level above nothing
    const std::int64_t maximum = 2 * counts.confirmed + 1;
    progress.SetRange(maximum);
    progress.SetPosition(0);

    ReplacingFile out(file);
    long long rows = 0;
    std::optional<std::string> failedId;  // of the first row that cannot travel
    {
        LineWriter writer(out);
        for (; more && writer.Add(query); more = query.Step())
            progress.SetPosition(++rows);
        if (!writer.Finish())
            failedId = writer.FailedId();
    }
    check.RequireUndamaged();
    if (failedId) {
        // Looked through again, so that the refusal names every such value at once.
        std::vector<UntravelableValue> untravelable = Untravelable(dm.Db());
        // The look-up and the converter agree on every character; were they ever not to, the
        // row is refused rather than left out.
        if (untravelable.empty()) {
            throw MlkError("机构 " + Excerpt(*failedId) +
                           " 无法导出：文本含有GBK编码无法表示的字符");
        }
        throw UntravelableError(std::move(untravelable));
    }
    out.Commit();
    progress.SetPosition(maximum);
    return rows;
} catch (const DbError& error) {
    if (MetDamage(error))
        throw MlkError(DamagedMessage(dm.Db().Path(), kNothingExported));
    throw;
}

}  // namespace mlk
