#include "forms/CodeCheck.h"

#include <array>

#include "text/Text.h"

namespace mlk {

namespace {

constexpr std::array<int, 8> kOrganisationWeights{3, 7, 9, 10, 5, 8, 4, 2};
constexpr std::array<int, 17> kCreditWeights{1,  3,  9,  27, 19, 26, 16, 17, 20,
                                             29, 25, 13, 8,  24, 10, 30, 28};
constexpr std::string_view kCreditAlphabet = "0123456789ABCDEFGHJKLMNPQRTUWXY";

// Digits count as their value, letters A to Z as 10 to 35; -1 outside.
int OrganisationValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'Z')
        return c - 'A' + 10;
    return -1;
}

}  // namespace

char OrganisationCheckCharacter(std::string_view code) {
    if (code.size() < kOrganisationWeights.size())
        return '\0';
    int sum = 0;
    for (std::size_t i = 0; i < kOrganisationWeights.size(); ++i) {
        const int value = OrganisationValue(code[i]);
        if (value < 0)
            return '\0';
        sum += value * kOrganisationWeights[i];
    }
    const int check = 11 - sum % 11;
    return check == 10 ? 'X' : check == 11 ? '0' : char('0' + check);
}

char CreditCheckCharacter(std::string_view code) {
    if (code.size() < kCreditWeights.size())
        return '\0';
    int sum = 0;
    for (std::size_t i = 0; i < kCreditWeights.size(); ++i) {
        const std::size_t value = kCreditAlphabet.find(code[i]);
        if (value == std::string_view::npos)
            return '\0';
        sum += int(value) * kCreditWeights[i];
    }
    return kCreditAlphabet[std::size_t(31 - sum % 31) % 31];
}

std::optional<std::string> OrganisationCheckWarning(std::string_view code) {
    const char expected = OrganisationCheckCharacter(code);
    if (code.size() != 9 || expected == '\0' || OrganisationValue(code[8]) < 0 ||
        code[8] == expected)
        return std::nullopt;
    return std::string("组织机构代码校验位不正确，按国家标准应为") + expected;
}

std::optional<CreditCode> ReadCreditCode(std::string_view text) {
    const std::string code = Trim(text);
    const char expected = CreditCheckCharacter(code);
    if (code.size() != 18 || expected == '\0' ||
        kCreditAlphabet.find(code[17]) == std::string_view::npos)
        return std::nullopt;
    CreditCode credit{code.substr(8, 9), code.substr(2, 6), {}};
    credit.notes.push_back("已从统一社会信用代码" + code + "中取出组织机构代码（第9至17位）" +
                           credit.organisation);
    if (code[17] != expected)
        credit.notes.push_back(std::string("统一社会信用代码校验位不正确，按国家标准应为") +
                               expected);
    return credit;
}

std::optional<std::string> CreditDivisionNote(std::string_view division, std::string_view county) {
    if (county.size() != 6 || division.size() != 6)
        return std::nullopt;
    const bool province =
        division.ends_with("0000") && division.substr(0, 2) == county.substr(0, 2);
    const bool city = division.ends_with("00") && division.substr(0, 4) == county.substr(0, 4);
    if (division == county || province || city)
        return std::nullopt;
    return "统一社会信用代码中的行政区划代码" + std::string(division) + "与所选县区" +
           std::string(county) + "不符";
}

}  // namespace mlk
