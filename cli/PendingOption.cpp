#include "PendingOption.h"

#include "base/MlkError.h"

namespace mlk::cli {

DaiDRJG PendingOfOption(TMainDM& dm, const CommandContext& context) {
    const std::string id = context.Required("pending");
    std::optional<DaiDRJG> pending = LoadPending(dm, id);
    if (!pending)
        throw MlkError("没有机构ID为 " + id + " 的待导入机构");
    return std::move(*pending);
}

}  // namespace mlk::cli
