#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#ifdef _WIN32
#include <share.h>
#else
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "TestSupport.h"
#include "XlsxCells.h"
#include "platform/Platform.h"
#include "platform/ReplacingFile.h"
#include "reports/Save2Excel.h"
#include "reports/Xlsx.h"
#include "text/Encoding.h"
#include "text/Gbk.h"

namespace mlk::test {
namespace {

// Bytes written out by hand: "09 08 08 00 ..." as the reader expects them.
std::string Hex(const std::string& text) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < text.size(); i += 3) {
        bytes.push_back(char(std::stoi(text.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

const std::string kBof = Hex("09 08 08 00 00 00 10 00 00 00 00 00 ");
const std::string kCodePage = Hex("42 00 02 00 A8 03 ");
const std::string kEof = Hex("0A 00 00 00 ");

std::string Word(std::uint16_t value) {
    return {char(value & 0xFF), char(value >> 8)};
}

// A LABEL record: type 0x0204, length n + 8, row, column, format 0, n, the GBK text.
std::string Label(std::uint16_t row, std::uint16_t column, const std::string& utf8) {
    const std::string gbk = Utf8ToGbk(utf8);
    return Hex("04 02 ") + Word(std::uint16_t(gbk.size() + 8)) + Word(row) + Word(column) +
           Word(0) + Word(std::uint16_t(gbk.size())) + gbk;
}

TEST(Save2ExcelTest, HandWrittenBytes) {
    EXPECT_EQ(XlsRecords(true, {"A"}, {{"xy"}}),
              Hex("09 08 08 00 00 00 10 00 00 00 00 00 42 00 02 00 A8 03 "
                  "04 02 09 00 00 00 00 00 00 00 01 00 41 "
                  "04 02 0A 00 01 00 00 00 00 00 02 00 78 79 0A 00 00 00 "));
    // Four Chinese characters make a label of length 16.
    EXPECT_EQ(XlsRecords(false, {"x"}, {{"公共机构"}}),
              kBof + kCodePage + Hex("04 02 10 00 00 00 00 00 00 00 08 00 ") +
                  Utf8ToGbk("公共机构") + kEof);
}

TEST(Save2ExcelTest, RecordStreams) {
    struct Case {
        const char* name;
        bool withCaptions;
        std::vector<std::string> captions;
        TextRows rows;
        std::string expected;  // between BOF + CODEPAGE and EOF
    };
    const std::vector<Case> cases = {
        {"no rows", true, {"序号", "名称"}, {}, Label(0, 0, "序号") + Label(0, 1, "名称")},
        {"empty cells and a short row",
         true,
         {"甲", "乙", "丙"},
         {{"", "x"}, {}},
         Label(0, 0, "甲") + Label(0, 1, "乙") + Label(0, 2, "丙") + Label(1, 0, "") +
             Label(1, 1, "x") + Label(1, 2, "") + Label(2, 0, "") + Label(2, 1, "") +
             Label(2, 2, "")},
        {"cells past the last column are dropped",
         true,
         {"甲"},
         {{"a", "b"}},
         Label(0, 0, "甲") + Label(1, 0, "a")},
        {"without captions the first row is row 0",
         false,
         {"甲", "乙"},
         {{"a", "b"}},
         Label(0, 0, "a") + Label(0, 1, "b")},
        {"texts are written as stored",
         true,
         {"a"},
         {{" 1,\"2\" "}},
         Label(0, 0, "a") + Label(1, 0, " 1,\"2\" ")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(XlsRecords(c.withCaptions, c.captions, c.rows),
                  kBof + kCodePage + c.expected + kEof);
    }
}

// An existing file is replaced, with no temporary file left; 65535 rows fit under captions.
TEST(Save2ExcelTest, ReplacesAnExistingFileWithTheMostRowsTheFormatHolds) {
    TempDir dir;
    const auto file = dir / "汇总表.xls";
    WriteFile(file, std::string(10000, 'z'));
    SaveListToXls(file, true, {"名称"}, {{"教育局"}});
    EXPECT_EQ(ReadFile(file), XlsRecords(true, {"名称"}, {{"教育局"}}));
    SaveListToXls(file, true, {"n"}, TextRows(65535, std::vector<std::string>{"1"}));
    EXPECT_EQ(std::filesystem::file_size(file), 12u + 6u + 65536u * 13u + 4u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              1);
}

// The writers of the two formats.
using Save = void (*)(const std::filesystem::path&, bool, const std::vector<std::string>&,
                      const TextRows&);
void SaveXlsx(const std::filesystem::path& file, bool withCaptions,
              const std::vector<std::string>& captions, const TextRows& rows) {
    SaveListToXlsx(file, withCaptions, captions, rows);
}
const Save kWriters[] = {SaveListToXls, SaveXlsx};

// What a format cannot hold is refused before the disk is touched, with a message that names
// the limit (and the .xlsx format where it holds more): an existing file stays.
TEST(Save2ExcelTest, RefusesWhatTheFormatCannotHold) {
    struct Case {
        const char* name;
        Save save;
        bool withCaptions;
        TextRows rows;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"65536 data rows under captions", SaveListToXls, true, TextRows(65536, {"1"}),
         "超过.xls文件最多65535行数据，无法导出。请保存为.xlsx文件，它最多可容纳1048575行数据。"},
        {"65537 rows without captions", SaveListToXls, false, TextRows(65537, {"1"}), "65536"},
        {"a cell longer than a record", SaveListToXls, true, {{std::string(65528, 'a')}}, "65527"},
        {"a character GBK lacks", SaveListToXls, true, {{"\xF0\x9F\x98\x80"}}, ""},
        {".xlsx: 1048576 data rows under captions", SaveXlsx, true, TextRows(1048576, {"1"}),
         "超过.xlsx文件最多1048575行数据"},
        {".xlsx: a cell of 32768 characters",
         SaveXlsx,
         true,
         {{"", std::string(32768, 'a')}},
         "第2行第2列的文本超过.xlsx单元格最多32767个字符"},
    };
    TempDir dir;
    const auto file = dir / "keep.xls";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile(file, "old");
        const std::string error = ErrorOf([&] {
            c.save(file, c.withCaptions, {"n", "m"}, c.rows);
        });
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
        EXPECT_NE(error, "");
        EXPECT_EQ(ReadFile(file), "old");
        EXPECT_EQ(FileNames(dir.Path()), std::vector<std::string>{"keep.xls"});
    }
}

// The message names the file and says why in readable UTF-8 on one line: for what Windows
// refuses, in its own words rather than the C library's catch-all I/O error.
TEST(Save2ExcelTest, AFailedWriteNamesTheFileAndTheReasonAndLeavesNothing) {
    TempDir dir;
    struct Case {
        const char* name;
        std::filesystem::path file;
        std::string prefix;
        bool heldOpen = false;
    };
    std::filesystem::create_directory(dir / "已有目录");
    std::vector<Case> cases = {
        {"missing folder", dir / "没有的目录/表.xls", "无法创建文件 "},
        {"a folder of that name", dir / "已有目录", "无法创建文件 "},
    };
#ifdef _WIN32
    // As a spreadsheet program holds the file it shows.
    cases.push_back(
        {"a file another program holds open", dir / "打开的表.xls", "无法写入文件 ", true});
#endif
    for (const Save save : kWriters) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            std::FILE* held = nullptr;
            if (c.heldOpen) {
                WriteFile(c.file, "old");
#ifdef _WIN32
                held = _wfsopen(c.file.c_str(), L"rb", _SH_DENYRW);
#endif
                ASSERT_NE(held, nullptr);
            }
            const std::string message = ErrorOf([&] { save(c.file, true, {"n"}, {{"1"}}); });
            if (held)
                std::fclose(held);
            EXPECT_TRUE(message.starts_with(c.prefix + PathText(c.file) + "：")) << message;
            EXPECT_GT(message.size(), c.prefix.size() + PathText(c.file).size() + 6) << message;
            EXPECT_TRUE(IsUtf8(message)) << message;
            EXPECT_EQ(message.find_first_of("\r\n"), std::string::npos) << message;
            EXPECT_FALSE(message.ends_with(std::make_error_code(std::errc::io_error).message()));
            EXPECT_TRUE(
                std::ranges::none_of(FileNames(dir.Path()), ReplacingFile::IsTemporaryName));
            if (c.heldOpen) {
                EXPECT_EQ(ReadFile(c.file), "old");
            }
        }
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir / "已有目录"));
}

// Work stopped at a progress report (取消 in the window) leaves an older file as it was.
TEST(Save2ExcelTest, XlsxStoppedAtAProgressReportLeavesTheOldFile) {
    TempDir dir;
    WriteFile(dir / "表.xlsx", "old");
    struct Stop final : Progress {
        void SetRange(std::int64_t) override {}
        void SetPosition(std::int64_t position) override {
            if (position > 0)
                throw MlkError("已取消");
        }
    } stop;
    EXPECT_EQ(ErrorOf([&] { SaveListToXlsx(dir / "表.xlsx", true, {"n"}, {{"1"}}, {}, &stop); }),
              "已取消");
    EXPECT_EQ(ReadFile(dir / "表.xlsx"), "old");
    EXPECT_EQ(FileNames(dir.Path()), std::vector<std::string>{"表.xlsx"});
}

// The .xlsx cells read back from the package's XML, on every system: each column in its place,
// Chinese, blanks and markup characters as written, a short row's missing cells empty, and an
// older file replaced.
TEST(Save2ExcelTest, XlsxCellsReadBackAsWritten) {
    using Grid = std::vector<std::vector<std::string>>;
    const std::vector<std::string> captions = {"序号", "机构名称", "单位地址", "备注"};
    const TextRows rows = {{"1", "东城区教育局", "北京市东城区东华门街道1号", "<a & \"b\">"},
                           {"1.1", "第一中学", "", " 两端空格 "},
                           {"2", "", "x"}};
    const Grid data = {{"1", "东城区教育局", "北京市东城区东华门街道1号", "<a & \"b\">"},
                       {"1.1", "第一中学", "", " 两端空格 "},
                       {"2", "", "x", ""}};
    Grid withCaptions = {captions};
    withCaptions.insert(withCaptions.end(), data.begin(), data.end());
    TempDir dir;
    const auto file = dir / "汇总表.xlsx";
    WriteFile(file, "old");
    SaveListToXlsx(file, true, captions, rows);
    EXPECT_EQ(XlsxCells(file), withCaptions);
    SaveListToXlsx(file, false, captions, rows);
    EXPECT_EQ(XlsxCells(file), data);
}

// The attributes of the cell or element that starts with start ("<c r=\"B2\"").
std::string Tag(const std::string& xml, const std::string& start) {
    const std::size_t at = xml.find(start);
    return at == std::string::npos ? "" : xml.substr(at, xml.find('>', at) - at);
}

// The width a <col> element gives its column, 0 when it has none.
double ColumnWidth(const std::string& sheet, int column) {
    const std::string tag = Tag(sheet, "<col min=\"" + std::to_string(column) + "\"");
    const std::size_t at = tag.find("width=\"");
    return at == std::string::npos ? 0 : std::stod(tag.substr(at + 7));
}

// A sheet a clerk works with at once: figures that sum (but not codes with leading zeros nor
// outline numbers), a bold caption row frozen at the top, widths that fit the texts, the columns
// the window hides hidden, and a filter where asked for.
TEST(Save2ExcelTest, XlsxSheetIsLaidOutForUse) {
    const std::vector<std::string> captions = {"序号", "机构ID", "所辖地区或所属部门名称", "合计"};
    const TextRows rows = {
        {"1", "T1", "东城区教育局", "12"}, {"1.1", "T2", "卫生局", "007"}, {"3", "T3", "x", "-4"}};
    TempDir dir;
    const auto file = dir / "表.xlsx";
    SaveListToXlsx(file, true, captions, rows, {{0, 3}, {1}, true});
    const std::string sheet = XlsxMember(file, "xl/worksheets/sheet1.xml");
    using Grid = std::vector<std::vector<std::string>>;
    EXPECT_EQ(XlsxCells(file, true), (Grid{captions,
                                           {"#1", "T1", "东城区教育局", "#12"},
                                           {"1.1", "T2", "卫生局", "007"},
                                           {"#3", "T3", "x", "#-4"}}));
    const std::string bold = Tag(sheet, "<c r=\"C1\"");
    EXPECT_NE(bold.find(" s=\"1\""), std::string::npos) << bold;
    EXPECT_NE(XlsxMember(file, "xl/styles.xml").find("<b/>"), std::string::npos);
    EXPECT_NE(sheet.find("<pane ySplit=\"1\" topLeftCell=\"A2\""), std::string::npos);
    EXPECT_NE(sheet.find("<autoFilter ref=\"A1:D4\"/>"), std::string::npos);
    EXPECT_NE(Tag(sheet, "<col min=\"2\"").find("hidden=\"1\""), std::string::npos);
    EXPECT_EQ(Tag(sheet, "<col min=\"3\"").find("hidden"), std::string::npos);
    // The eleven Chinese characters of the caption, two widths each, and the filter button.
    EXPECT_GE(ColumnWidth(sheet, 3), 22 + 4);
    EXPECT_LT(ColumnWidth(sheet, 4), ColumnWidth(sheet, 3) / 2);
    EXPECT_GE(ColumnWidth(sheet, 4), 6);

    SaveListToXlsx(file, false, captions, rows);
    const std::string plain = XlsxMember(file, "xl/worksheets/sheet1.xml");
    EXPECT_EQ(plain.find("<autoFilter"), std::string::npos);
    EXPECT_EQ(plain.find("<pane"), std::string::npos);
    EXPECT_EQ(XlsxCells(file, true)[0], (std::vector<std::string>{"1", "T1", "东城区教育局", "12"}))
        << "texts by default";
    EXPECT_GE(ColumnWidth(plain, 3), 12 + 2) << "東城区教育局 without the captions";
}

#ifdef __linux__
// With nowhere to keep its scratch file (every temporary folder and the working folder read-only)
// the library cannot start the workbook: the message says why, nothing is left beside the
// target, and nothing crashes. The folders are made read-only in a mount namespace of a child
// process, which needs root; elsewhere the test is skipped.
TEST(Save2ExcelTest, AWorkbookThatCannotStartSaysWhy) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const auto tmpfs = [](const char* where, unsigned long flags) {
            return mount("tmpfs", where, "tmpfs", flags, nullptr) == 0;
        };
        if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr))
            _exit(77);
        if (!tmpfs("/tmp", 0) || mkdir("/tmp/out", 0700) != 0 || !tmpfs("/tmp/out", 0) ||
            mount(nullptr, "/tmp", nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0 ||
            !tmpfs("/var/tmp", MS_RDONLY) || chdir("/tmp") != 0)
            _exit(77);
        setenv("TMPDIR", "/tmp", 1);
        const std::string message =
            ErrorOf([] { SaveListToXlsx("/tmp/out/表.xlsx", true, {"n"}, {{"1"}}); });
        const bool named =
            message.starts_with("无法创建文件 /tmp/out/表.xlsx：无法在临时文件夹 ") &&
            message.size() > 60;
        const bool clean = std::filesystem::is_empty("/tmp/out");
        if (!named || !clean)
            std::fprintf(stderr, "%s\n", message.c_str());
        _exit(named && clean ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 77)
        GTEST_SKIP() << "no mount namespace of its own (root is needed)";
    EXPECT_TRUE(WIFEXITED(status)) << "the child crashed";
    EXPECT_EQ(WEXITSTATUS(status), 0);
}
#endif

#ifndef _WIN32
// The .xlsx library keeps its scratch files where the engine does, which need not be where
// TMPDIR says; its own lines never reach stderr, and the user reads why in Chinese.
TEST(Save2ExcelTest, TheXlsxLibrarysScratchFilesAndFailures) {
    TempDir dir;
    const std::string saved = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
    setenv("TMPDIR", PathText(dir / "没有的目录").c_str(), 1);
    EXPECT_EQ(ErrorOf([&] { SaveListToXlsx(dir / "表.xlsx", true, {"n"}, {{"1"}}); }), "");
    saved.empty() ? unsetenv("TMPDIR") : setenv("TMPDIR", saved.c_str(), 1);
    testing::internal::CaptureStderr();
    const std::string error = ErrorOf([&] {
        FileSizeLimit full(4096);
        SaveListToXlsx(dir / "表.xlsx", true, {"n"}, TextRows(5000, {"一二三四五六七八九十"}));
    });
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(error, "无法写入文件 " + PathText(dir / "表.xlsx") + "：文件超过了系统允许的大小");
}
#endif

// A real spreadsheet reader must read the cells back from both formats, Chinese included, and
// the .xlsx file replaces an older one.
TEST(Save2ExcelTest, LibreOfficeReadsTheChineseCells) {
    if (std::system("command -v libreoffice >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "LibreOffice is not installed (Debian package libreoffice-calc-nogui); "
                        "the files were not checked with a spreadsheet reader.";
    }
    TempDir dir;
    WriteFile(dir / "summary.xlsx", "old");
    const TextRows rows = {{"1", "东城区教育局", "北京市东城区东华门街道1号"},
                           {"1.1", "第一中学", ""}};
    SaveListToXls(dir / "summary.xls", true, {"序号", "机构名称", "单位地址"}, rows);
    SaveListToXlsx(dir / "summary.xlsx", true, {"序号", "机构名称", "单位地址"}, rows);
    for (const char* name : {"xls", "xlsx"}) {
        SCOPED_TRACE(name);
        std::filesystem::create_directory(dir / name);
        const std::string command = "cd '" + dir.Path().string() +
                                    "' && libreoffice -env:UserInstallation=file://" +
                                    dir.Path().string() + "/profile --headless --convert-to " +
                                    "'csv:Text - txt - csv (StarCalc):44,34,76' --outdir " + name +
                                    " summary." + name + " >/dev/null 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0);
        EXPECT_EQ(
            ReadFile(dir / name / "summary.csv"),
            "序号,机构名称,单位地址\n1,东城区教育局,北京市东城区东华门街道1号\n1.1,第一中学,\n");
    }
}

}  // namespace
}  // namespace mlk::test
