#pragma once

#include "data/table.h"
#include "pim/record_operations.h"
#include "pim/record_warnings.h"

#include <cstdint>
#include <functional>
#include <string>
#include <variant>
#include <vector>

namespace hrln::pim {

// What a window is opened to do with a record, and how it ended.
enum class Request { Insert, Change, Delete, Select };
enum class Response { None, Completed, Cancelled };

// The rules of one form that its window does not decide: titles, the values of
// a new record, validation and how a duplicate key is named.
template <class R>
struct FormRules {
    std::string insertTitle;  // "Adding a Categories Record"
    std::string changeTitle;  // "Changing a Categories Record"
    std::function<void(R&)> defaults = {};
    // The field that fails (its number in the record), after its message; -1 when all pass.
    std::function<int(R&, RecordWarnings&)> validate = {};
    // How the form names a unique key when a write would duplicate it, and
    // which field the focus returns to. Keys not listed go by their own name
    // and the first field.
    struct KeyName {
        int key;
        std::string name;
        int field = 0;
    };
    std::vector<KeyName> keyNames = {};
    // An insert adds the new record at once (so that children can refer to it
    // while the form is open) and overwrites it on OK.
    bool placeholder = false;
    // How the placeholder is added (a table with numbered records reserves its
    // next number here); a plain add when empty.
    std::function<int(data::Table<R>&)> addPlaceholder = {};
    // How a cancelled insert's placeholder goes (a record children were given
    // meanwhile takes them along); a plain delete when empty.
    std::function<void(data::Table<R>&)> removePlaceholder = {};
};

// Whether two records hold the same values in every field.
template <class R>
bool SameRecord(const R& a, const R& b)
{
    return data::RecordValues(a) == data::RecordValues(b);
}

// What a form's window asks of its form, whatever the record.
class FormControl {
public:
    // What the window does after OK: close with the response, or stay with the
    // focus on `focusField`.
    struct Outcome {
        bool close = false;
        int focusField = 0;
    };
    virtual ~FormControl() = default;
    virtual Request request() const = 0;
    virtual Response response() const = 0;
    virtual std::string title() const = 0;
    virtual Outcome complete() = 0;
    virtual void cancel() = 0;
};

// The insert, change and delete requests every record form shares, on the
// form's own record buffer: the copy taken at opening, the placeholder of an
// insert, the write through the table's update operation.
template <class R>
class RecordForm : public FormControl {
public:
    RecordForm(data::Table<R>& table, RecordWarnings& warnings, Request request, FormRules<R> rules)
        : table_(table), warnings_(warnings), request_(request), rules_(std::move(rules))
    {
    }

    Request request() const override { return request_; }
    Response response() const override { return response_; }
    R& record() { return table_.rec; }
    const R& original() const { return copy_; }
    std::string title() const override { return request_ == Request::Insert ? rules_.insertTitle : rules_.changeTitle; }

    // Prepares the buffer: for an insert the defaults applied to `start` (a
    // blank record, or a record being copied), for the other requests the
    // record with row id `rowid` in `key`. False when the form cannot open
    // (the user has been told).
    bool open(int key = 0, std::int64_t rowid = 0, const R* start = nullptr)
    {
        if (request_ == Request::Insert) {
            table_.clear();
            if (start != nullptr)
                table_.rec = *start;
            if (rules_.defaults)
                rules_.defaults(table_.rec);
            if (rules_.placeholder) {
                // Stored with its key alone and marked as this station's: no
                // list shows it, and the next start after a crash removes it.
                table_.placeholderAdds(true);
                const int err = rules_.addPlaceholder ? rules_.addPlaceholder(table_) : table_.add();
                table_.placeholderAdds(false);
                if (err != data::kOk) {
                    warnings_.addError(R::schema().name(), err);
                    return false;
                }
                placed_ = true;
            }
        } else if (const int err = table_.reget(key, rowid); err != data::kOk) {
            warnings_.fetchError(R::schema().name(), err);
            return false;
        }
        keepAsRead();
        return true;
    }

    // Whether the buffer differs from the record as it was opened.
    bool changed() const { return !SameRecord(table_.rec, copy_); }

    // OK: a delete is confirmed and done; an insert or change is validated and
    // written. An unchanged record is not written.
    Outcome complete() override
    {
        if (request_ == Request::Select)
            return finish(Response::Completed);
        if (request_ == Request::Delete) {
            if (!warnings_.confirmDelete())
                return finish(Response::Cancelled);
            return DeleteRecord(table_, warnings_) == 0 ? finish(Response::Completed) : finish(Response::Cancelled);
        }
        if (rules_.validate) {
            if (const int field = rules_.validate(table_.rec, warnings_); field >= 0)
                return {false, field};
        }
        if (request_ == Request::Change) {
            if (!changed())
                return finish(Response::Completed);
            const std::int64_t version = table_.hold().version;
            const FormUpdate written = UpdateRecordFromForm(table_, links_, warnings_);
            if (written == FormUpdate::CloseWithoutSaving)
                return finish(Response::Cancelled);
            if (written != FormUpdate::Saved) {
                // The buffer shows what stands now. Another station's values
                // (read anew, so under a new version) are the form's new start;
                // after a restrict the user's other changes stay to be saved.
                if (table_.hold().version != version)
                    keepAsRead();
                return {false, 0};
            }
            keepAsRead();
            return finish(Response::Completed);
        }
        const int err = placed_ ? table_.put() : table_.add();
        if (err == data::kOk) {
            placed_ = false;
            return finish(Response::Completed);
        }
        if (err == data::kDuplicateKey) {
            const auto [name, field] = duplicatedKey();
            warnings_.duplicateKey(name);
            return {false, field};
        }
        warnings_.updateError(R::schema().name(), err);
        return {false, 0};
    }

    // Any close but OK: the placeholder of an insert goes, nothing is written.
    void cancel() override
    {
        if (placed_) {
            if (rules_.removePlaceholder)
                rules_.removePlaceholder(table_);
            else
                table_.remove();
            placed_ = false;
        }
        if (response_ == Response::None)
            response_ = Response::Cancelled;
    }

private:
    void keepAsRead()
    {
        copy_ = table_.rec;
        links_ = SaveLinks(table_.rec);
    }

    Outcome finish(Response response)
    {
        response_ = response;
        return {true, 0};
    }

    std::pair<std::string, int> duplicatedKey()
    {
        const auto& keys = R::schema().keys();
        for (std::size_t k = 0; k < keys.size(); ++k) {
            if (!keys[k].unique || !table_.duplicate(static_cast<int>(k)))
                continue;
            for (const auto& named : rules_.keyNames)
                if (named.key == static_cast<int>(k))
                    return {named.name, named.field};
            return {keys[k].name, 0};
        }
        return {keys.empty() ? std::string() : keys.front().name, 0};
    }

    data::Table<R>& table_;
    RecordWarnings& warnings_;
    Request request_;
    FormRules<R> rules_;
    R copy_{};
    LinkValues<R> links_{};
    bool placed_ = false;
    Response response_ = Response::None;
};

}  // namespace hrln::pim
