// mlk: the headless companion of the program, for batch work and scripts.
//   mlk [--db PATH] COMMAND [ARGS...]
#include <iostream>

#include "Command.h"
#include "data/MlkError.h"
#include "data/Platform.h"
#include "data/TMainDM.h"

namespace {

int Usage(std::ostream& out) {
    out << "用法: mlk [--db 数据库文件] 命令 [参数...]\n命令:\n";
    for (const auto& [name, info] : mlk::cli::Commands()) {
        out << "  " << name << " " << info.usage << "\n";
    }
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace mlk::cli;
    std::vector<std::string> args(argv + 1, argv + argc);
    std::filesystem::path db = mlk::TMainDM::DefaultPath();
    std::string command;
    CommandContext context{{}, {}, db, std::cout, std::cerr};
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.rfind("--", 0) == 0 && arg.size() > 2) {
            // "--name=value", "--name value", or a bare "--flag" (before another option or last).
            std::string name = arg.substr(2);
            std::string value;
            if (const std::size_t eq = name.find('='); eq != std::string::npos) {
                value = name.substr(eq + 1);
                name.resize(eq);
            } else if (i + 1 < args.size() && args[i + 1].rfind("--", 0) != 0) {
                value = args[++i];
            }
            if (name == "db")
                context.db = mlk::PathFromText(value);
            else
                context.options[name] = value;
        } else if (command.empty()) {
            command = arg;
        } else {
            context.positional.push_back(arg);
        }
    }
    const auto found = Commands().find(command);
    if (found == Commands().end())
        return Usage(command.empty() ? std::cout : std::cerr);
    try {
        return found->second.run(context);
    } catch (const std::exception& error) {
        std::cerr << error.what() << std::endl;
        return 1;
    }
}
