#include "reports/Save2Excel.h"

#include <cstdint>

#include "base/MlkError.h"
#include "platform/ReplacingFile.h"
#include "reports/Xlsx.h"
#include "text/Gbk.h"

namespace mlk {

namespace {

constexpr std::uint16_t kBof = 0x0809;
constexpr std::uint16_t kCodePage = 0x0042;
constexpr std::uint16_t kLabel = 0x0204;
constexpr std::uint16_t kEof = 0x000A;
constexpr std::uint16_t kWorksheet = 0x0010;
// Tells the reader that the cell bytes are GBK, whatever the code page of its own system.
constexpr std::uint16_t kGbkCodePage = 936;

void PutWord(std::string& out, std::uint16_t word) {
    out.push_back(char(word & 0xFF));
    out.push_back(char(word >> 8));
}

void PutRecordHead(std::string& out, std::uint16_t type, std::uint16_t length) {
    PutWord(out, type);
    PutWord(out, length);
}

void PutLabel(std::string& out, std::size_t row, std::size_t column, std::string_view utf8) {
    const std::string gbk = Utf8ToGbk(utf8);
    if (gbk.size() > kXlsMaxCellBytes) {
        throw MlkError(CellPlace(row, column) + "的文本有" + std::to_string(gbk.size()) +
                       "个字节，超过.xls单元格最多" + std::to_string(kXlsMaxCellBytes) +
                       "个字节，无法导出。");
    }
    const auto n = std::uint16_t(gbk.size());
    PutRecordHead(out, kLabel, std::uint16_t(n + 8));
    PutWord(out, std::uint16_t(row));
    PutWord(out, std::uint16_t(column));
    PutWord(out, 0);  // cell format index
    PutWord(out, n);
    out += gbk;
}

void CheckSize(bool withCaptions, std::size_t columns, std::size_t rows) {
    CheckRowCount(rows, ".xls", DataRowLimit(kXlsMaxRows, withCaptions),
                  "请保存为.xlsx文件，它最多可容纳" +
                      std::to_string(DataRowLimit(kXlsxMaxRows, withCaptions)) + "行数据。");
    if (columns > 0xFFFF) {
        throw MlkError("列表有" + std::to_string(columns) +
                       "列，超过.xls文件能容纳的列数，无法导出。");
    }
}

}  // namespace

std::string XlsRecords(bool withCaptions, const std::vector<std::string>& captions,
                       const TextRows& rows) {
    const std::size_t columns = captions.size();
    CheckSize(withCaptions, columns, rows.size());
    std::string out;
    out.reserve(32 + (rows.size() + 1) * columns * 24);

    PutRecordHead(out, kBof, 8);
    PutWord(out, 0);  // version
    PutWord(out, kWorksheet);
    PutWord(out, 0);  // build
    PutWord(out, 0);  // year
    PutRecordHead(out, kCodePage, 2);
    PutWord(out, kGbkCodePage);

    std::size_t row = 0;
    if (withCaptions) {
        for (std::size_t column = 0; column < columns; ++column) {
            PutLabel(out, row, column, captions[column]);
        }
        ++row;
    }
    for (const TextRows::Row cells : rows) {
        for (std::size_t column = 0; column < columns; ++column) {
            PutLabel(out, row, column, column < cells.size() ? cells[column] : std::string_view());
        }
        ++row;
    }
    PutRecordHead(out, kEof, 0);
    return out;
}

void SaveListToXls(const std::filesystem::path& file, bool withCaptions,
                   const std::vector<std::string>& captions, const TextRows& rows) {
    // Everything that can refuse the list happens before the disk is touched.
    const std::string records = XlsRecords(withCaptions, captions, rows);

    ReplacingFile out(file);
    out.Write(records);
    out.Commit();
}

}  // namespace mlk
