#include "forms/Check.h"

#include "base/MlkError.h"
#include "text/Gbk.h"
#include "text/Text.h"

namespace mlk {

CheckResult FirstBlank(std::initializer_list<RequiredField> fields) {
    for (const RequiredField& field : fields) {
        if (Trim(field.text).empty())
            return CheckFailure{field.message, field.focus};
    }
    return std::nullopt;
}

CheckResult NotWholeNumber(const RequiredField& field, const char* name) {
    long long number = 0;
    if (!ParseInt(Trim(field.text), number))
        return CheckFailure{field.message, field.focus};
    if (!FitsInt32(number))
        return CheckFailure{std::string(name) + kOutsideInt32 + "！", field.focus};
    return std::nullopt;
}

std::string OutsideGbkMessage(std::string_view name, std::string_view character) {
    return std::string(name) + "中的字符“" + std::string(character) +
           "”无法用GBK编码保存，请改用其他字";
}

CheckResult FirstOutsideGbk(std::initializer_list<NamedField> fields) {
    for (const NamedField& field : fields) {
        const std::string_view character = FirstCharacterOutsideGbk(field.text);
        if (!character.empty())
            return CheckFailure{OutsideGbkMessage(field.name, character), field.focus};
    }
    return std::nullopt;
}

void RequireItemInGbk(std::string_view item, std::size_t line, std::size_t number,
                      std::string_view name) {
    const std::string_view character = FirstCharacterOutsideGbk(item);
    if (!character.empty()) {
        throw MlkError(LineName(line) + "第" + std::to_string(number) + "项：" +
                       OutsideGbkMessage(name, character));
    }
}

}  // namespace mlk
