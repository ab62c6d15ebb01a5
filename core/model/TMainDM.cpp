#include "model/TMainDM.h"

#include <cstdio>
#include <random>
#include <unordered_map>

#include "base/MlkError.h"
#include "db/Schema.h"
#include "platform/Platform.h"

namespace mlk {

namespace {

std::vector<std::string> LoadAssignableTypes(Database& db) {
    std::vector<std::string> entries;
    Statement query(db, "select LXBM,LXMC  from MLK_JiGLX   where shifmx='1' order by jici,LXBM");
    while (query.Step())
        entries.push_back(query.Text("LXBM") + "-" + query.Text("LXMC"));
    return entries;
}

std::string Format(const char* pattern, const std::tm& t, bool withTime) {
    char text[32];
    if (withTime) {
        std::snprintf(text, sizeof text, pattern, t.tm_year + 1900, t.tm_mon + 1, t.tm_mday,
                      t.tm_hour, t.tm_min, t.tm_sec);
    } else {
        std::snprintf(text, sizeof text, pattern, t.tm_year + 1900, t.tm_mon + 1, t.tm_mday);
    }
    return text;
}

}  // namespace

TMainDM::TMainDM(const std::filesystem::path& path, Database::Access access)
    : TMainDM(path, access, nullptr) {}

TMainDM::TMainDM(const std::filesystem::path& path, ConnectionWatch* watch)
    : TMainDM(path, Database::Access::Existing, watch) {}

TMainDM::TMainDM(const std::filesystem::path& path, Database::Access access, ConnectionWatch* watch)
    : db_(path, access) {
    if (watch)
        db_.SetWatch(watch);
    EnsureSchema(db_);
    // A provincial directory holds hundreds of thousands of rows: keep the lists' indexes in
    // memory instead of re-reading them from the file for every page. The file is not mapped
    // into memory as well: a mapping would make every page read resident, and the memory of an
    // export or a summary would grow with the whole file.
    db_.Exec("pragma cache_size = -65536");
    codes_ = CodeTables(LoadAssignableTypes(db_));
    LoadCaoZDWXX();
}

void TMainDM::Reload() {
    EnsureSchema(db_);
    codes_ = CodeTables(LoadAssignableTypes(db_));
    unit_ = CaoZDWXX();
    LoadCaoZDWXX();
}

std::filesystem::path TMainDM::DefaultPath() {
    return std::filesystem::current_path() / "GGJGMLK.DB";
}

// ---- Statements ----------------------------------------------------------------------------

void TMainDM::ExecSQL(std::string_view sql, const Params& params) {
    db_.Exec(sql, params);
}

void TMainDM::ExecSQLBatch(const std::vector<SqlStatement>& batch, Progress* progress) {
    if (progress)
        progress->SetRange(std::int64_t(batch.size()));
    Transaction transaction(db_);
    // Declared after the transaction so that every statement is finalised before a rollback.
    std::unordered_map<std::string, Statement> prepared;
    for (std::size_t i = 0; i < batch.size(); ++i) {
        const SqlStatement& item = batch[i];
        if (item.sql.empty())
            continue;
        auto found = prepared.find(item.sql);
        if (found == prepared.end()) {
            found = prepared.emplace(item.sql, Statement(db_, item.sql)).first;
        }
        Statement& statement = found->second;
        statement.BindAll(item.params).Run();
        statement.Reset();
        if (progress)
            progress->SetPosition(std::int64_t(i) + 1);
    }
    prepared.clear();
    transaction.Commit();
}

bool TMainDM::HasRow(std::string_view sql, const Params& params) {
    Statement query(db_, sql);
    return query.BindAll(params).Step();
}

std::string TMainDM::QueryText(std::string_view sql, const Params& params) {
    Statement query(db_, sql);
    return query.BindAll(params).Step() ? query.Text(0) : std::string();
}

long long TMainDM::QueryInt(std::string_view sql, const Params& params) {
    Statement query(db_, sql);
    return query.BindAll(params).Step() ? query.Int(0) : 0;
}

// ---- Ids and time --------------------------------------------------------------------------

std::string TMainDM::NewID() {
    // The first ten hexadecimal digits of a random (version 4) GUID are all random bits.
    thread_local std::mt19937_64 engine{[] {
        std::random_device device;
        std::seed_seq seed{device(), device(), device(), device()};
        return std::mt19937_64(seed);
    }()};
    const unsigned long long bits = engine() >> 24;  // 40 bits
    char text[11];
    std::snprintf(text, sizeof text, "%010llX", bits);
    return text;
}

std::string TMainDM::NowText() {
    return Format("%04d-%02d-%02d %02d:%02d:%02d", platform::LocalNow(), true);
}

std::string TMainDM::TodayText() {
    return Format("%04d-%02d-%02d", platform::LocalNow(), false);
}

// ---- Operating unit ------------------------------------------------------------------------

void TMainDM::LoadCaoZDWXX() {
    Statement query(db_,
                    "select DanWID,DanWMC, XingZQH,XingZLSJB,DanWLX,YouZBM, JieDMC,TianBRXM,"
                    "ChuSHSJ,TongJY,DanWFZR from MLK_CaoZDWXX ");
    if (!query.Step()) {
        unit_.ZhuCeBZ = false;
        return;
    }
    unit_.DanWID = query.Text("DanWID");
    unit_.DanWMC = query.Text("DanWMC");
    unit_.XingZQH = query.Text("XingZQH");
    unit_.XingZLSJB = query.Text("XingZLSJB");
    unit_.DanWLX = query.Text("DanWLX");
    unit_.YouZBM = query.Text("YouZBM");
    unit_.JieDMC = query.Text("JieDMC");
    unit_.TianBRXM = query.Text("TianBRXM");
    unit_.ChuSHSJ = query.Text("ChuSHSJ");
    unit_.TongJY = query.Text("TongJY");
    unit_.DanWFZR = query.Text("DanWFZR");

    const XingZQH division = GetXingZQH(unit_.XingZQH);
    unit_.xqmc = division.xqmc;
    unit_.dsbm = division.dsbm;
    unit_.dsmc = division.dsmc;
    unit_.ssbm = division.ssbm;
    unit_.ssmc = division.ssmc;

    unit_.ZhuCeBZ = true;
    unit_.DanWLXMC = CodeLabel(unit_.DanWLX, "JieDLB");
    unit_.XingZLSJBMC = CodeLabel(unit_.XingZLSJB, "XingZLSJB");
}

}  // namespace mlk
