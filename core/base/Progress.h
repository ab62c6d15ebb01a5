#pragma once

#include <cstdint>

namespace mlk {

// How a long operation reports how far it got. The window shows a progress bar, the command
// line prints to stderr; the operation itself knows neither.
class Progress {
  public:
    virtual ~Progress() = default;
    virtual void SetRange(std::int64_t maximum) = 0;
    virtual void SetPosition(std::int64_t position) = 0;
};

// For callers that do not watch.
class NoProgress final : public Progress {
  public:
    void SetRange(std::int64_t) override {}
    void SetPosition(std::int64_t) override {}
};

}  // namespace mlk
