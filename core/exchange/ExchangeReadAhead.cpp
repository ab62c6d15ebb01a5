#include "exchange/ExchangeReadAhead.h"

namespace mlk {

namespace {

// Enough records a batch that handing one over costs little beside reading it; few enough
// batches that a file of long records still takes little memory.
constexpr std::size_t kBatchRecords = 256;
constexpr std::size_t kBatches = 4;

}  // namespace

void ExchangeReadAhead::Batch::Add(const ExchangeReader& reader) {
    records.push_back({reader.Line(), reader.JiC(), reader.ShunX(), reader.Offset(), ends.size()});
    for (const std::string_view item : reader.Items()) {
        text += item;
        ends.push_back(text.size());
    }
}

ExchangeReadAhead::ExchangeReadAhead(const std::filesystem::path& path)
    : reader_(path), size_(reader_.Size()) {
    for (std::size_t i = 0; i < kBatches; ++i)
        free_.push_back(std::make_unique<Batch>());
    items_.reserve(kExchangeItems);
    thread_ = std::thread([this] { Read(); });
}

ExchangeReadAhead::~ExchangeReadAhead() {
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void ExchangeReadAhead::Read() {
    std::unique_ptr<Batch> batch;
    bool more = true;
    try {
        while (more) {
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [&] { return stop_ || !free_.empty(); });
                if (stop_)
                    return;
                batch = std::move(free_.front());
                free_.pop_front();
            }
            batch->records.clear();
            batch->text.clear();
            batch->ends.clear();
            while (batch->records.size() < kBatchRecords && (more = reader_.Next()))
                batch->Add(reader_);
            {
                const std::lock_guard lock(mutex_);
                full_.push_back(std::move(batch));
                ended_ = !more;
            }
            changed_.notify_all();
        }
    } catch (...) {
        // The records before the bad one come first, then its error.
        {
            const std::lock_guard lock(mutex_);
            full_.push_back(std::move(batch));
            error_ = std::current_exception();
            ended_ = true;
        }
        changed_.notify_all();
    }
}

std::unique_ptr<ExchangeReadAhead::Batch> ExchangeReadAhead::NextBatch() {
    std::unique_lock lock(mutex_);
    if (batch_) {
        free_.push_back(std::move(batch_));
        changed_.notify_all();
    }
    changed_.wait(lock, [&] { return ended_ || !full_.empty(); });
    if (!full_.empty()) {
        std::unique_ptr<Batch> batch = std::move(full_.front());
        full_.pop_front();
        return batch;
    }
    if (error_)
        std::rethrow_exception(error_);
    return nullptr;
}

bool ExchangeReadAhead::Next() {
    while (!batch_ || next_ == batch_->records.size()) {
        batch_ = NextBatch();
        next_ = 0;
        if (!batch_)
            return false;
    }
    record_ = &batch_->records[next_++];
    items_.clear();
    std::size_t start = record_->firstEnd ? batch_->ends[record_->firstEnd - 1] : 0;
    for (std::size_t i = 0; i < kExchangeItems; ++i) {
        const std::size_t end = batch_->ends[record_->firstEnd + i];
        items_.emplace_back(batch_->text.data() + start, end - start);
        start = end;
    }
    return true;
}

}  // namespace mlk
