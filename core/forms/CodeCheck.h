#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mlk {

// The check characters of the two national codes an institution carries: the 9-character
// organisation code (GB 11714) and the 18-character unified social credit code (GB 32100) that
// has replaced it on certificates and holds it as its characters 9 to 17.

// The check character of an organisation code's first eight characters (digits, capital
// letters): '0' to '9' or 'X'. '\0' when fewer than eight are given or one is outside the
// alphabet.
char OrganisationCheckCharacter(std::string_view code);

// The check character of a unified social credit code's first 17 characters (digits and the
// capital letters but I, O, S, V and Z); '\0' when one is outside that alphabet.
char CreditCheckCharacter(std::string_view code);

// "组织机构代码校验位不正确，按国家标准应为X" for a 9-character code of digits and capital
// letters that does not end in its check character; none for a right code and for anything
// that is not a code at all (the completeness check says what is wrong with that).
std::optional<std::string> OrganisationCheckWarning(std::string_view code);

// An 18-character unified social credit code in the organisation-code field, and what the editor
// says of it: that the organisation code was taken from it, and that its check character is
// wrong.
struct CreditCode {
    std::string organisation;  // characters 9 to 17
    std::string division;      // characters 3 to 8
    std::vector<std::string> notes;
};
// The code in text (blanks around it left out); none when text is not 18 characters of the
// code's alphabet.
std::optional<CreditCode> ReadCreditCode(std::string_view text);

// What the editor says when the credit code's division is not the chosen county nor the city or
// province above it (a code is given where the institution registered); none when it is, or while
// no county is chosen.
std::optional<std::string> CreditDivisionNote(std::string_view division, std::string_view county);

}  // namespace mlk
