#pragma once

#include <cstddef>
#include <string_view>

namespace mlk {

extern const char kUserGuide[];
extern const std::size_t kUserGuideSize;

// The user guide in Markdown (UTF-8): doc/guide.md, built into the programs so that the window's
// help and `mlk help guide` need no file beside them.
inline std::string_view UserGuide() {
    return {kUserGuide, kUserGuideSize};
}

}  // namespace mlk
