#pragma once

#include "data/database.h"

#include <chrono>

namespace hrln::script {

// One transaction over a batch: one commit instead of one per item. When
// another writer holds the file, the items are written one by one instead,
// each waiting its turn.
class BatchTransaction {
public:
    explicit BatchTransaction(data::Database& db) : db_(db)
    {
        own_ = !db_.inTransaction() && db_.begin(std::chrono::milliseconds(100)) == data::kOk;
    }
    ~BatchTransaction()
    {
        if (own_ && db_.commit() != data::kOk)
            db_.rollback();
    }
    BatchTransaction(const BatchTransaction&) = delete;
    BatchTransaction& operator=(const BatchTransaction&) = delete;

private:
    data::Database& db_;
    bool own_ = false;
};

}  // namespace hrln::script
