#pragma once

#include <string>

#include "Command.h"
#include "db/SafetyCopy.h"
#include "platform/Platform.h"

namespace mlk::cli {

// --no-backup of the commands that delete rows in bulk or replace the database: they keep a
// safety copy of the database in the folder 备份 beside it first unless it is given.
inline const OptionSpec kNoBackupOption{"no-backup", nullptr,
                                        "不先把数据库复制到数据库旁的“备份”文件夹", false};

inline SafetyCopy SafetyCopyOf(const CommandContext& context) {
    return context.Has("no-backup") ? SafetyCopy::Skip : SafetyCopy::Keep;
}

// The line that tells where the database as it was before the action went; none without a copy.
inline std::string SafetyCopyNote(const CommandContext& context, const std::string& action) {
    if (context.Has("no-backup"))
        return {};
    return action + "前的数据库保存在文件夹 " + PathText(SafetyCopyFolder(context.db)) + " 中。\n";
}

}  // namespace mlk::cli
