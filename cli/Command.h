#pragma once

#include <filesystem>
#include <iosfwd>
#include <map>
#include <string>
#include <vector>

#include "data/Progress.h"

namespace mlk::cli {

// What a command gets: its own arguments (after the command name), the database path and the
// two output streams. Options are "--name value" or bare "--flag"; the rest are positional.
struct CommandContext {
    std::vector<std::string> positional;
    std::map<std::string, std::string> options;
    std::filesystem::path db;
    std::ostream& out;
    std::ostream& err;

    bool Has(const std::string& name) const { return options.count(name) != 0; }
    // The option's value, or fallback when it is absent.
    std::string Option(const std::string& name, const std::string& fallback = {}) const;
    // The option's value; a missing one raises an MlkError naming it.
    std::string Required(const std::string& name) const;
};

// Returns the process exit code: 0 for success. Errors are thrown (MlkError) and reported by
// main on stderr with exit code 1.
using CommandFn = int (*)(CommandContext&);

// Each command file registers itself with a static Registrar, so adding a command touches no
// shared file.
struct Registrar {
    Registrar(const char* name, const char* usage, CommandFn run);
};

struct CommandInfo {
    std::string usage;
    CommandFn run;
};
const std::map<std::string, CommandInfo>& Commands();

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
