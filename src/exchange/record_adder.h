#pragma once

#include "data/records.h"
#include "data/staged_records.h"

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace hrln::exchange {

// Adds imported records through their table's own rules: the defaults a new
// record gets in its form, the form's checks, categories created as the forms
// create them, and a new ID or ClientID. Each record is checked as it comes
// and kept aside; store() then adds every record kept in one transaction, so
// an import is all in or, when the database cannot take it, not in at all,
// and the table's keys are written once instead of once per batch.
template <class R>
class RecordAdder {
public:
    explicit RecordAdder(data::Database& db) : kept_(db) {}

    // A blank record with the defaults of a new one in its form.
    R& fresh();
    R& rec() { return rec_; }
    // Checks rec() and keeps it; the reason it was refused, empty when kept.
    // A record kept with the identity of one in the table is written over it
    // (see data::StagedRecords::moveToTable).
    std::string add(std::string_view identity = {});
    // Adds the records kept in one transaction of its own, with the
    // categories they name and new numbers: kOk, or the error, nothing added
    // and the records still kept.
    int store();
    // Records added by store() so far, and records of the table written over.
    int stored() const { return stored_; }
    int updated() const { return updated_; }
    // Records left out for a later one with the same identity.
    int repeated() const { return repeated_; }
    // Whether the records kept went with a connection closed since.
    bool lost() const { return kept_.lost(); }

private:
    data::StagedRecords<R> kept_;
    R rec_;
    int stored_ = 0;
    int updated_ = 0;
    int repeated_ = 0;
    // Each category's spellings met, in the order met.
    std::vector<std::string> spellings_;
    std::unordered_set<std::string> spelt_;
};

// The words for a store() that failed, for an import's summary: the file
// system's own reason ("No space left on device (28)") when it refused.
std::string StoreFailureText(int err, const data::Database& db);

extern template class RecordAdder<data::ScheduleRecord>;
extern template class RecordAdder<data::ContactRecord>;
extern template class RecordAdder<data::TodoRecord>;

}  // namespace hrln::exchange
