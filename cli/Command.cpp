#include "Command.h"

#include <algorithm>
#include <optional>
#include <ostream>

#include "base/MlkError.h"
#include "model/TMainDM.h"
#include "platform/Platform.h"

namespace mlk::cli {

namespace {

std::map<std::string, CommandSpec>& Registry() {
    static std::map<std::string, CommandSpec> commands;
    return commands;
}

const OptionSpec* FindOption(const CommandSpec& spec, const std::string& name) {
    const auto found = std::find_if(spec.options.begin(), spec.options.end(),
                                    [&](const OptionSpec& option) { return name == option.name; });
    return found == spec.options.end() ? nullptr : &*found;
}

// "--db PATH" may stand among any command's options.
const OptionSpec kDbOption{"db", "数据库文件", "", false, true};

bool LooksLikeOption(const std::string& word) {
    return word.size() > 2 && word.rfind("--", 0) == 0;
}

// Columns on a terminal: Chinese characters take two.
std::size_t DisplayWidth(const std::string& text) {
    std::size_t width = 0;
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        width += length >= 3 ? 2 : 1;
        i += length;
    }
    return width;
}

void PrintColumns(std::ostream& out, const std::string& left, const std::string& right,
                  std::size_t width) {
    out << "  " << left << std::string(width - std::min(width, DisplayWidth(left)) + 2, ' ')
        << right << "\n";
}

std::string OptionText(const OptionSpec& option) {
    return std::string("--") + option.name + (option.value ? std::string(" ") + option.value : "");
}

void CheckArgumentCount(const CommandSpec& spec, const std::vector<std::string>& positional) {
    if (positional.size() < spec.minArguments)
        throw UsageError(std::string("缺少参数：") + spec.arguments);
    if (positional.size() > spec.maxArguments)
        throw UsageError("多余的参数：" + positional[spec.maxArguments]);
}

}  // namespace

Registrar::Registrar(CommandSpec spec) {
    const std::string name = spec.name;
    Registry().emplace(name, std::move(spec));
}

const std::map<std::string, CommandSpec>& Commands() {
    return Registry();
}

CommandContext::CommandContext(std::filesystem::path db, Needs needs, std::ostream& out,
                               std::ostream& err)
    : db(std::move(db)), needs(needs), out(out), err(err) {}

CommandContext::~CommandContext() = default;

void CommandContext::RequireDatabaseFile() const {
    std::error_code error;
    if (std::filesystem::is_directory(db, error))
        throw MlkError("数据库文件 " + PathText(db) + " 是一个文件夹，不是文件。");
    if (!std::filesystem::exists(db, error))
        throw MlkError("数据库文件 " + PathText(db) + " 不存在，请先运行 mlk init 或检查 --db");
}

TMainDM& CommandContext::Dm() {
    if (dm_)
        return *dm_;
    if (needs != Needs::kNewDatabase)
        RequireDatabaseFile();
    auto dm = std::make_unique<TMainDM>(
        db, needs == Needs::kNewDatabase ? Database::Access::Create : Database::Access::Existing);
    if (needs == Needs::kRegisteredUnit && !dm->Unit().ZhuCeBZ)
        throw MlkError("尚未注册操作单位（请先运行 mlk register）。");
    dm_ = std::move(dm);
    return *dm_;
}

std::string CommandContext::Option(const std::string& name, const std::string& fallback) const {
    const auto found = options.find(name);
    return found == options.end() ? fallback : found->second;
}

std::string CommandContext::Required(const std::string& name) const {
    const auto found = options.find(name);
    if (found == options.end() || found->second.empty())
        throw UsageError("缺少选项 --" + name);
    return found->second;
}

void ParseArguments(const CommandSpec& spec, const std::vector<std::string>& args,
                    CommandContext& context) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (optionsEnded || !LooksLikeOption(args[i])) {
            if (!optionsEnded && args[i] == "--") {
                optionsEnded = true;
            } else if (args[i].empty()) {
                throw UsageError("参数不能为空");
            } else {
                context.positional.push_back(args[i]);
            }
            continue;
        }
        std::string name = args[i].substr(2);
        std::optional<std::string> value;
        if (const std::size_t eq = name.find('='); eq != std::string::npos) {
            value = name.substr(eq + 1);
            name.resize(eq);
        }
        const OptionSpec* option = name == "db" ? &kDbOption : FindOption(spec, name);
        if (!option)
            throw UsageError("未知选项 --" + name);
        if (!option->value) {
            if (value)
                throw UsageError("选项 --" + name + " 不带值");
        } else if (!value) {
            // A value never starts with "--"; write "--name=--text" for one that does.
            if (i + 1 == args.size() || LooksLikeOption(args[i + 1]))
                throw UsageError("选项 --" + name + " 缺少值（" + option->value + "）");
            value = args[++i];
        }
        if (value && value->empty() && (option->required || option->nonEmpty))
            throw UsageError("选项 --" + name + " 的值不能为空（" + option->value + "）");
        if (option == &kDbOption) {
            context.db = PathFromText(*value);
        } else if (!context.options.emplace(name, value.value_or("")).second) {
            throw UsageError("选项 --" + name + " 重复");
        }
    }
    for (const OptionSpec& option : spec.options) {
        if (option.required && !context.Has(option.name))
            throw UsageError("缺少选项 --" + std::string(option.name));
    }
    CheckArgumentCount(spec, context.positional);
}

bool AsksForHelp(const CommandSpec& spec, const std::vector<std::string>& args) {
    for (std::size_t i = 0; i < args.size() && args[i] != "--"; ++i) {
        if (args[i] == "--help" || args[i] == "-h")
            return true;
        // Skips an option's value as the parser takes it.
        const std::string name = args[i].substr(std::min<std::size_t>(2, args[i].size()));
        const OptionSpec* option = name == "db" ? &kDbOption : FindOption(spec, name);
        if (LooksLikeOption(args[i]) && option && option->value && i + 1 < args.size() &&
            !LooksLikeOption(args[i + 1]))
            ++i;
    }
    return false;
}

std::string TabSeparatedCell(std::string text) {
    std::string cell;
    AppendTabSeparatedCell(cell, text);
    return cell;
}

void AppendTabSeparatedCell(std::string& line, std::string_view text) {
    const std::size_t from = line.size();
    line += text;
    // Nearly every cell holds no byte as low as these three: one pass that the compiler does
    // many bytes at a time tells, and only such a cell is looked through byte by byte.
    bool low = false;
    for (const char c : text)
        low |= static_cast<unsigned char>(c) <= '\r';
    if (!low)
        return;
    for (std::size_t i = from; i < line.size(); ++i) {
        if (line[i] == '\t' || line[i] == '\n' || line[i] == '\r')
            line[i] = ' ';
    }
}

std::string UsageLine(const CommandSpec& spec) {
    std::string line = std::string("mlk [--db 数据库文件] ") + spec.name;
    bool optional = false;
    for (const OptionSpec& option : spec.options) {
        if (option.required)
            line += " " + OptionText(option);
        optional = optional || !option.required;
    }
    if (optional)
        line += " [选项]";
    if (*spec.arguments)
        line += std::string(" ") + spec.arguments;
    return line;
}

void PrintCommandHelp(std::ostream& out, const CommandSpec& spec) {
    out << "用法：" << UsageLine(spec) << "\n" << spec.summary << "\n";
    std::size_t width = 0;
    for (const OptionSpec& option : spec.options)
        width = std::max(width, DisplayWidth(OptionText(option)));
    if (!spec.options.empty())
        out << "\n选项：\n";
    for (const OptionSpec& option : spec.options) {
        PrintColumns(out, OptionText(option),
                     std::string(option.required ? "（必需）" : "") + option.help, width);
    }
    if (!spec.details.empty())
        out << "\n" << spec.details << "\n";
}

void PrintGeneralHelp(std::ostream& out) {
    out << "用法：mlk [--db 数据库文件] 命令 [选项] [参数...]\n"
           "名录库的命令行工具，与程序的窗口做同样的检查、给出同样的提示。\n"
           "数据库文件默认为当前目录下的 GGJGMLK.DB。\n\n命令：\n";
    std::size_t width = 4;
    for (const auto& [name, spec] : Commands())
        width = std::max(width, name.size());
    for (const auto& [name, spec] : Commands())
        PrintColumns(out, name, spec.summary, width);
    PrintColumns(out, "help", "显示帮助；mlk help 命令 与 mlk 命令 --help 显示该命令的用法", width);
    out << "\n用户指南：在程序中按 F1 或选“帮助”菜单中的“用户指南”；mlk help guide 显示全文。\n";
    out << "\n退出码：0 完成；1 被拒绝或失败（原因写在标准错误输出）；2 用法错误。\n";
}

StderrProgress::StderrProgress(std::ostream& err, std::string label)
    : err_(err), label_(std::move(label)) {}

StderrProgress::~StderrProgress() {
    if (shown_ >= 0)
        err_ << std::endl;
}

void StderrProgress::SetRange(std::int64_t maximum) {
    maximum_ = maximum;
}

void StderrProgress::SetPosition(std::int64_t position) {
    const std::int64_t step = maximum_ > 100 ? maximum_ / 100 : 1;
    if (position != maximum_ && shown_ >= 0 && position - shown_ < step)
        return;
    shown_ = position;
    err_ << "\r" << label_ << ": " << position << "/" << maximum_ << std::flush;
}

}  // namespace mlk::cli
