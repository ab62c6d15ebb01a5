// mlk quality: 数据质量检查 over the whole directory, one finding a line, or saved as a file.
#include <ostream>

#include "Command.h"
#include "model/TMainDM.h"
#include "reports/Quality.h"
#include "text/Text.h"

namespace mlk::cli {
namespace {

int RunQuality(CommandContext& context) {
    TMainDM& dm = context.Dm();
    QualityReport report;
    {
        StderrProgress progress(context.err, "检查");
        report = CheckQuality(dm, progress);
    }
    if (context.Has("xls")) {
        const std::string file = context.Required("xls");
        SaveSummary(file, QualityTable(report));
        context.out << "已导出" << report.findings.size() << "行：" << file << "\n";
    } else {
        context.out << Join({std::begin(kQualityColumns), std::end(kQualityColumns)}, "\t") << "\n";
        for (const TextRows::Row row : report.findings) {
            for (std::size_t i = 0; i < row.size(); ++i)
                context.out << (i ? "\t" : "") << row[i];
            context.out << "\n";
        }
    }
    context.out << "共 " << report.findings.size() << " 条问题\n";
    return report.findings.empty() ? kExitDone : kExitRefused;
}

const Registrar registrar(
    {.name = "quality",
     .summary = "数据质量检查：列出名录库（本单位录入和导入的机构）中的问题，以制表符分隔",
     .options = {{"xls", "文件",
                  "保存为文件（扩展名 .xlsx 时为 .xlsx 格式，否则为 .xls），不在屏幕上逐条显示"}},
     .run = RunQuality,
     .details = "类别：组织机构代码校验位、组织机构代码重复、名称重复、邮政编码与省份不符、"
                "联系电话格式、行政区划代码无效、机构类型代码无效、行业代码格式。\n"
                "没有问题时退出码为0，有问题时为1。"});

}  // namespace
}  // namespace mlk::cli
