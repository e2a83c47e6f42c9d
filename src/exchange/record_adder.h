#pragma once

#include "data/records.h"
#include "data/table.h"

#include <map>
#include <string>

namespace hrln::exchange {

// Adds imported records one at a time through their table's own rules: the
// defaults a new record gets in its form, the form's checks, categories
// created as the forms create them, and a new ID or ClientID. Whatever one
// record's add wrote is undone when the record is refused, so a refused record
// leaves nothing behind. The caller holds the transaction around a batch and
// calls newBatch() after beginning it: within one transaction nobody else
// writes, so the next number and the categories met are looked up once per
// batch instead of once per record.
template <class R>
class RecordAdder {
public:
    explicit RecordAdder(data::Database& db) : table_(db) {}

    // Forgets what the last batch learnt: others may have written since.
    void newBatch() { batch_ = {}; }
    // A blank record with the defaults of a new one in its form.
    R& fresh();
    R& rec() { return table_.rec; }
    // Adds rec(); the reason it was refused, empty when it was added.
    std::string add();

    // What the batch knows of the table.
    struct Batch {
        data::Long nextNumber = 0;                     // the next ID or ClientID; 0 while unknown
        std::map<std::string, std::string> categories;  // upper case to the spelling stored
    };

private:
    data::Table<R> table_;
    Batch batch_;
};

extern template class RecordAdder<data::ScheduleRecord>;
extern template class RecordAdder<data::ContactRecord>;
extern template class RecordAdder<data::TodoRecord>;

}  // namespace hrln::exchange
