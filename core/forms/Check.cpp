#include "forms/Check.h"

#include "text/Text.h"

namespace mlk {

CheckResult FirstBlank(std::initializer_list<RequiredField> fields) {
    for (const RequiredField& field : fields) {
        if (Trim(field.text).empty())
            return CheckFailure{field.message, field.focus};
    }
    return std::nullopt;
}

CheckResult NotWholeNumber(const RequiredField& field) {
    long long number = 0;
    if (ParseInt(Trim(field.text), number))
        return std::nullopt;
    return CheckFailure{field.message, field.focus};
}

}  // namespace mlk
