#include "Command.h"

#include <ostream>

#include "data/MlkError.h"

namespace mlk::cli {

namespace {
std::map<std::string, CommandInfo>& Registry() {
    static std::map<std::string, CommandInfo> commands;
    return commands;
}
}  // namespace

Registrar::Registrar(const char* name, const char* usage, CommandFn run) {
    Registry()[name] = CommandInfo{usage, run};
}

const std::map<std::string, CommandInfo>& Commands() {
    return Registry();
}

std::string CommandContext::Option(const std::string& name, const std::string& fallback) const {
    const auto found = options.find(name);
    return found == options.end() ? fallback : found->second;
}

std::string CommandContext::Required(const std::string& name) const {
    const auto found = options.find(name);
    if (found == options.end() || found->second.empty()) {
        throw MlkError("缺少选项 --" + name);
    }
    return found->second;
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
