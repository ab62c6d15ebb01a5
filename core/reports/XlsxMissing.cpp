// Builds without libxlsxwriter (see core/CMakeLists.txt) refuse .xlsx files.
#include "data/MlkError.h"
#include "reports/Xlsx.h"

namespace mlk {

void SaveListToXlsx(const std::filesystem::path&, bool, const std::vector<std::string>&,
                    const TextRows&) {
    throw MlkError("这一版本的程序不能保存.xlsx文件，请保存为.xls文件。");
}

}  // namespace mlk
