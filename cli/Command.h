#pragma once

#include <filesystem>
#include <iosfwd>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/Progress.h"

namespace mlk {
class TMainDM;
}

namespace mlk::cli {

// The exit codes that `mlk help` explains.
inline constexpr int kExitDone = 0;
inline constexpr int kExitRefused = 1;  // refused or failed; the reason is on stderr
inline constexpr int kExitUsage = 2;    // a wrong command line

// A wrong command line (unknown option, missing value, wrong number of arguments): main prints
// the message and the command's usage line on stderr and exits with kExitUsage.
class UsageError : public std::runtime_error {
  public:
    explicit UsageError(const std::string& message) : std::runtime_error(message) {}
};

// What a command needs of the database before it runs. Only init creates one; every other
// command refuses a missing file, and those of the windows that the menu offers only to a
// registered unit refuse an unregistered one, all in one place (CommandContext::Dm).
enum class Needs {
    kRegisteredUnit,  // the data module of an existing database with a registered unit
    kDatabase,        // the data module of an existing database (registration, divisions)
    kDatabaseFile,    // an existing file, which the command opens itself (check, backup)
    kNewDatabase,     // the data module, the file created when missing (init)
};

// What a command gets: its own arguments (after the command name), the options the parser
// accepted against the command's declaration, the database path and the two output streams.
struct CommandContext {
    CommandContext(std::filesystem::path db, Needs needs, std::ostream& out, std::ostream& err);
    ~CommandContext();

    std::vector<std::string> positional;
    std::map<std::string, std::string> options;
    std::filesystem::path db;
    Needs needs;
    std::ostream& out;
    std::ostream& err;

    bool Has(const std::string& name) const { return options.count(name) != 0; }
    // The option's value, or fallback when it is absent.
    std::string Option(const std::string& name, const std::string& fallback = {}) const;
    // The option's value; a missing or empty one is a UsageError naming it.
    std::string Required(const std::string& name) const;

    // Refuses a database file that does not exist (or is a folder), in the words that send the
    // user to mlk init or to --db.
    void RequireDatabaseFile() const;
    // The data module, opened on the first call as the command's needs say; a command calls it
    // only once its own command line has passed every check, so a refused one touches nothing.
    TMainDM& Dm();

  private:
    std::unique_ptr<TMainDM> dm_;
};

// Returns the exit code. Refusals and failures are thrown (MlkError), wrong usage as UsageError;
// main reports both on stderr.
using CommandFn = int (*)(CommandContext&);

struct OptionSpec {
    const char* name = "";        // without the leading "--"
    const char* value = nullptr;  // what the value is, as the usage shows it; nullptr for a flag
    const char* help = "";
    bool required = false;
    bool nonEmpty = false;  // an empty value is wrong usage (always so for a required option)
};

struct CommandSpec {
    const char* name = "";
    const char* arguments = "";  // the positional arguments as the usage line shows them
    const char* summary = "";    // one line in the list of commands
    std::vector<OptionSpec> options = {};
    std::size_t minArguments = 0;
    std::size_t maxArguments = 0;
    CommandFn run = nullptr;
    std::string details = {};  // further lines of `mlk help COMMAND`
    Needs needs = Needs::kRegisteredUnit;
};

inline constexpr std::size_t kAnyNumber = static_cast<std::size_t>(-1);

// Each command file registers itself with a static Registrar, so adding a command touches no
// shared file.
struct Registrar {
    explicit Registrar(CommandSpec spec);
};

const std::map<std::string, CommandSpec>& Commands();

// Reads a command's arguments (after its name) against its declaration: "--name value",
// "--name=value" or a bare "--flag"; everything else is positional, and everything after "--".
// "--db PATH" may stand anywhere and sets the database. Throws UsageError for an unknown,
// repeated or valueless option, a value given to a flag, an empty value where one is needed, an
// empty argument, a missing required option or a wrong number of arguments.
void ParseArguments(const CommandSpec& spec, const std::vector<std::string>& args,
                    CommandContext& context);

// True when "--help" or "-h" stands among the arguments as an option, not as an option's value
// nor after "--".
bool AsksForHelp(const CommandSpec& spec, const std::vector<std::string>& args);

// Tabs and line ends inside a value would break a tab-separated row apart: they are shown as
// blanks. What list and summary say about it in their help.
std::string TabSeparatedCell(std::string text);
// The same, added to a line being built.
void AppendTabSeparatedCell(std::string& line, std::string_view text);
inline constexpr const char* kTabSeparatedHelp = "值中的制表符和换行显示为空格，每行一条。";

// The usage line of a command ("mlk [--db 数据库文件] NAME OPTIONS ARGUMENTS").
std::string UsageLine(const CommandSpec& spec);
// `mlk help COMMAND`: usage line, summary, options and details.
void PrintCommandHelp(std::ostream& out, const CommandSpec& spec);
// `mlk help`: the general usage, every command with its summary, and the exit codes.
void PrintGeneralHelp(std::ostream& out);

// Prints "label: position/maximum" on stderr, at most about a hundred times a run.
class StderrProgress final : public Progress {
  public:
    StderrProgress(std::ostream& err, std::string label);
    ~StderrProgress() override;
    void SetRange(std::int64_t maximum) override;
    void SetPosition(std::int64_t position) override;
    // Shows the end reached: for work whose last steps tell nothing (a copy's last pages).
    void Finish() { SetPosition(maximum_); }

  private:
    std::ostream& err_;
    std::string label_;
    std::int64_t maximum_ = 0;
    std::int64_t shown_ = -1;
};

}  // namespace mlk::cli
