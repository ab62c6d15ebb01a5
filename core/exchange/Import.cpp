#include "exchange/Import.h"

#include <sqlite3.h>

#include <cstdint>

#include "base/MlkError.h"
#include "db/Integrity.h"
#include "exchange/ExchangeFile.h"
#include "exchange/ExchangeReadAhead.h"
#include "exchange/ImportCheck.h"
#include "model/CodeTables.h"
#include "model/GGJG.h"
#include "model/TMainDM.h"
#include "text/Text.h"

namespace mlk {

namespace {

constexpr const char* kPendingColumns =
    "Select JiGID,JiGMC,JieDLB,XingZJB,JieDMC, XingZQH,CaiZJFLYFS, JiGLX,"
    " DaoRZT,DaoRSJ,DaoRSL,ShenHZT,ShenHSJ  From MLK_DaiDRJG ";

DaiDRJG ReadPending(const Statement& row) {
    DaiDRJG p;
    p.JiGID = row.Text("JiGID");
    p.JiGMC = row.Text("JiGMC");
    p.JieDLB = row.Text("JieDLB");
    p.XingZJB = row.Text("XingZJB");
    p.JieDMC = row.Text("JieDMC");
    p.XingZQH = row.Text("XingZQH");
    p.CaiZJFLYFS = row.Text("CaiZJFLYFS");
    p.JiGLX = row.Text("JiGLX");
    p.DaoRZT = row.Text("DaoRZT");
    p.DaoRSJ = row.Text("DaoRSJ");
    p.DaoRSL = row.Text("DaoRSL");
    p.ShenHZT = row.Text("ShenHZT");
    p.ShenHSJ = row.Text("ShenHSJ");
    return p;
}

// Items of the file (from 0) and where they go in GGJG::InsertSQL, which names the columns in
// the order of GGJG::kColumns: the file carries QiT (item 22) among the addresses.
constexpr std::size_t kQiTItem = 21;
constexpr std::size_t kQiTColumn = 35;
constexpr std::size_t kJiGLXItem = 12;
constexpr std::size_t kShangBJGIDItem = 27;
constexpr std::size_t kShuJLYItem = 34;
constexpr std::size_t kShangJBMIDItem = 35;

int ColumnOfItem(std::size_t item) {
    if (item < kQiTItem)
        return int(item) + 1;
    if (item == kQiTItem)
        return int(kQiTColumn) + 1;
    return int(item);  // one place earlier than in the file, counted from 1
}

// The record comes in one level deeper than it stood in its own directory.
long long ImportedJiC(const ExchangeReadAhead& reader) {
    if (reader.JiC() >= INT32_MAX) {
        throw MlkError(LineName(reader.Line()) + "：第37项 '" + std::to_string(reader.JiC()) +
                       "' 加1后超出整数范围，无法导入");
    }
    return reader.JiC() + 1;
}

// Binds the record as the importing side stores it: under the pending institution, one level
// deeper; an empty type is stored as no type, as every insert of a directory row does. The texts
// stay in the reader and the pending record until the insert has run: no copies.
void BindPlacedUnder(Statement& insert, const ExchangeReadAhead& reader, const DaiDRJG& pending) {
    const std::vector<std::string_view>& items = reader.Items();
    const bool ownEntry = items[kShuJLYItem] == "0";
    for (std::size_t i = 0; i < 36; ++i) {
        std::string_view value = items[i];
        if (i == kShangBJGIDItem)
            value = pending.JiGID;
        if (ownEntry && i == kShuJLYItem)
            value = "1";
        if (ownEntry && i == kShangJBMIDItem)
            value = pending.JiGID;
        if (i == kJiGLXItem && value.empty())
            value = kEmptyTypeCode;
        insert.BindUnchanged(ColumnOfItem(i), value);
    }
    insert.Bind(37, ImportedJiC(reader));
    insert.Bind(38, reader.ShunX());
}

// A JiGID the directory holds already. The import is refused naming every such id of the file,
// which a second reading lists once the transaction has rolled back.
struct IdTaken {
    std::string message;  // for the first, should the second reading find none
};

[[noreturn]] void FailInsert(const DbError& error, std::size_t line, std::string_view jigid) {
    std::string reason = error.what();
    if ((error.code() & 0xff) == SQLITE_CONSTRAINT) {
        throw IdTaken{LineName(line) + "（机构ID：" + Excerpt(jigid) +
                      "）无法导入：名录库中已有机构ID为 " + std::string(jigid) +
                      " 的机构。文件中的数据均未导入。"};
    } else if (const auto newline = reason.find('\n'); newline != std::string::npos) {
        reason.resize(newline);  // the engine's message without the statement text
    }
    throw MlkError(LineName(line) + "（机构ID：" + Excerpt(jigid) + "）无法导入：" + reason +
                   "。文件中的数据均未导入。");
}

// The secondary indexes of the directory, each by its name and its statement. An import that
// brings about as many rows as the directory holds, or more, drops them and builds them again
// after its inserts, in its own transaction: building an index sorts its rows once, which costs
// far less than placing a large file's rows one by one in every index. For a small file into a
// large directory it is the other way round.
struct TableIndex {
    std::string name, sql;
};

// Negative: KiB rather than pages.
constexpr long long kIndexBuildCacheKiB = -16384;

// Bytes of a typical line, to tell from the file's size about how many rows it brings.
constexpr std::uint64_t kTypicalLineBytes = 256;

std::vector<TableIndex> IndexesToRebuild(Database& db, std::uint64_t fileBytes) {
    // The largest rowid: the number of rows, or a little more after deletions, without counting.
    Statement size(db, "select coalesce(max(rowid), 0) from MLK_JiBXX");
    size.Step();
    std::vector<TableIndex> indexes;
    if (fileBytes / kTypicalLineBytes < std::uint64_t(size.Int(0)))
        return indexes;
    // A partial index stays: the one the directory has holds the unit's own rows, which an import
    // never brings, so keeping it costs a test a row where building it again reads every row.
    Statement query(db,
                    "select m.name, m.sql from pragma_index_list('MLK_JiBXX') as l "
                    "join sqlite_master as m on m.name = l.name "
                    "where l.origin = 'c' and not l.partial");
    while (query.Step())
        indexes.push_back({query.Text(0), query.Text(1)});
    return indexes;
}

// Keeps the changes of the transaction in the page cache until released, while a check reads the
// file on another connection: writing them out would wait for the check's lock. Full once they take
// more memory than an import should hold; the check is then waited for. cache_spill is a switch
// here, and turned back on as every connection has it: it reads back as the number of pages at
// which the cache spills, which ScopedPragma would write back as a fixed threshold.
class KeptInCache {
  public:
    explicit KeptInCache(Database& db) : db_(db) { db_.Exec("pragma cache_spill = 0"); }
    ~KeptInCache() { Release(); }
    KeptInCache(const KeptInCache&) = delete;
    KeptInCache& operator=(const KeptInCache&) = delete;

    bool Kept() const { return kept_; }
    bool Full() const {
        int used = 0, highest = 0;
        sqlite3_db_status(db_.Handle(), SQLITE_DBSTATUS_CACHE_USED, &used, &highest, 0);
        return used > kMostBytes;
    }
    void Release() {
        if (kept_)
            sqlite3_exec(db_.Handle(), "pragma cache_spill = 1", nullptr, nullptr, nullptr);
        kept_ = false;
    }

  private:
    static constexpr int kMostBytes = 96 << 20;
    Database& db_;
    bool kept_ = true;
};

bool StopRequested(const Database& db) {
    return db.Watch() && db.Watch()->StopRequested();
}

// Refuses by the pending institution's state as stored now, read inside the caller's
// transaction: an audit or an import made meanwhile, by another window or by mlk, counts, not
// the state of the caller's copy read before its question.
void CheckStoredState(TMainDM& dm, const DaiDRJG& pending, CheckResult (*check)(const DaiDRJG&)) {
    const std::optional<DaiDRJG> stored = LoadPending(dm, pending.JiGID);
    if (!stored)
        throw MlkError("没有机构ID为 " + pending.JiGID + " 的待导入机构");
    if (const CheckResult refusal = check(*stored))
        throw MlkError(refusal->message);
}

}  // namespace

std::optional<DaiDRJG> LoadPending(TMainDM& dm, const std::string& jigid) {
    std::optional<DaiDRJG> found;
    dm.ForEachRow(std::string(kPendingColumns) + " where JiGID = ? ", {jigid},
                  [&](const Statement& row) {
                      if (!found)
                          found = ReadPending(row);
                  });
    return found;
}

std::vector<DaiDRJG> PendingInstitutions(TMainDM& dm) {
    std::vector<DaiDRJG> list;
    dm.ForEachRow(std::string(kPendingColumns) + " order by DaoRZT,ShenHZT desc ", {},
                  [&](const Statement& row) { list.push_back(ReadPending(row)); });
    return list;
}

CheckResult CheckRemoveImport(const DaiDRJG& pending) {
    if (pending.ShenHZT == "1")
        return CheckFailure{"该机构的数据已审核，不能再导入或删除。", ""};
    return std::nullopt;
}

CheckResult CheckImport(const DaiDRJG& pending) {
    if (CheckResult refusal = CheckRemoveImport(pending))
        return refusal;
    if (pending.DaoRZT == "1")
        return CheckFailure{"该机构的数据已经导入，请先删除已导入数据再重新导入。", ""};
    return std::nullopt;
}

namespace {

long long ImportRows(TMainDM& dm, const DaiDRJG& pending, const std::filesystem::path& file,
                     Progress& progress) {
    // The file is read on a second thread while the rows go in here.
    ExchangeReadAhead reader(file);
    Transaction transaction(dm.Db());
    CheckStoredState(dm, pending, CheckImport);
    // Writing into a damaged file can spread the damage, wherever the rows land. The file is
    // checked while the rows go in, and they reach it only once the check has passed.
    QuickCheckAlongside check(dm.Db(), kNothingImported);
    KeptInCache kept(dm.Db());
    const auto checked = [&] {
        if (kept.Kept()) {
            check.RequireUndamaged();
            kept.Release();
        }
    };
    const std::vector<TableIndex> rebuilt = IndexesToRebuild(dm.Db(), reader.Size());
    // Progress: the bytes read, an eighth of them for each index built again (about the time it
    // takes), one step for the commit.
    const auto bytes = std::int64_t(reader.Size());
    const std::int64_t indexStep = bytes / 8 + 1;
    const std::int64_t maximum = bytes + std::int64_t(rebuilt.size()) * indexStep + 1;
    progress.SetRange(maximum);
    progress.SetPosition(0);

    for (const TableIndex& index : rebuilt)
        dm.Db().Exec("drop index \"" + index.name + "\"");
    Statement insert(dm.Db(), GGJG::InsertSQL());
    long long count = 0;
    try {
        while (reader.Next()) {
            try {
                BindPlacedUnder(insert, reader, pending);
                insert.Run();
            } catch (const DbError& error) {
                FailInsert(error, reader.Line(), reader.Items()[0]);
            }
            insert.Rewind();
            if (++count % 256 == 0 && kept.Kept() && (check.Done() || kept.Full()))
                checked();
            progress.SetPosition(std::int64_t(reader.Offset()));
        }
        checked();
    } catch (...) {
        // Damage is told before what it may have caused, as a check made first would have; a
        // stop asked for does not wait for the check.
        if (kept.Kept() && !StopRequested(dm.Db()))
            checked();
        throw;
    }
    // A file without lines changes nothing: the transaction rolls back.
    if (count == 0)
        return 0;
    {
        // The engine sorts an index's rows in runs as large as the page cache: a smaller cache
        // keeps the memory of a large file flat at no loss of speed.
        const ScopedPragma cache(dm.Db(), "cache_size", kIndexBuildCacheKiB);
        for (std::size_t i = 0; i < rebuilt.size(); ++i) {
            dm.Db().Exec(rebuilt[i].sql);
            progress.SetPosition(bytes + std::int64_t(i + 1) * indexStep);
        }
    }

    const std::string imported = std::to_string(count);
    const std::string now = TMainDM::NowText();
    dm.ExecSQL("update MLK_DaiDRJG  set DaoRZT = '1', DaoRSJ = ?, DaoRSL = ? where JiGID = ?",
               {now, imported, pending.JiGID});
    dm.ExecSQL(
        "insert into MLK_DaoRRZ  (ID,DanWID,DanWMC,JieDLB,DaoRSL,DaoRSJ,DaoRRXM) values "
        "( ?,?,?,?,?,?,? )",
        {TMainDM::NewID(), pending.JiGID, pending.JiGMC, pending.JieDLB, imported, now,
         dm.Unit().ClerkName()});
    transaction.Commit();
    progress.SetPosition(maximum);
    return count;
}

}  // namespace

long long ImportExchangeFile(TMainDM& dm, const DaiDRJG& pending, const std::filesystem::path& file,
                             Progress& progress) {
    try {
        return ImportRows(dm, pending, file, progress);
    } catch (const IdTaken& taken) {
        const ImportCheckResult check = CheckExchangeFileLines(dm, file, progress);
        throw MlkError(check.conflicts.empty() ? taken.message : ConflictRefusal(check));
    }
}

long long ImportedRowCount(TMainDM& dm, const DaiDRJG& pending) {
    if (const CheckResult refusal = CheckRemoveImport(pending))
        throw MlkError(refusal->message);
    return dm.QueryInt("select count(1) from MLK_JiBXX where ShangBJGID=?", {pending.JiGID});
}

std::string RemoveImportQuestion(const DaiDRJG& pending, long long rows) {
    return "确认删除" + pending.JiGMC + "下已导入的 (" + std::to_string(rows) + ") 条机构信息？";
}

long long RemoveImport(TMainDM& dm, const DaiDRJG& pending, SafetyCopy copy, Progress& progress) {
    if (copy == SafetyCopy::Keep) {
        CheckStoredState(dm, pending, CheckRemoveImport);  // no copy for a removal refused anyway
        KeepSafetyCopy(dm.Db(), "删除已导入数据", progress);
    }
    Transaction transaction(dm.Db());
    CheckStoredState(dm, pending, CheckRemoveImport);
    dm.ExecSQL("delete from MLK_JiBXX  where ShangBJGID=?", {pending.JiGID});
    const long long removed = dm.Db().Changes();
    dm.ExecSQL("update MLK_DaiDRJG  set DaoRZT = '0', DaoRSJ = '', DaoRSL = '0'  where JiGID = ?",
               {pending.JiGID});
    transaction.Commit();
    return removed;
}

std::string ImportDoneMessage(long long rows) {
    return "已成功导入" + std::to_string(rows) + "条机构信息数据。";
}

}  // namespace mlk
