// mlk: the headless companion of the program, for batch work and scripts.
//   mlk [--db PATH] COMMAND [OPTIONS] [ARGUMENTS...]
#include <iostream>

#include "Command.h"
#include "base/UserGuide.h"
#include "model/TMainDM.h"
#include "platform/FileErrors.h"
#include "platform/Platform.h"

namespace {

using namespace mlk::cli;

int WrongUsage(const std::string& message, const std::string& usage) {
    std::cerr << message << "\n用法：" << usage << "\n" << std::flush;
    return kExitUsage;
}

const CommandSpec* FindCommand(const std::string& name) {
    const auto found = Commands().find(name);
    return found == Commands().end() ? nullptr : &found->second;
}

// mlk help [COMMAND | guide]
int Help(const std::vector<std::string>& topics) {
    if (topics.empty()) {
        PrintGeneralHelp(std::cout);
        return kExitDone;
    }
    if (topics.size() == 1 && topics[0] == "guide") {
        std::cout << mlk::UserGuide();
        return kExitDone;
    }
    const CommandSpec* spec = FindCommand(topics[0]);
    if (topics.size() > 1 || !spec)
        return WrongUsage("未知命令：" + topics.back(), "mlk help [命令]");
    PrintCommandHelp(std::cout, *spec);
    return kExitDone;
}

int Run(const CommandSpec& spec, const std::vector<std::string>& args,
        const std::filesystem::path& db) {
    if (AsksForHelp(spec, args)) {
        PrintCommandHelp(std::cout, spec);
        return kExitDone;
    }
    try {
        CommandContext context(db, spec.needs, std::cout, std::cerr);
        ParseArguments(spec, args, context);
        return spec.run(context);
    } catch (const UsageError& error) {
        return WrongUsage(error.what(),
                          UsageLine(spec) + "\n（mlk help " + spec.name + " 显示全部选项）");
    } catch (const std::exception& error) {
        std::cerr << mlk::ErrorMessage(error) << std::endl;
        return kExitRefused;
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args = mlk::platform::Arguments(argc, argv);
    if (!args.empty())
        args.erase(args.begin());  // the program's own name
    std::filesystem::path db = mlk::TMainDM::DefaultPath();
    // Options before the command: the database, or the general help.
    std::size_t first = 0;
    for (; first < args.size() && args[first].rfind("-", 0) == 0; ++first) {
        const std::string& arg = args[first];
        if (arg == "--") {
            ++first;
            break;
        }
        if (arg == "--help" || arg == "-h")
            return Help({});
        if (arg.rfind("--db=", 0) == 0) {
            db = mlk::PathFromText(arg.substr(5));
        } else if (arg == "--db") {
            if (first + 1 == args.size())
                return WrongUsage("选项 --db 缺少值（数据库文件）", "mlk --db 数据库文件 命令 ...");
            db = mlk::PathFromText(args[++first]);
        } else {
            return WrongUsage("未知选项 " + arg, "mlk [--db 数据库文件] 命令 [选项] [参数...]");
        }
        if (db.empty())
            return WrongUsage("选项 --db 的值不能为空（数据库文件）",
                              "mlk --db 数据库文件 命令 ...");
    }
    if (first == args.size()) {
        PrintGeneralHelp(std::cerr);
        return kExitUsage;
    }
    const std::string command = args[first];
    const std::vector<std::string> rest(args.begin() + std::ptrdiff_t(first) + 1, args.end());
    if (command == "help")
        return Help(rest);
    const CommandSpec* spec = FindCommand(command);
    if (!spec)
        return WrongUsage("未知命令：" + command + "（mlk help 列出全部命令）",
                          "mlk [--db 数据库文件] 命令 [选项] [参数...]");
    return Run(*spec, rest, db);
}
