#include "exchange/FileSender.h"

#include "exchange/ExchangeFile.h"
#include "exchange/Import.h"

namespace mlk {

namespace {

constexpr std::size_t kSuperiorNameItem = 9;  // ShangJHYZGBM
constexpr std::size_t kShuJLYItem = 34;
constexpr std::size_t kShangJBMIDItem = 35;
constexpr std::size_t kDivisionLength = 6;

// The name without blanks of any width, as two offices may space it differently.
std::string Squeezed(std::string_view name) {
    std::string squeezed;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (static_cast<unsigned char>(name[i]) <= ' ')
            continue;
        if (name.substr(i, 3) == "\u3000") {
            i += 2;
            continue;
        }
        squeezed += name[i];
    }
    return squeezed;
}

bool OneHoldsTheOther(const std::string& a, const std::string& b) {
    return !a.empty() && !b.empty() &&
           (a.find(b) != std::string::npos || b.find(a) != std::string::npos);
}

}  // namespace

FileSender ReadFileSender(const std::filesystem::path& file) {
    FileSender sender;
    ExchangeReader reader(file);
    while (reader.Next()) {
        const std::vector<std::string_view>& items = reader.Items();
        if (items[kShuJLYItem] != "0")
            continue;
        if (sender.division.empty())
            sender.division = std::string(items[kShangJBMIDItem].substr(0, kDivisionLength));
        if (!items[kSuperiorNameItem].empty()) {
            sender.name = std::string(items[kSuperiorNameItem]);
            break;
        }
    }
    return sender;
}

std::optional<std::string> SenderMismatch(const DaiDRJG& pending, const FileSender& sender) {
    if (!sender.name.empty()) {
        const std::string name = Squeezed(sender.name);
        if (OneHoldsTheOther(name, Squeezed(pending.JiGMC)) ||
            OneHoldsTheOther(name, Squeezed(pending.JieDMC)) ||
            (pending.JiGMC.empty() && pending.JieDMC.empty())) {
            return std::nullopt;
        }
        return "文件中的机构信息由“" + sender.name + "”上报，不是所选的“" + pending.JiGMC + "”。";
    }
    if (sender.division.size() < 2 || pending.XingZQH.size() < 2 ||
        sender.division.compare(0, 2, pending.XingZQH, 0, 2) == 0) {
        return std::nullopt;
    }
    return "文件中的机构信息由行政区划为" + sender.division + "的单位上报，不是所选的“" +
           pending.JiGMC + "”（行政区划为" + pending.XingZQH + "）。";
}

}  // namespace mlk
