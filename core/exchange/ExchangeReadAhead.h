#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "base/HandOver.h"
#include "exchange/ExchangeFile.h"

namespace mlk {

// An ExchangeReader on a thread of its own: the file is read, converted, split and checked while
// the caller stores the records already read. They come in file order, copied in batches, at
// most a few batches ahead, so memory stays small whatever the file's size. A bad record raises
// its error (naming its line) where the record would have come, after every record before it.
class ExchangeReadAhead {
  public:
    // Opens the file at once: one that cannot be read raises its MlkError here.
    explicit ExchangeReadAhead(const std::filesystem::path& path);
    // Stops the reading, however far it got.
    ~ExchangeReadAhead();
    ExchangeReadAhead(const ExchangeReadAhead&) = delete;
    ExchangeReadAhead& operator=(const ExchangeReadAhead&) = delete;

    // The next record; false at the end of the text.
    bool Next();

    // The record last read, as ExchangeReader gives it, valid until the next.
    const std::vector<std::string_view>& Items() const { return items_; }
    long long JiC() const { return record_->jic; }
    long long ShunX() const { return record_->shunx; }
    std::size_t Line() const { return record_->line; }
    // The bytes read up to the record, and in all, for progress.
    std::uint64_t Offset() const { return record_->offset; }
    std::uint64_t Size() const { return size_; }

  private:
    struct Record {
        std::size_t line;
        long long jic, shunx;
        std::uint64_t offset;
        std::size_t firstEnd;  // in Batch::ends
    };
    // Records with their items' texts one after the other.
    struct Batch {
        std::vector<Record> records;
        std::string text;
        std::vector<std::size_t> ends;  // where each item's text ends
        void Add(const ExchangeReader& reader);
    };

    void Read();

    ExchangeReader reader_;
    std::uint64_t size_;
    HandOver<Batch> batches_;

    std::unique_ptr<Batch> batch_;  // the caller's
    std::size_t next_ = 0;
    const Record* record_ = nullptr;
    std::vector<std::string_view> items_;
    std::thread thread_;
};

}  // namespace mlk
