#pragma once

#include "Command.h"
#include "exchange/Import.h"

namespace mlk::cli {

// The option that names the pending institution a command works under.
inline constexpr OptionSpec kPendingOption = {"pending", "机构ID",
                                              "待导入机构的机构ID（见 mlk pending）", true};

// The pending institution that the command's --pending option names; an MlkError when there is
// none.
DaiDRJG PendingOfOption(TMainDM& dm, const CommandContext& context);

}  // namespace mlk::cli
