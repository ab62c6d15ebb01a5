#include "TestSupport.h"

#include <ctime>
#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <algorithm>
#include <csignal>
#include <fstream>
#include <random>
#include <sstream>

#include "platform/Platform.h"

// The records below name only the fields they fill; the others stay empty.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace mlk::test {

TempDir::TempDir() {
    std::random_device device;
    root_ = std::filesystem::temp_directory_path() /
            ("mlk-test-" + std::to_string(device()) + std::to_string(device()));
    path_ = root_ / PathFromText("测试 目录");
    std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

std::filesystem::path TempDir::operator/(const std::string& name) const {
    return path_ / PathFromText(name);
}

void DbTest::SetUp() {
    dm_ = std::make_unique<TMainDM>(dir_ / "GGJGMLK.DB");
}

void DbTest::Reopen() {
    dm_.reset();
    dm_ = std::make_unique<TMainDM>(dir_ / "GGJGMLK.DB");
}

void DbTest::RegisterUnit(const std::string& type, const std::string& county,
                          const std::string& name, const std::string& level) {
    dm_->ExecSQL(
        "insert into MLK_CaoZDWXX (DanWID,DanWMC, XingZQH,XingZLSJB,DanWLX,YouZBM, JieDMC,"
        "TianBRXM,ChuSHSJ,TongJY,DanWFZR) values (?,?,?,?,?,?,?,?,?,?,?)",
        {county + TMainDM::NewID(), name, county, level, type, county, name, "填表人",
         TMainDM::NowText(), "", ""});
    dm_->LoadCaoZDWXX();
}

void DamageBTree(const std::filesystem::path& db, const std::string& name) {
    Database reader(db, Database::Access::ReadOnly);
    Statement size(reader, "pragma page_size");
    Statement root(reader, "select rootpage from sqlite_master where name = ?");
    ASSERT_TRUE(size.Step() && root.Bind(1, name).Step()) << name;
    std::fstream file(db, std::ios::binary | std::ios::in | std::ios::out);
    file.seekp((root.Int(0) - 1) * size.Int(0));
    file << std::string(std::size_t(size.Int(0)), 'Z');
}

std::string LocalDate() {
    const std::time_t now = std::time(nullptr);
    char date[16];
    std::strftime(date, sizeof date, "%Y-%m-%d", std::localtime(&now));
    return date;
}

#ifndef _WIN32
FileSizeLimit::FileSizeLimit(unsigned long bytes) {
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    saved_[0] = limit.rlim_cur;
    saved_[1] = limit.rlim_max;
    handler_ = std::signal(SIGXFSZ, SIG_IGN);  // the write fails instead of ending the process
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
    const rlimit limit{saved_[0], saved_[1]};
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, handler_);
}
#endif

std::vector<std::string> FileNames(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(PathText(entry.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::vector<GGJG> ReadExchangeFile(const std::filesystem::path& file) {
    ExchangeReader reader(file);
    std::vector<GGJG> records;
    GGJG record;
    while (reader.Next(record))
        records.push_back(record);
    return records;
}

std::vector<std::string> Ids(const std::vector<GGJG>& records) {
    std::vector<std::string> ids;
    for (const GGJG& r : records)
        ids.push_back(r.JiGID);
    return ids;
}

GGJG SampleRecord(const std::string& id, const std::string& name) {
    // clang-format off
    return {.JiGID = id, .JiGMC = name, .ZuZJGDM = "12345678X", .HangYDM = "P82",
            .XingZQH = "110101", .XingZLSJB = "4", .XingZJB = "4", .JieDLB = "1",
            .JieDMC = name, .ShangJHYZGBM = "东城区教育局", .ShangJXZZGBM = "东城区人民政府",
            .CaiZJFLYFS = "0", .JiGLX = "8210", .DiZhi_Shen = "北京市", .DiZhi_Shi = "市辖区",
            .DiZhi_Xian = "东城区", .DiZhi_JieD = "东华门街道", .DiZhi_HaoP = "12号",
            .YouZBM = "100010", .LianXRXM = "张三", .LianXDH = "010-1234567", .TianBRXM = "李四",
            .ChuSHSJ = "2024-03-01", .GengXZT = "0", .TongJY = "王五", .DanWFZR = "赵六",
            .QueRRXM = "李四", .QueRSJ = "2024-03-02 10:00:00", .QueRZT = "1", .ShenHZT = "0",
            .ShuJLY = "0", .ShangJBMID = "110101ABCDEF0123", .QiT = "备注", .JiC = 1, .ShunX = 3};
    // clang-format on
}

InstitutionForm ValidForm(const std::string& code) {
    // clang-format off
    return {.JiGMC = "  北京市第一中学 ", .ZuZJGDM = code, .HangYDM = "P8230",
            .Jigfl = "8230-普通中学", .XingZJB = "4-县(处)级", .JieDLB = "1-主管部门",
            .CaiZJFSY = "0-全额财政", .Xingzqhss = "110000-北京市", .Xingzqhds = "110100-市辖区",
            .Xingzqhxq = "110101-东城区", .JieD = "东华门街道", .HaoP = "12", .YouZBM = "100010",
            .LianXR = "王老师", .LianXDH = "01065123456", .TianBRQ = "2024-05-06", .ShunX = "3",
            .XingZQH = "110101"};
    // clang-format on
}

DaiDRJG AddPending(TMainDM& dm, const std::string& id, const std::string& name,
                   const std::string& node, const std::string& type, const std::string& imported,
                   bool audited) {
    dm.ExecSQL(
        "insert into MLK_DaiDRJG (JiGID,JiGMC,JieDLB,XingZJB,JieDMC,XingZQH,CaiZJFLYFS,JiGLX,"
        "DaoRZT,DaoRSJ,DaoRSL,ShenHZT,ShenHSJ) values (?,?,?,'4',?,'110101','0',?,?,?,?,?,?)",
        {id, name, node, name, type, imported.empty() ? "0" : "1",
         imported.empty() ? "" : "2024-05-06 10:20:30", imported.empty() ? "0" : imported,
         audited ? "1" : "0", audited ? "2024-05-07 10:20:30" : ""});
    return *LoadPending(dm, id);
}

GGJG SampleRecord(const SampleRow& s) {
    GGJG row = SampleRecord(s.id, s.name + "全称");
    row.JieDMC = s.name;
    row.ShuJLY = s.source;
    row.ShangJBMID = s.superior;
    row.ShangBJGID = s.reporter;
    row.JieDLB = s.node;
    row.JiGLX = s.type;
    row.JiC = s.level;
    row.ShunX = s.order;
    row.QueRZT = s.confirmed;
    row.ZuZJGDM = "12345678" + std::to_string(s.order % 10);
    row.DiZhi_HaoP = std::to_string(s.order) + "号";
    return row;
}

void InsertSampleRows(TMainDM& dm, const std::vector<SampleRow>& rows) {
    std::vector<SqlStatement> batch;
    for (const SampleRow& s : rows)
        batch.push_back({GGJG::InsertSQL(), SampleRecord(s).InsertParams()});
    dm.ExecSQLBatch(batch);
}

void AddInitialRow(TMainDM& dm, const std::string& id, const std::string& name,
                   const std::string& province, const std::string& city, const std::string& county,
                   const std::string& street, const std::string& taken) {
    dm.ExecSQL(
        "Insert into MLK_YuanJGXX (ID,NAME,BM,SF,DS,XQ,JIED,BH1,XuanZBZ) "
        "values (?,?,?,?,?,?,?,'9900',?)",
        {id, name, id, province, city, county, street, taken});
}

void AddSampleDirectory(TMainDM& dm) {
    InsertSampleRows(
        dm, {OwnRow(dm, "T1", "教育局", "1", "8210", 1), OwnRow(dm, "T2", "卫生局", "1", "8015", 2),
             OwnRow(dm, "T3", "文化局", "1", "8610", 3, "0"),
             OwnRow(dm, "T4", "民政局", "1", "9900", 4),
             OwnRow(dm, "A1", "朝阳节能中心", "0", "9900", 5),
             OwnRow(dm, "A2", "西城节能中心", "0", "9900", 6, "0"),
             ImportedRow("a1", "一中", "T1", "T1", "1", "8220", 2, 1),
             ImportedRow("a2", "党委", "T1", "T1", "1", "7010", 2, 2),
             ImportedRow("a3", "体育场", "T2", "T2", "1", "8810", 2, 1),
             ImportedRow("a4", "一中分校", "a1", "T1", "1", "8230", 3, 1)});
    AddPending(dm, "T1", "教育局全称", "1", "8210", "3");
    AddPending(dm, "T2", "卫生局全称", "1", "8015", "1", true);
    AddPending(dm, "T4", "民政局全称", "1", "9900");
    AddPending(dm, "A1", "朝阳节能中心全称", "0", "9900");
    AddInitialRow(dm, "C1", "第一小学", "北京市", "市辖区", "东城区", "和平路");
    AddInitialRow(dm, "C2", "第二中学", "北京市", "市辖区", "东城区", "和平街");
    AddInitialRow(dm, "C3", "第三中学", "北京市", "市辖区", "西城区", "长安街", "1");
}

}  // namespace mlk::test
