#include "exchange/Import.h"

#include <sqlite3.h>

#include "data/GGJG.h"
#include "data/MlkError.h"
#include "data/TMainDM.h"
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

// The progress of both passes, measured in bytes of the file.
std::int64_t FileBytes(const std::filesystem::path& file) {
    std::error_code error;
    const auto size = std::filesystem::file_size(file, error);
    return error ? 0 : std::int64_t(size);
}

// The record as the importing side stores it: under the pending institution, one level deeper.
void PlaceUnder(GGJG& record, const DaiDRJG& pending) {
    if (record.ShuJLY == "0") {
        record.ShuJLY = "1";
        record.ShangJBMID = pending.JiGID;
    }
    record.ShangBJGID = pending.JiGID;
    record.JiC += 1;
}

[[noreturn]] void FailInsert(const DbError& error, std::size_t line, const std::string& jigid) {
    std::string reason = error.what();
    if ((error.code() & 0xff) == SQLITE_CONSTRAINT) {
        reason = "名录库中已有机构ID为 " + jigid + " 的机构";
    } else if (const auto newline = reason.find('\n'); newline != std::string::npos) {
        reason.resize(newline);  // the engine's message without the statement text
    }
    throw MlkError("第" + std::to_string(line) + "行（机构ID：" + jigid + "）无法导入：" + reason +
                   "。文件中的数据均未导入。");
}

// Pass 1: every record must split, convert and pass its checks before anything is written.
long long CheckFile(const std::filesystem::path& file, Progress& progress) {
    ExchangeReader reader(file);
    GGJG record;
    long long count = 0;
    while (reader.Next(record)) {
        ++count;
        progress.SetPosition(std::int64_t(reader.Offset()));
    }
    return count;
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

std::string ImportRecorder(const CaoZDWXX& unit) {
    return unit.TongJY.empty() ? unit.TianBRXM : unit.TongJY;
}

long long ImportExchangeFile(TMainDM& dm, const DaiDRJG& pending, const std::filesystem::path& file,
                             Progress& progress) {
    if (const CheckResult refusal = CheckImport(pending))
        throw MlkError(refusal->message);
    const std::int64_t bytes = FileBytes(file);
    progress.SetRange(2 * bytes + 2);
    progress.SetPosition(1);

    if (CheckFile(file, progress) == 0)
        return 0;

    Transaction transaction(dm.Db());
    Statement insert(dm.Db(), GGJG::InsertSQL());
    ExchangeReader reader(file);
    GGJG record;
    long long count = 0;
    while (reader.Next(record)) {
        PlaceUnder(record, pending);
        try {
            insert.BindAll(record.InsertParams()).Run();
        } catch (const DbError& error) {
            FailInsert(error, reader.Line(), record.JiGID);
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
         TMainDM::NowText(), ImportRecorder(dm.Unit())});
    transaction.Commit();
    progress.SetPosition(2 * bytes + 2);
    return count;
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
