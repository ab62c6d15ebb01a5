#include "exchange/Import.h"

#include <sqlite3.h>

#include <cstdint>

#include "data/CodeTables.h"
#include "data/GGJG.h"
#include "data/MlkError.h"
#include "data/TMainDM.h"
#include "data/Text.h"
#include "exchange/ExchangeFile.h"

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
long long ImportedJiC(const ExchangeReader& reader) {
    if (reader.JiC() >= INT32_MAX) {
        throw MlkError("第" + std::to_string(reader.Line()) + "行：第37项 '" +
                       std::to_string(reader.JiC()) + "' 加1后超出整数范围，无法导入");
    }
    return reader.JiC() + 1;
}

// Binds the record as the importing side stores it: under the pending institution, one level
// deeper; an empty type is stored as no type, as every insert of a directory row does.
void BindPlacedUnder(Statement& insert, const ExchangeReader& reader, const DaiDRJG& pending) {
    const std::vector<std::string>& items = reader.Items();
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
        insert.Bind(ColumnOfItem(i), value);
    }
    insert.Bind(37, ImportedJiC(reader));
    insert.Bind(38, reader.ShunX());
}

[[noreturn]] void FailInsert(const DbError& error, std::size_t line, const std::string& jigid) {
    std::string reason = error.what();
    if ((error.code() & 0xff) == SQLITE_CONSTRAINT) {
        reason = "名录库中已有机构ID为 " + jigid + " 的机构";
    } else if (const auto newline = reason.find('\n'); newline != std::string::npos) {
        reason.resize(newline);  // the engine's message without the statement text
    }
    throw MlkError("第" + std::to_string(line) + "行（机构ID：" + Excerpt(jigid) + "）无法导入：" +
                   reason + "。文件中的数据均未导入。");
}

// Pass 1: every record must split, convert and pass its checks before anything is written.
// Progress runs over both passes, measured in bytes of the file.
long long CheckFile(const std::filesystem::path& file, Progress& progress) {
    ExchangeReader reader(file);
    progress.SetRange(2 * std::int64_t(reader.Size()) + 2);
    progress.SetPosition(1);
    long long count = 0;
    while (reader.Next()) {
        ImportedJiC(reader);
        ++count;
        progress.SetPosition(std::int64_t(reader.Offset()));
    }
    return count;
}

// While a file goes in, the database is read through the page cache alone: a memory-mapped
// database would add the pages of the growing file to the resident memory of the import,
// which must stay flat whatever the file's size.
class WithoutMapping {
  public:
    explicit WithoutMapping(Database& db) : db_(db) {
        Statement query(db, "pragma mmap_size");
        if (query.Step())
            previous_ = query.Int(0);
        db_.Exec("pragma mmap_size = 0");
    }
    ~WithoutMapping() {
        try {
            db_.Exec("pragma mmap_size = " + std::to_string(previous_));
        } catch (const MlkError&) {
        }
    }
    WithoutMapping(const WithoutMapping&) = delete;
    WithoutMapping& operator=(const WithoutMapping&) = delete;

  private:
    Database& db_;
    long long previous_ = 0;
};

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

CheckResult CheckImport(const DaiDRJG& pending) {
    if (pending.ShenHZT == "1")
        return CheckFailure{"该机构的数据已审核，不能再导入或删除。", ""};
    if (pending.DaoRZT == "1") {
        return CheckFailure{"该机构的数据已经导入，请先删除已导入数据再重新导入。", ""};
    }
    return std::nullopt;
}

CheckResult CheckRemoveImport(const DaiDRJG& pending) {
    if (pending.ShenHZT == "1")
        return CheckFailure{"该机构的数据已审核，不能再导入或删除。", ""};
    return std::nullopt;
}

long long ImportExchangeFile(TMainDM& dm, const DaiDRJG& pending, const std::filesystem::path& file,
                             Progress& progress) {
    if (const CheckResult refusal = CheckImport(pending))
        throw MlkError(refusal->message);
    if (CheckFile(file, progress) == 0)
        return 0;

    WithoutMapping unmapped(dm.Db());
    Transaction transaction(dm.Db());
    Statement insert(dm.Db(), GGJG::InsertSQL());
    ExchangeReader reader(file);
    const auto bytes = std::int64_t(reader.Size());
    long long count = 0;
    while (reader.Next()) {
        try {
            BindPlacedUnder(insert, reader, pending);
            insert.Run();
        } catch (const DbError& error) {
            FailInsert(error, reader.Line(), reader.Items()[0]);
        }
        insert.Reset();
        ++count;
        progress.SetPosition(bytes + std::int64_t(reader.Offset()));
    }

    const std::string imported = std::to_string(count);
    dm.ExecSQL("update MLK_DaiDRJG  set DaoRZT = '1', DaoRSJ = ?, DaoRSL = ? where JiGID = ?",
               {TMainDM::NowText(), imported, pending.JiGID});
    dm.ExecSQL(
        "insert into MLK_DaoRRZ  (ID,DanWID,DanWMC,JieDLB,DaoRSL,DaoRSJ,DaoRRXM) values "
        "( ?,?,?,?,?,?,? )",
        {TMainDM::NewID(), pending.JiGID, pending.JiGMC, pending.JieDLB, imported,
         TMainDM::NowText(), dm.Unit().ClerkName()});
    transaction.Commit();
    progress.SetPosition(2 * bytes + 2);
    return count;
}

long long ImportedRowCount(TMainDM& dm, const DaiDRJG& pending) {
    if (const CheckResult refusal = CheckRemoveImport(pending))
        throw MlkError(refusal->message);
    return dm.QueryInt("select count(1) from MLK_JiBXX where ShangBJGID=?", {pending.JiGID});
}

std::string RemoveImportQuestion(const DaiDRJG& pending, long long rows) {
    return "确认删除" + pending.JiGMC + "下已导入的 (" + std::to_string(rows) + ") 条机构信息？";
}

long long RemoveImport(TMainDM& dm, const DaiDRJG& pending) {
    if (const CheckResult refusal = CheckRemoveImport(pending))
        throw MlkError(refusal->message);
    Transaction transaction(dm.Db());
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
