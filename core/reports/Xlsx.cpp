#include "reports/Xlsx.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <charconv>

#include "base/MlkError.h"
#include "platform/FileErrors.h"
#include "platform/Platform.h"
#include "platform/ReplacingFile.h"

namespace mlk {

namespace {

// Rows written between two reports of progress.
constexpr std::size_t kProgressStep = 1024;

std::size_t Characters(std::string_view utf8) {
    std::size_t count = 0;
    for (unsigned char c : utf8)
        count += (c & 0xC0) != 0x80;
    return count;
}

// How many digit widths a text takes in a spreadsheet's default font: Chinese characters (and
// the other characters from U+1000 on) two, the rest one. Never more than its bytes.
std::size_t DisplayWidth(std::string_view utf8) {
    std::size_t width = 0;
    for (unsigned char c : utf8) {
        if ((c & 0xC0) != 0x80)
            width += c >= 0xE1 ? 2 : 1;
    }
    return width;
}

// A whole number as a figure column holds it. Leading zeros and more digits than a number cell
// keeps exactly make it a text, so that nothing is changed on the way.
bool IsWholeNumber(std::string_view text) {
    const std::string_view digits = text.starts_with('-') ? text.substr(1) : text;
    if (digits.empty() || digits.size() > 15 || (digits.size() > 1 && digits[0] == '0'))
        return false;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

// Refuses what the format cannot hold and measures each column's widest text on the way; a
// caption counts captionExtra wider, for its bold face and its filter button.
std::vector<std::size_t> CheckAndMeasure(bool withCaptions,
                                         const std::vector<std::string>& captions,
                                         const TextRows& rows, std::size_t captionExtra) {
    CheckRowCount(rows.size(), ".xlsx", DataRowLimit(kXlsxMaxRows, withCaptions));
    std::vector<std::size_t> widest(captions.size(), 0);
    const auto take = [&](std::size_t row, std::size_t column, std::string_view cell) {
        // A text's width is at most its bytes: most cells are passed over unread.
        if (cell.size() <= widest[column])
            return;
        if (cell.size() > kXlsxMaxCellCharacters && Characters(cell) > kXlsxMaxCellCharacters) {
            throw MlkError(CellPlace(row, column) + "的文本超过.xlsx单元格最多" +
                           std::to_string(kXlsxMaxCellCharacters) + "个字符，无法导出。");
        }
        widest[column] = std::max(widest[column], DisplayWidth(cell));
    };
    for (std::size_t column = 0; withCaptions && column < captions.size(); ++column) {
        take(0, column, captions[column]);
        widest[column] += captionExtra;
    }
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const TextRows::Row cells = rows[row];
        for (std::size_t column = 0; column < cells.size() && column < captions.size(); ++column)
            take(row + (withCaptions ? 1 : 0), column, cells[column]);
    }
    return widest;
}

// The library writes the sheet row by row to a temporary file of its own and packs it at the
// end, so its memory stays flat however many rows there are.
class Workbook {
  public:
    explicit Workbook(const std::filesystem::path& file)
        : scratch_(PathText(platform::TemporaryFolder())) {
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        options.use_zip64 = LXW_TRUE;
        // Named, since the C library's own choice on Windows is a folder users may not write.
        options.tmpdir = scratch_.data();
        errno = 0;
        workbook_ = workbook_new_opt(PathText(file).c_str(), &options);
        sheet_ = workbook_ ? workbook_add_worksheet(workbook_, nullptr) : nullptr;
        if (!sheet_)
            cause_ = LastError(ENOMEM);
    }
    ~Workbook() {
        // A workbook without its sheet is only freed: closing would try to add a sheet again and
        // pack a workbook that is not whole.
        if (workbook_ && sheet_)
            workbook_close(workbook_);
        else if (workbook_)
            lxw_workbook_free(workbook_);
    }
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    bool Ready() const { return sheet_ != nullptr; }
    // Why the workbook could not be started: no memory, or no scratch file for its sheet, which
    // the library makes in the scratch folder or else the system's and the working folder.
    std::string WhyNotReady() const {
        if (cause_ == std::errc::not_enough_memory)
            return "内存不足";
        return "无法在临时文件夹 " + scratch_ + " 中建立临时文件，" + FileErrorReason(cause_, true);
    }
    // The caption row: bold, frozen above the rows that scroll, with a filter over the table
    // of rows when filtered.
    void Captions(const std::vector<std::string>& captions, std::size_t rows, bool filtered) {
        lxw_format* bold = workbook_add_format(workbook_);
        format_set_bold(bold);
        for (std::size_t column = 0; column < captions.size(); ++column)
            Put(0, column, captions[column], bold);
        worksheet_freeze_panes(sheet_, 1, 0);
        if (filtered && !captions.empty())
            Keep(worksheet_autofilter(sheet_, 0, 0, lxw_row_t(rows),
                                      lxw_col_t(captions.size() - 1)));
    }
    void Column(std::size_t column, std::size_t width, bool hidden) {
        lxw_row_col_options options{};
        options.hidden = hidden;
        Keep(worksheet_set_column_opt(sheet_, lxw_col_t(column), lxw_col_t(column), double(width),
                                      nullptr, &options));
    }
    // Texts as they stand; the library leaves an empty text an empty cell.
    void Put(std::size_t row, std::size_t column, std::string_view text,
             lxw_format* format = nullptr) {
        if (text.empty() || error_ != LXW_NO_ERROR)
            return;
        cell_.assign(text);
        Keep(worksheet_write_string(sheet_, lxw_row_t(row), lxw_col_t(column), cell_.c_str(),
                                    format));
    }
    void PutNumber(std::size_t row, std::size_t column, std::string_view digits) {
        long long number = 0;
        std::from_chars(digits.data(), digits.data() + digits.size(), number);
        if (error_ == LXW_NO_ERROR) {
            Keep(worksheet_write_number(sheet_, lxw_row_t(row), lxw_col_t(column), double(number),
                                        nullptr));
        }
    }
    // Packs the file; the first error of the whole write, or none.
    lxw_error Close() {
        const lxw_error closed = workbook_close(workbook_);
        workbook_ = nullptr;
        return error_ != LXW_NO_ERROR ? error_ : closed;
    }

  private:
    // The first error of the whole write.
    void Keep(lxw_error error) {
        if (error_ == LXW_NO_ERROR)
            error_ = error;
    }

    // The library prints its failures itself; the user is told them in this program's words.
    platform::SilencedStderr quiet_;
    std::string scratch_;
    lxw_workbook* workbook_ = nullptr;
    lxw_worksheet* sheet_ = nullptr;
    lxw_error error_ = LXW_NO_ERROR;
    std::error_code cause_;
    std::string cell_;
};

}  // namespace

void SaveListToXlsx(const std::filesystem::path& file, bool withCaptions,
                    const std::vector<std::string>& captions, const TextRows& rows,
                    const XlsxLayout& layout, Progress* progress) {
    const std::vector<std::size_t> widest =
        CheckAndMeasure(withCaptions, captions, rows, layout.filtered ? 4 : 1);
    std::vector<bool> figures(captions.size()), hidden(captions.size());
    for (const std::size_t column : layout.figureColumns)
        figures.at(column) = true;
    for (const std::size_t column : layout.hiddenColumns)
        hidden.at(column) = true;
    // Creating the temporary file tells a missing or closed folder in the user's words.
    ReplacingFile out(file);
    Workbook workbook(out.HandOver());
    if (!workbook.Ready())
        throw MlkError("无法创建文件 " + PathText(file) + "：" + workbook.WhyNotReady());
    // Room for the widest text and a little margin; an address may be cut rather than make the
    // sheet unreadably wide.
    for (std::size_t column = 0; column < captions.size(); ++column)
        workbook.Column(column, std::clamp<std::size_t>(widest[column] + 2, 6, 60), hidden[column]);
    std::size_t row = 0;
    if (withCaptions) {
        workbook.Captions(captions, rows.size(), layout.filtered);
        ++row;
    }
    if (progress)
        progress->SetRange(std::int64_t(rows.size()));
    for (const TextRows::Row cells : rows) {
        if (progress && row % kProgressStep == 0)
            progress->SetPosition(std::int64_t(row));
        for (std::size_t column = 0; column < cells.size() && column < captions.size(); ++column) {
            const std::string_view cell = cells[column];
            if (figures[column] && IsWholeNumber(cell))
                workbook.PutNumber(row, column, cell);
            else
                workbook.Put(row, column, cell);
        }
        ++row;
    }
    if (progress)
        progress->SetPosition(std::int64_t(rows.size()));
    errno = 0;
    if (const lxw_error error = workbook.Close(); error != LXW_NO_ERROR) {
        // The library's failures are files it could not write; the system says why.
        const std::error_code cause = LastError();
        out.Fail(cause ? FileErrorReason(cause, true) : std::string(lxw_strerror(error)));
    }
    out.Commit();
}

}  // namespace mlk
