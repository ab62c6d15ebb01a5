// mlk summary: one of the four summary tables, as tab-separated text, or saved as an .xls or
// .xlsx file and as a PDF file.
#include <ostream>

#include "Command.h"
#include "base/MlkError.h"
#include "model/TMainDM.h"
#include "platform/Platform.h"
#include "reports/CountSummary.h"
#include "reports/DirectorySummary.h"
#include "reports/TypeSummary.h"
#include "text/Text.h"
#ifdef MLK_PDF
#include "print/PaintingApplication.h"
#include "print/SummaryPages.h"
#endif

namespace mlk::cli {
namespace {

SummaryKind KindNamed(const std::string& kind) {
    if (kind == "directory")
        return SummaryKind::Directory;
    if (kind == "counts")
        return SummaryKind::Counts;
    if (kind == "state-organs")
        return SummaryKind::StateOrgans;
    if (kind == "types")
        return SummaryKind::Types;
    throw UsageError("未知的汇总表：" + kind + "（directory、counts、state-organs 或 types）");
}

SummaryTable BuildTable(TMainDM& dm, SummaryKind kind, const CommandContext& context) {
    switch (kind) {
        case SummaryKind::Directory:
            return DirectorySummary(dm);
        case SummaryKind::Counts:
            return CountSummary(dm);
        case SummaryKind::StateOrgans:
            return StateOrganSummary(dm);
        case SummaryKind::Types:
        case SummaryKind::Quality:  // mlk quality
            break;
    }
    return TypeSummary(dm, context.Option("type2"), context.Option("type3"));
}

// Writes rows a line at a time from one buffer: a directory of millions of rows.
class RowPrinter {
  public:
    RowPrinter(std::ostream& out, const std::vector<ColumnDef>& columns) : out_(out) {
        for (const ColumnDef& column : columns)
            Add(column.title);
        End();
    }
    void Print(const TextRows::Row row) {
        row.Views(cells_);
        for (const std::string_view cell : cells_)
            Add(cell);
        End();
    }
    void Print(std::string_view number, const TextRows::Row rest) {
        Add(number);
        Print(rest);
    }

  private:
    void Add(std::string_view cell) {
        if (!line_.empty())
            line_ += '\t';
        AppendTabSeparatedCell(line_, cell);
    }
    void End() {
        line_ += '\n';
        out_.write(line_.data(), std::streamsize(line_.size()));
        line_.clear();
    }
    std::ostream& out_;
    std::string line_;
    std::vector<std::string_view> cells_;
};

void PrintTable(std::ostream& out, const SummaryTable& table) {
    RowPrinter printer(out, table.columns);
    for (const TextRows::Row row : table.rows)
        printer.Print(row);
}

// The directory printed as the walk lists it, without holding the rows it has printed.
void PrintDirectory(std::ostream& out, TMainDM& dm) {
    RowPrinter printer(out, DirectoryColumns());
    TextRows pool;
    ListDirectory(dm, pool,
                  [&](const ListedRow& listed) { printer.Print(listed.number, listed.cells); });
}

void SavePdf(CommandContext& context, TMainDM& dm, SummaryKind kind, const SummaryTable& table) {
    const std::string file = context.Required("pdf");
#ifdef MLK_PDF
    const print::PaintingApplication painting;
    print::SummaryPages pages(table, HeadingOf(kind, dm.Unit()), TMainDM::TodayText());
    {
        StderrProgress progress(context.err, "PDF");
        print::SaveSummaryPdf(PathFromText(file), pages, &progress);
    }
    context.out << "已导出PDF文件，共" << pages.PageCount() << "页：" << file << "\n";
#else
    (void)dm, (void)kind, (void)table;
    throw MlkError("这一版本的 mlk 不能生成PDF文件，请在程序的汇总表窗口中导出PDF。");
#endif
}

int RunSummary(CommandContext& context) {
    const SummaryKind kind = KindNamed(context.positional[0]);
    if (kind != SummaryKind::Types && (context.Has("type2") || context.Has("type3")))
        throw UsageError("--type2 和 --type3 只用于 types");
    TMainDM& dm = context.Dm();
    const bool print = !context.Has("xls") && !context.Has("pdf");
    if (print && kind == SummaryKind::Directory) {
        PrintDirectory(context.out, dm);
        return kExitDone;
    }
    const SummaryTable table = BuildTable(dm, kind, context);
    if (print) {
        PrintTable(context.out, table);
        return kExitDone;
    }
    if (context.Has("xls")) {
        const std::string file = context.Required("xls");
        SaveSummary(file, table);
        context.out << "已导出" << table.rows.size() << "行：" << file << "\n";
    }
    if (context.Has("pdf"))
        SavePdf(context, dm, kind, table);
    return kExitDone;
}

const Registrar registrar(
    {.name = "summary",
     .arguments = "directory|counts|state-organs|types",
     .summary = "显示汇总表（以制表符分隔），或保存为 .xls、.xlsx 或 PDF 文件",
     .options = {{"type2", "代码", "types：二级机构类型代码"},
                 {"type3", "代码", "types：三级机构类型代码"},
                 {"xls", "文件",
                  "保存为文件（扩展名 .xlsx 时为 .xlsx 格式，否则为 .xls），不在屏幕上显示", false,
                  true},
                 {"pdf", "文件",
                  "保存为PDF文件（A4横向，每页有标题、单位、日期、表头和页码），不在屏幕上显示",
                  false, true}},
     .minArguments = 1,
     .maxArguments = 1,
     .run = RunSummary,
     .details = "directory 名录库汇总表，counts 公共机构数量汇总表，state-organs "
                "国家机关数量汇总表，types 事业单位数量汇总表。\n不给 --xls 和 --pdf "
                "时以制表符分隔显示：" +
                std::string(kTabSeparatedHelp)});

}  // namespace
}  // namespace mlk::cli
