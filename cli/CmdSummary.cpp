// mlk summary: one of the four summary tables, as tab-separated text, or saved as an .xls or
// .xlsx file and as a PDF file.
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "Command.h"
#include "base/HandOver.h"
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

// Makes rows into tab-separated lines, appended to one text.
class LineMaker {
  public:
    explicit LineMaker(std::string& text) : text_(text) {}
    void Add(const std::vector<ColumnDef>& columns) {
        for (const ColumnDef& column : columns)
            Add(column.title);
        End();
    }
    void Add(const TextRows::Row row) {
        row.Views(cells_);
        for (const std::string_view cell : cells_)
            Add(cell);
        End();
    }
    void Add(std::string_view number, const TextRows::Row rest) {
        Add(number);
        Add(rest);
    }

  private:
    void Add(std::string_view cell) {
        if (!first_)
            text_ += '\t';
        first_ = false;
        AppendTabSeparatedCell(text_, cell);
    }
    void End() {
        text_ += '\n';
        first_ = true;
    }
    std::string& text_;
    bool first_ = true;
    std::vector<std::string_view> cells_;
};

void Write(std::ostream& out, std::string& text) {
    out.write(text.data(), std::streamsize(text.size()));
    text.clear();
}

// Printed text written out once it has grown to this.
constexpr std::size_t kPrintedBytes = 1 << 16;

void PrintTable(std::ostream& out, const SummaryTable& table) {
    std::string text;
    LineMaker lines(text);
    lines.Add(table.columns);
    for (const TextRows::Row row : table.rows) {
        lines.Add(row);
        if (text.size() >= kPrintedBytes)
            Write(out, text);
    }
    Write(out, text);
}

// Rows the walk has listed, then their lines.
class ListedBatch {
  public:
    std::size_t size() const { return rows_.size(); }
    void Add(const ListedRow& listed) {
        numbers_ += listed.number;
        numberEnds_.push_back(numbers_.size());
        rows_.push_back(listed.cells);
    }
    void MakeLines() {
        LineMaker lines(lines_);
        std::size_t from = 0;
        for (std::size_t i = 0; i < rows_.size(); ++i) {
            lines.Add(std::string_view(numbers_).substr(from, numberEnds_[i] - from), rows_[i]);
            from = numberEnds_[i];
        }
    }
    // Writes the lines made and starts again.
    void Write(std::ostream& out) {
        ::mlk::cli::Write(out, lines_);
        numbers_.clear();
        numberEnds_.clear();
        rows_.clear();
    }

  private:
    std::string numbers_;
    std::vector<std::size_t> numberEnds_;
    std::vector<TextRows::Row> rows_;
    std::string lines_;
};

// Prints the directory as the walk lists it, without holding the rows it has printed. Making
// the lines is most of the work, so every other batch of rows is made into lines on a second
// thread while this one makes the batch after it; they are written in their order.
class DirectoryPrinter {
  public:
    explicit DirectoryPrinter(std::ostream& out)
        : out_(out),
          made_(1,
                [](ListedBatch& batch) {
                    batch.MakeLines();
                    return true;
                }),
          sent_(made_.Empty()) {}

    void Add(const ListedRow& listed) {
        // The rows go to the batch for the second thread first, then to this thread's.
        if (sent_) {
            sent_->Add(listed);
            if (sent_->size() == kBatchRows)
                made_.Fill(std::move(sent_));
            return;
        }
        own_.Add(listed);
        if (own_.size() == kBatchRows)
            WriteBoth();
    }
    void Finish() {
        if (sent_) {
            // Not sent: the last rows, fewer than a batch.
            sent_->MakeLines();
            sent_->Write(out_);
        } else {
            WriteBoth();
        }
        made_.Finish(nullptr);
    }

  private:
    static constexpr std::size_t kBatchRows = 2048;

    void WriteBoth() {
        own_.MakeLines();
        if (!(sent_ = made_.Empty()))
            made_.Finish(nullptr);  // raises why the second thread stopped
        sent_->Write(out_);
        own_.Write(out_);
    }

    std::ostream& out_;
    ListedBatch own_;
    EmptiedAlongside<ListedBatch> made_;
    std::unique_ptr<ListedBatch> sent_;  // null while the second thread has it
};

void PrintDirectory(std::ostream& out, TMainDM& dm) {
    std::string header;
    LineMaker(header).Add(DirectoryColumns());
    Write(out, header);
    TextRows pool;
    DirectoryPrinter printer(out);
    ListDirectory(dm, pool, [&](const ListedRow& listed) { printer.Add(listed); });
    printer.Finish();
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
