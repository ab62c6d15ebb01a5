// mlk unit: prints the operating unit, one field a line.
#include <ostream>

#include "Command.h"
#include "base/MlkError.h"
#include "model/TMainDM.h"

namespace mlk::cli {
namespace {

int RunUnit(CommandContext& context) {
    TMainDM& dm = context.Dm();
    const CaoZDWXX& unit = dm.Unit();
    const struct {
        const char* field;
        const char* caption;
        const std::string& value;
    } fields[] = {
        {"DanWID", "单位ID", unit.DanWID},
        {"DanWMC", "单位全称", unit.DanWMC},
        {"XingZLSJB", "行政隶属级别", unit.XingZLSJB},
        {"XingZLSJBMC", "行政隶属级别名称", unit.XingZLSJBMC},
        {"ssbm", "省市代码", unit.ssbm},
        {"ssmc", "所在省市", unit.ssmc},
        {"dsbm", "地市代码", unit.dsbm},
        {"dsmc", "所在地市", unit.dsmc},
        {"XingZQH", "区县代码", unit.XingZQH},
        {"xqmc", "所在区县", unit.xqmc},
        {"DanWLX", "单位类型", unit.DanWLX},
        {"DanWLXMC", "单位类型名称", unit.DanWLXMC},
        {"YouZBM", "邮政编码", unit.YouZBM},
        {"JieDMC", "节点名称", unit.JieDMC},
        {"TianBRXM", "填表人姓名", unit.TianBRXM},
        {"ChuSHSJ", "初始化时间", unit.ChuSHSJ},
    };
    for (const auto& f : fields)
        context.out << f.field << "\t" << f.caption << "\t" << f.value << "\n";
    return 0;
}

const Registrar registrar({.name = "unit",
                           .arguments = "",
                           .summary = "显示操作单位信息（每行：字段、名称、值）",
                           .run = RunUnit});

}  // namespace
}  // namespace mlk::cli
