#pragma once

#include <algorithm>
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

// One stage of work done in several (a safety copy, then the restore) that shows as one bar:
// the stage's own range fills its equal share of the whole, so the bar never runs back.
class ProgressStage final : public Progress {
  public:
    ProgressStage(Progress& whole, int stage, int stages)
        : whole_(whole), from_(stage * kStageSteps) {
        whole_.SetRange(stages * kStageSteps);
        whole_.SetPosition(from_);
    }
    void SetRange(std::int64_t maximum) override { maximum_ = maximum; }
    void SetPosition(std::int64_t position) override {
        const std::int64_t done =
            maximum_ > 0 ? std::clamp<std::int64_t>(position, 0, maximum_) * kStageSteps / maximum_
                         : 0;
        whole_.SetPosition(from_ + done);
    }

  private:
    static constexpr std::int64_t kStageSteps = 1000;
    Progress& whole_;
    std::int64_t from_;
    std::int64_t maximum_ = 0;
};

}  // namespace mlk
