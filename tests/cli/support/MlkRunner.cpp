#include "MlkRunner.h"

#include <QProcess>
#include <QStringList>

#include "data/Platform.h"
#include "data/Text.h"

namespace mlk::test {

MlkRun Mlk(const std::filesystem::path& folder, const std::vector<std::string>& args) {
    QStringList arguments;
    for (const std::string& arg : args)
        arguments << QString::fromStdString(arg);
    QProcess process;
    process.setWorkingDirectory(QString::fromStdString(PathText(folder)));
    process.start(QStringLiteral(MLK_CLI_PATH), arguments);
    EXPECT_TRUE(process.waitForFinished(120000)) << "mlk did not finish";
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
}

MlkRun Mlk(const std::filesystem::path& folder, const std::string& line) {
    return Mlk(folder, SplitText(line, ' '));
}

}  // namespace mlk::test
