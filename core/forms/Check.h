#pragma once

#include <initializer_list>
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

// A field an input check looks at: its text, the message when the check fails and the control
// to focus.
struct RequiredField {
    const std::string& text;
    const char* message;
    const char* focus;
};

// The failure of the first field, in the order given, that is blank after trimming.
CheckResult FirstBlank(std::initializer_list<RequiredField> fields);

// The failure when the field, trimmed, is not a whole number (the order fields' key filter
// admits digits only, but pasted text passes it).
CheckResult NotWholeNumber(const RequiredField& field);

}  // namespace mlk
