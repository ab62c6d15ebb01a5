#pragma once

#include <optional>
#include <string>

namespace mlk {

// The first failed input check of a form: the message to show and the control to focus
// (its component name, empty when nothing takes the focus).
struct CheckFailure {
    std::string message;
    std::string focus;

    bool operator==(const CheckFailure&) const = default;
};

using CheckResult = std::optional<CheckFailure>;

}  // namespace mlk
