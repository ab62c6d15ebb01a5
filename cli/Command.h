#pragma once

#include <filesystem>
#include <iosfwd>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/Progress.h"

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

// What a command gets: its own arguments (after the command name), the options the parser
// accepted against the command's declaration, the database path and the two output streams.
struct CommandContext {
    std::vector<std::string> positional;
    std::map<std::string, std::string> options;
    std::filesystem::path db;
    std::ostream& out;
    std::ostream& err;

    bool Has(const std::string& name) const { return options.count(name) != 0; }
    // The option's value, or fallback when it is absent.
    std::string Option(const std::string& name, const std::string& fallback = {}) const;
    // The option's value; a missing or empty one is a UsageError naming it.
    std::string Required(const std::string& name) const;
};

// Returns the exit code. Refusals and failures are thrown (MlkError), wrong usage as UsageError;
// main reports both on stderr.
using CommandFn = int (*)(CommandContext&);

struct OptionSpec {
    const char* name = "";        // without the leading "--"
    const char* value = nullptr;  // what the value is, as the usage shows it; nullptr for a flag
    const char* help = "";
    bool required = false;
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
};

inline constexpr std::size_t kAnyNumber = static_cast<std::size_t>(-1);

// Each command file registers itself with a static Registrar, so adding a command touches no
// shared file.
struct Registrar {
    explicit Registrar(CommandSpec spec);
};

const std::map<std::string, CommandSpec>& Commands();

// Reads a command's arguments (after its name) against its declaration: "--name value",
// "--name=value" or a bare "--flag"; everything else is positional. "--db PATH" may stand
// anywhere and sets the database. Throws UsageError for an unknown, repeated or valueless
// option, a value given to a flag, a missing required option or a wrong number of arguments.
void ParseArguments(const CommandSpec& spec, const std::vector<std::string>& args,
                    CommandContext& context);

// True when the arguments ask for the command's help ("--help" or "-h").
bool AsksForHelp(const std::vector<std::string>& args);

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

  private:
    std::ostream& err_;
    std::string label_;
    std::int64_t maximum_ = 0;
    std::int64_t shown_ = -1;
};

}  // namespace mlk::cli
