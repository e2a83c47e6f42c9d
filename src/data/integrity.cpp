#include "data/integrity.h"

#include "common/text.h"

#include <limits>
#include <tuple>
#include <type_traits>

namespace hrln::data {
namespace {

enum class Rule { Cascade, Restrict };

// One reference by value from the records of C to a record of P.
template <class P, class C, class V>
struct Relation {
    V P::*parentField;
    V C::*childField;
    int childKey;
    Rule rule;
};

// The relations of each parent, in the order they are followed.
auto RelationsOf(const ScheduleRecord*)
{
    return std::tuple{
        Relation<ScheduleRecord, ScriptingRecord, Long>{&ScheduleRecord::id, &ScriptingRecord::id,
                                                        ScriptingRecord::KeyID, Rule::Cascade},
        Relation<ScheduleRecord, LinkRecord, Long>{&ScheduleRecord::id, &LinkRecord::id, LinkRecord::KeySchedule,
                                                   Rule::Cascade},
    };
}

auto RelationsOf(const ContactRecord*)
{
    return std::tuple{Relation<ContactRecord, LinkRecord, Long>{&ContactRecord::clientId, &LinkRecord::clientId,
                                                                LinkRecord::KeyClient, Rule::Cascade}};
}

auto RelationsOf(const ContactCategoryRecord*)
{
    return std::tuple{Relation<ContactCategoryRecord, ContactRecord, FixedText<20>>{
        &ContactCategoryRecord::contactCategory, &ContactRecord::contactCategory, ContactRecord::KeyCategory,
        Rule::Restrict}};
}

auto RelationsOf(const CategoryRecord*)
{
    return std::tuple{Relation<CategoryRecord, ScheduleRecord, FixedText<20>>{
        &CategoryRecord::category, &ScheduleRecord::category, ScheduleRecord::KeyCategory, Rule::Restrict}};
}

// Scripting, Link, Todo and Clipboard have no children.
template <class R>
std::tuple<> RelationsOf(const R*)
{
    return {};
}

// Linking values compare as their keys do.
bool Same(Long a, Long b)
{
    return a == b;
}

template <int W>
bool Same(const FixedText<W>& a, const FixedText<W>& b)
{
    return text::EqualNoCase(a.view(), b.view());
}

bool IsEmpty(Long v)
{
    return v == 0;
}

template <int W>
bool IsEmpty(const FixedText<W>& v)
{
    return v.empty();
}

// Positions `child` on `key` at `value`, the key's other components at their
// lowest, so that next() reads the first child holding `value`.
template <class C, class V>
void PositionAt(Table<C>& child, int key, V C::*field, const V& value)
{
    child.clear();
    const KeyDef& def = child.schema().key(key);
    int column = 0;
    C::fields(child.rec, [&](const char*, auto& f) {
        using T = std::remove_cvref_t<decltype(f)>;
        if constexpr (std::is_integral_v<T>) {
            for (const int c : def.columns)
                if (c == column)
                    f = std::numeric_limits<T>::min();
        }
        ++column;
    });
    child.rec.*field = value;
    child.setFrom(key);
}

// The transaction of one operation: its own, or a savepoint inside the one the
// caller holds open.
class Frame {
public:
    explicit Frame(Database& db) : db_(db) {}
    int start(std::chrono::milliseconds wait)
    {
        nested_ = db_.inTransaction();
        return nested_ ? db_.savepoint() : db_.begin(wait);
    }
    int commit() { return nested_ ? db_.releaseSavepoint() : db_.commit(); }
    void rollback() { nested_ ? db_.rollbackToSavepoint() : db_.rollback(); }

private:
    Database& db_;
    bool nested_ = false;
};

IntegrityResult Failed(int error, IntegrityStep step, const TableSchema& table)
{
    return {error, step, &table};
}

// Deletes every child of one cascade, or refuses for a restrict.
template <class P, class C, class V>
IntegrityResult OnDelete(Database& db, const Relation<P, C, V>& relation, const V& value)
{
    Table<C> child(db);
    child.seePlaceholders();  // an item being added to a deleted task goes with it
    PositionAt(child, relation.childKey, relation.childField, value);
    while (child.next() == kOk && Same(child.rec.*relation.childField, value)) {
        if (relation.rule == Rule::Restrict)
            return Failed(kReferenced, IntegrityStep::Restricted, child.schema());
        if (const int err = child.remove(); err != kOk)
            return Failed(err, IntegrityStep::ChildWrite, child.schema());
    }
    if (child.error() != kOk && child.error() != kRecordNotAvailable)
        return Failed(child.error(), IntegrityStep::ChildRead, child.schema());
    return {};
}

// Gives every child holding `from` the value `to` for a cascade, or refuses for
// a restrict.
template <class P, class C, class V>
IntegrityResult OnChange(Database& db, const Relation<P, C, V>& relation, const V& from, const V& to)
{
    Table<C> child(db);
    child.seePlaceholders();
    PositionAt(child, relation.childKey, relation.childField, from);
    // A rewritten child leaves the run of `from`; the cursor goes on after its old place.
    while (child.next() == kOk && Same(child.rec.*relation.childField, from)) {
        if (relation.rule == Rule::Restrict)
            return Failed(kReferenced, IntegrityStep::Restricted, child.schema());
        child.rec.*relation.childField = to;
        if (const int err = child.put(); err != kOk)
            return Failed(err, IntegrityStep::ChildWrite, child.schema());
    }
    if (child.error() != kOk && child.error() != kRecordNotAvailable)
        return Failed(child.error(), IntegrityStep::ChildRead, child.schema());
    return {};
}

// Calls `each` on every relation of `relations` until one fails.
template <class Tuple, class F>
IntegrityResult ForEachRelation(const Tuple& relations, F&& each)
{
    IntegrityResult result;
    std::apply([&](const auto&... relation) { ((result.ok() ? (void)(result = each(relation)) : void()), ...); },
               relations);
    return result;
}

}  // namespace

template <class R>
IntegrityResult IntegrityDelete(Table<R>& table, std::chrono::milliseconds wait)
{
    Database& db = table.database();
    Frame frame(db);
    if (const int err = frame.start(wait); err != kOk)
        return Failed(err, IntegrityStep::Transaction, table.schema());
    if (const int err = table.reread(); err != kOk) {
        frame.rollback();
        return Failed(err, IntegrityStep::Fetch, table.schema());
    }
    const TableBase::Hold held = table.hold();
    const auto fail = [&](IntegrityResult result) {
        frame.rollback();
        table.restore(held);
        return result;
    };

    const R& parent = table.rec;
    const IntegrityResult children = ForEachRelation(RelationsOf(&parent), [&](const auto& relation) {
        const auto& value = parent.*relation.parentField;
        return IsEmpty(value) ? IntegrityResult{} : OnDelete(db, relation, value);
    });
    if (!children.ok())
        return fail(children);
    if (const int err = table.remove(); err != kOk)
        return fail(Failed(err, IntegrityStep::Delete, table.schema()));
    if (const int err = frame.commit(); err != kOk)
        return fail(Failed(err, IntegrityStep::Transaction, table.schema()));
    return {};
}

template <class R>
IntegrityResult IntegrityUpdate(Table<R>& table, const R& saved, std::chrono::milliseconds wait)
{
    Database& db = table.database();
    Frame frame(db);
    if (const int err = frame.start(wait); err != kOk)
        return Failed(err, IntegrityStep::Transaction, table.schema());
    const TableBase::Hold held = table.hold();
    if (const int err = table.put(); err != kOk) {
        // Show what the other station wrote, with the hold on its version:
        // a further save is then made knowingly over it.
        if (err == kRecordChanged)
            table.reread();
        frame.rollback();
        return Failed(err, IntegrityStep::Write, table.schema());
    }
    const auto fail = [&](IntegrityResult result) {
        frame.rollback();
        table.restore(held);
        return result;
    };

    R& parent = table.rec;
    const IntegrityResult children = ForEachRelation(RelationsOf(&parent), [&](const auto& relation) {
        const auto& from = saved.*relation.parentField;
        auto& to = parent.*relation.parentField;
        if (Same(from, to) || IsEmpty(from))
            return IntegrityResult{};
        IntegrityResult result = OnChange(db, relation, from, to);
        if (result.step == IntegrityStep::Restricted)
            to = from;
        return result;
    });
    if (!children.ok())
        return fail(children);
    if (const int err = frame.commit(); err != kOk)
        return fail(Failed(err, IntegrityStep::Transaction, table.schema()));
    return {};
}

#define HRLN_INTEGRITY(R)                                                                  \
    template IntegrityResult IntegrityDelete<R>(Table<R>&, std::chrono::milliseconds); \
    template IntegrityResult IntegrityUpdate<R>(Table<R>&, const R&, std::chrono::milliseconds);
HRLN_INTEGRITY(ScheduleRecord)
HRLN_INTEGRITY(ScriptingRecord)
HRLN_INTEGRITY(LinkRecord)
HRLN_INTEGRITY(ContactRecord)
HRLN_INTEGRITY(ContactCategoryRecord)
HRLN_INTEGRITY(CategoryRecord)
HRLN_INTEGRITY(TodoRecord)
HRLN_INTEGRITY(ClipboardRecord)
#undef HRLN_INTEGRITY

}  // namespace hrln::data
