#include "reports/Xlsx.h"

#include <xlsxwriter.h>

#include <cerrno>

#include "base/MlkError.h"
#include "platform/FileErrors.h"
#include "platform/Platform.h"
#include "platform/ReplacingFile.h"

namespace mlk {

namespace {

std::size_t Characters(std::string_view utf8) {
    std::size_t count = 0;
    for (unsigned char c : utf8)
        count += (c & 0xC0) != 0x80;
    return count;
}

void CheckSize(bool withCaptions, const std::vector<std::string>& captions, const TextRows& rows) {
    CheckRowCount(rows.size(), ".xlsx", DataRowLimit(kXlsxMaxRows, withCaptions));
    const auto check = [](std::size_t row, std::size_t column, std::string_view cell) {
        if (cell.size() > kXlsxMaxCellCharacters && Characters(cell) > kXlsxMaxCellCharacters) {
            throw MlkError(CellPlace(row, column) + "的文本超过.xlsx单元格最多" +
                           std::to_string(kXlsxMaxCellCharacters) + "个字符，无法导出。");
        }
    };
    for (std::size_t column = 0; column < captions.size(); ++column)
        check(0, column, captions[column]);
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const TextRows::Row cells = rows[row];
        for (std::size_t column = 0; column < cells.size() && column < captions.size(); ++column)
            check(row + (withCaptions ? 1 : 0), column, cells[column]);
    }
}

// The library writes the sheet row by row to a temporary file of its own and packs it at the
// end, so its memory stays flat however many rows there are.
class Workbook {
  public:
    explicit Workbook(const std::filesystem::path& file)
        : scratch_(PathText(std::filesystem::temp_directory_path())) {
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
    // Cells as they stand; the library leaves an empty text an empty cell.
    void Put(std::size_t row, std::size_t column, std::string_view text) {
        if (text.empty() || error_ != LXW_NO_ERROR)
            return;
        cell_.assign(text);
        error_ = worksheet_write_string(sheet_, lxw_row_t(row), lxw_col_t(column), cell_.c_str(),
                                        nullptr);
    }
    // Packs the file; the first error of the whole write, or none.
    lxw_error Close() {
        const lxw_error closed = workbook_close(workbook_);
        workbook_ = nullptr;
        return error_ != LXW_NO_ERROR ? error_ : closed;
    }

  private:
    std::string scratch_;
    lxw_workbook* workbook_ = nullptr;
    lxw_worksheet* sheet_ = nullptr;
    lxw_error error_ = LXW_NO_ERROR;
    std::error_code cause_;
    std::string cell_;
};

}  // namespace

void SaveListToXlsx(const std::filesystem::path& file, bool withCaptions,
                    const std::vector<std::string>& captions, const TextRows& rows) {
    CheckSize(withCaptions, captions, rows);
    // Creating the temporary file tells a missing or closed folder in the user's words.
    ReplacingFile out(file);
    Workbook workbook(out.HandOver());
    if (!workbook.Ready())
        throw MlkError("无法创建文件 " + PathText(file) + "：" + workbook.WhyNotReady());
    std::size_t row = 0;
    if (withCaptions) {
        for (std::size_t column = 0; column < captions.size(); ++column)
            workbook.Put(row, column, captions[column]);
        ++row;
    }
    for (const TextRows::Row cells : rows) {
        for (std::size_t column = 0; column < cells.size() && column < captions.size(); ++column)
            workbook.Put(row, column, cells[column]);
        ++row;
    }
    errno = 0;
    if (const lxw_error error = workbook.Close(); error != LXW_NO_ERROR) {
        // The library's failures are files it could not write; the system says why.
        const std::error_code cause = LastError();
        out.Fail(cause ? FileErrorReason(cause, true) : std::string(lxw_strerror(error)));
    }
    out.Commit();
}

}  // namespace mlk
