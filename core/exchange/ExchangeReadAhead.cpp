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
    : reader_(path), size_(reader_.Size()), batches_(kBatches) {
    items_.reserve(kExchangeItems);
    thread_ = std::thread([this] { Read(); });
}

ExchangeReadAhead::~ExchangeReadAhead() {
    batches_.Stop();
    thread_.join();
}

void ExchangeReadAhead::Read() {
    std::unique_ptr<Batch> batch;
    try {
        for (bool more = true; more;) {
            if (!(batch = batches_.Empty()))
                return;
            batch->records.clear();
            batch->text.clear();
            batch->ends.clear();
            while (batch->records.size() < kBatchRecords && (more = reader_.Next()))
                batch->Add(reader_);
            batches_.Fill(std::move(batch), !more);
        }
    } catch (...) {
        // The records before the bad one come first, then its error.
        batches_.Fill(std::move(batch), true, std::current_exception());
    }
}

bool ExchangeReadAhead::Next() {
    while (!batch_ || next_ == batch_->records.size()) {
        batch_ = batches_.Full(std::move(batch_));
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
