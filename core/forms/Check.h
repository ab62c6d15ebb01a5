#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

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
// admits digits only, but pasted text passes it), or is one that the exchange file cannot carry
// (32 bits, as the level above reads it): "<name>超出整数范围（-2147483648至2147483647）！".
CheckResult NotWholeNumber(const RequiredField& field, const char* name);

// Why a text cannot be stored: "单位详细名称中的字符“😀”无法用GBK编码保存，请改用其他字".
std::string OutsideGbkMessage(std::string_view name, std::string_view character);

// A text field by the name messages give it, and the control to focus.
struct NamedField {
    const std::string& text;
    const char* name;
    const char* focus;
};

// The failure of the first field, in the order given, that holds a character GBK has no exact
// form for: whatever is stored must travel in the exchange file.
CheckResult FirstOutsideGbk(std::initializer_list<NamedField> fields);

// The same for an item of a line of a file (number from 1): an MlkError naming the line and
// the item, "第3行第2项：单位详细名称中的字符…".
void RequireItemInGbk(std::string_view item, std::size_t line, std::size_t number,
                      std::string_view name);

}  // namespace mlk
