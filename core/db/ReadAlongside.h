#pragma once

#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <thread>

namespace mlk {

class Database;

// A read-only connection to db's file whose read has begun, for work on another thread; stop,
// once set, interrupts its statements. Null where the read cannot begin at once (a writer waits
// to commit, or the file cannot be opened). The caller makes sure both see the same state.
std::unique_ptr<Database> BeginSecondRead(Database& db, std::atomic<bool>& stop);

// Work that reads the file on a connection and a thread of its own while the caller goes on with
// the same file on db: the machine's second core. Made while db holds the file's committed state,
// in a read transaction that has read or a write transaction that has written nothing yet, so
// that both see the same state; where that cannot be had, the work does not start (Started() is
// false) and the caller does it on db.
class ReadAlongside {
  public:
    using Work = std::function<void(Database& second)>;
    ReadAlongside(Database& db, Work work);
    // Stops work that still runs: the caller's work has failed or was cancelled.
    ~ReadAlongside();
    ReadAlongside(const ReadAlongside&) = delete;
    ReadAlongside& operator=(const ReadAlongside&) = delete;

    bool Started() const { return started_; }
    // True once no work runs (Wait then does not wait).
    bool Done() const { return done_; }
    // Waits for the work to end and closes its connection, whose read would keep db from
    // committing; raises what the work raised.
    void Wait();

  private:
    void Stop();

    std::unique_ptr<Database> second_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> done_{true};
    std::exception_ptr error_;
    bool started_ = false;
};

}  // namespace mlk
