#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace mlk {

// Batches of work handed from one thread (the filler) to another (the emptier) in order, a few
// at a time: the same batches go round, so memory stays as small as the few batches. The filler's
// error reaches the emptier after the batches filled before it; either side may stop, and the
// other then learns of it at its next call instead of waiting for ever.
template <class Batch>
class HandOver {
  public:
    explicit HandOver(std::size_t batches) {
        for (std::size_t i = 0; i < batches; ++i)
            empty_.push_back(std::make_unique<Batch>());
    }

    // The filler's: a batch to fill (as it was left: clear it); none once stopped.
    std::unique_ptr<Batch> Empty() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return stopped_ || !empty_.empty(); });
        if (stopped_)
            return nullptr;
        std::unique_ptr<Batch> batch = std::move(empty_.front());
        empty_.pop_front();
        return batch;
    }
    // The filler's: a filled batch, the last one when last; error (when given) comes after it.
    void Fill(std::unique_ptr<Batch> batch, bool last, std::exception_ptr error = nullptr) {
        {
            const std::lock_guard lock(mutex_);
            if (batch)
                full_.push_back(std::move(batch));
            ended_ = last || error;
            if (error)
                error_ = error;
        }
        changed_.notify_all();
    }

    // The emptier's: gives back the batch it has done (when any) and takes the next; none after
    // the last or once stopped. Raises the filler's error once the batches before it are taken.
    std::unique_ptr<Batch> Full(std::unique_ptr<Batch> done) {
        std::unique_lock lock(mutex_);
        if (done) {
            empty_.push_back(std::move(done));
            changed_.notify_all();
        }
        changed_.wait(lock, [&] { return ended_ || stopped_ || !full_.empty(); });
        if (stopped_)
            return nullptr;
        if (!full_.empty()) {
            std::unique_ptr<Batch> batch = std::move(full_.front());
            full_.pop_front();
            return batch;
        }
        if (error_)
            std::rethrow_exception(error_);
        return nullptr;
    }

    // Either side's: no more batches go round; one waiting goes on.
    void Stop() {
        {
            const std::lock_guard lock(mutex_);
            stopped_ = true;
        }
        changed_.notify_all();
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::unique_ptr<Batch>> empty_, full_;
    bool ended_ = false;    // the filler has filled its last batch
    bool stopped_ = false;  // no more are wanted
    std::exception_ptr error_;
};

// Batches filled on the caller's thread and emptied, in their order, on a thread of its own. The
// emptying's error is kept: once it has stopped, Empty gives no batch and Finish raises it.
template <class Batch>
class EmptiedAlongside {
  public:
    // empty does one batch; false stops the emptying (the caller keeps what it found).
    EmptiedAlongside(std::size_t batches, std::function<bool(Batch&)> empty)
        : handOver_(batches), thread_([this, empty = std::move(empty)] { Run(empty); }) {}
    // Stops an emptying that still runs: the filling has failed or was cancelled.
    ~EmptiedAlongside() {
        handOver_.Stop();
        if (thread_.joinable())
            thread_.join();
    }
    EmptiedAlongside(const EmptiedAlongside&) = delete;
    EmptiedAlongside& operator=(const EmptiedAlongside&) = delete;

    // A batch to fill (as it was left: clear it), an emptied one once all are out; none once the
    // emptying has stopped.
    std::unique_ptr<Batch> Empty() { return handOver_.Empty(); }
    void Fill(std::unique_ptr<Batch> batch) { handOver_.Fill(std::move(batch), false); }
    // Hands over the last batch (when any) and waits until every batch is emptied; raises the
    // emptying's error.
    void Finish(std::unique_ptr<Batch> last) {
        handOver_.Fill(std::move(last), true);
        thread_.join();
        if (error_)
            std::rethrow_exception(error_);
    }

  private:
    void Run(const std::function<bool(Batch&)>& empty) {
        try {
            std::unique_ptr<Batch> batch;
            while ((batch = handOver_.Full(std::move(batch)))) {
                if (!empty(*batch)) {
                    handOver_.Stop();
                    return;
                }
            }
        } catch (...) {
            error_ = std::current_exception();
            handOver_.Stop();
        }
    }

    HandOver<Batch> handOver_;
    std::exception_ptr error_;
    std::thread thread_;  // last: it runs on the members above
};

}  // namespace mlk
