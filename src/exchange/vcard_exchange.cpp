#include "exchange/vcard_exchange.h"

#include "common/input_file.h"
#include "common/text.h"
#include "data/database.h"
#include "data/records.h"
#include "data/table.h"
#include "exchange/exact_text.h"
#include "exchange/part_file.h"
#include "exchange/record_adder.h"
#include "exchange/vcard_format.h"
#include "platform/prompter.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <set>

namespace hrln::exchange {

using vcard::Escape;

class VCardExportJob::Source {
public:
    explicit Source(data::Database& db) : table(db) { table.set(data::ContactRecord::KeyClientID); }
    data::Table<data::ContactRecord> table;
};

namespace {

std::string Clipped(std::string_view s)
{
    return std::string(text::Clip(s));
}

std::string Card(const data::ContactRecord& c, VCardVersion version)
{
    vcard::CardWriter w;
    w.line("BEGIN", "VCARD");
    w.line("VERSION", version == VCardVersion::V4 ? "4.0" : "3.0");
    std::string full = Clipped(c.firstName.view());
    if (!c.lastName.view().empty())
        full += (full.empty() ? "" : " ") + Clipped(c.lastName.view());
    w.line("FN", Escape(full));
    w.line("N", Escape(c.lastName.view()) + ";" + Escape(c.firstName.view()) + ";;;");
    if (!c.addressLine1.view().empty() || !c.addressLine2.view().empty() || !c.addressLine3.view().empty() ||
        !c.postalCode.view().empty())
        // PO box; extended address; street; locality; region; postal code; country.
        w.line("ADR", ";" + Escape(c.addressLine2.view()) + ";" + Escape(c.addressLine1.view()) + ";" +
                          Escape(c.addressLine3.view()) + ";;" + Escape(c.postalCode.view()) + ";");
    const bool v4 = version == VCardVersion::V4;
    auto phone = [&](std::string_view number, const char* types) {
        if (!number.empty())
            w.line(std::string("TEL;TYPE=") + (v4 ? "\"" : "") + types + (v4 ? "\"" : ""), Escape(number));
    };
    phone(c.workDayPhone.view(), "work,voice");
    phone(c.homeEveningPhone.view(), "home,voice");
    phone(c.fax.view(), "fax");
    phone(c.otherPhone.view(), "voice");
    if (!c.email.view().empty())
        w.line("EMAIL", Escape(c.email.view()));
    if (!c.webSite.view().empty())
        w.line("URL", std::string(c.webSite.view()));  // a URI, not escaped text
    if (!c.contactCategory.view().empty())
        w.line("CATEGORIES", Escape(c.contactCategory.view()));
    if (!c.notes.view().empty())
        w.line("NOTE", Escape(c.notes.view()));
    if (!c.user.view().empty())
        w.line("X-HRLN-USER", Escape(c.user.view()));
    // Blanks before a value and CRs of a line end travel in a property of our own.
    data::ContactRecord::fields(c, [&](const char* name, const auto& field) {
        if constexpr (!std::is_integral_v<std::remove_cvref_t<decltype(field)>>)
            if (exact::Needed(field.view()))
                w.line(exact::PropertyName(name), exact::Encode(field.view()));
    });
    w.line("END", "VCARD");
    return w.take();
}

}  // namespace

VCardExportJob::VCardExportJob(data::Database& db, std::string path, VCardVersion version,
                               platform::Prompter& prompter)
    : db_(db), path_(std::move(path)), version_(version), prompter_(prompter)
{
}

VCardExportJob::~VCardExportJob() = default;

bool VCardExportJob::refuse(const std::string& text)
{
    ok_ = false;
    prompter_.ask({text, "Export", platform::MessageIcon::Exclamation});
    return false;
}

bool VCardExportJob::begin()
{
    source_ = std::make_unique<Source>(db_);
    file_ = std::make_unique<PartFile>(path_);
    if (const std::string reason = file_->open(); !reason.empty())
        return refuse("Could not create " + path_ + ": " + reason + ".");
    total_ = source_->table.count();
    return true;
}

bool VCardExportJob::step(int count)
{
    for (int i = 0; i < count; ++i) {
        if (source_->table.next() != data::kOk)
            return false;
        if (!file_->write(Card(source_->table.rec, version_)))
            return false;  // the disk is full: end() says so
        ++written_;
    }
    return true;
}

int VCardExportJob::percent() const
{
    return PercentDone(written_, total_);
}

void VCardExportJob::end(bool)
{
    if (!file_)
        return;
    // A cancelled export keeps the cards done.
    if (const std::string reason = file_->commit(); !reason.empty())
        refuse("Could not write " + path_ + ": " + reason + ".");
}

namespace {

// What cards held that the contact did not keep, by what it was, and how often.
struct Dropped {
    std::map<std::string, int> further;  // a second of what the contact has one of
    std::map<std::string, int> noField;  // what the contact has no field for
    std::map<std::string, int> cut;      // values longer than their field, by field
    std::map<std::string, int> unread;   // values left out whole, with why
};

}  // namespace

namespace detail {

// The import itself, on the thread of its VCardImportJob: the cards read and
// checked a batch at a time and kept aside, then stored together when it ends.
class VCardImportWork : public ImportWork {
public:
    VCardImportWork(data::Database& db, std::string path, platform::Prompter& prompter)
        : ImportWork(db, std::move(path), prompter)
    {
    }
    ~VCardImportWork() override;

    std::string description() const override { return "Importing Contacts"; }
    bool begin() override;
    bool step(int count) override;
    int percent() const override;
    void end(bool cancelled) override;

    class Sink;

private:
    void dropInput() override;

    std::unique_ptr<Sink> sink_;
};

class VCardImportWork::Sink {
public:
    explicit Sink(data::Database& db) : adder(db) {}
    std::ifstream in;
    std::unique_ptr<vcard::CardReader> reader;
    std::ofstream rejected;
    RecordAdder<data::ContactRecord> adder;
    Dropped dropped;  // what the cards stored held beyond the fields
};

}  // namespace detail

namespace {

bool Has(const vcard::Property& p, std::string_view type)
{
    return std::find(p.types.begin(), p.types.end(), type) != p.types.end();
}

template <class Field>
void Put(Field& field, std::string_view value, const char* name, Dropped& dropped)
{
    const std::string_view whole = text::Clip(text::Trim(value));
    field = whole;
    if (field.view().size() < whole.size())
        ++dropped.cut[name];
}

// What a contact has no field for, as the summary names it; nothing for the
// properties that only describe the card itself or repeat another one.
std::optional<std::string> NoField(std::string_view name)
{
    static const std::map<std::string_view, const char*> kNamed = {
        {"PHOTO", "a photo (PHOTO)"},
        {"LOGO", "a logo (LOGO)"},
        {"SOUND", "a sound (SOUND)"},
        {"KEY", "a key (KEY)"},
        {"ORG", "an organisation (ORG)"},
        {"TITLE", "a job title (TITLE)"},
        {"ROLE", "a role (ROLE)"},
        {"BDAY", "a birthday (BDAY)"},
        {"ANNIVERSARY", "an anniversary (ANNIVERSARY)"},
        {"NICKNAME", "a nickname (NICKNAME)"},
        {"GEO", "a position (GEO)"},
        {"TZ", "a time zone (TZ)"},
        {"IMPP", "a messaging address (IMPP)"},
        {"GENDER", "a gender (GENDER)"},
        {"RELATED", "a relation (RELATED)"},
        {"AGENT", "an agent (AGENT)"},
        {"MEMBER", "a group member (MEMBER)"},
    };
    // The card's own bookkeeping, and LABEL, which repeats ADR as printed.
    static const std::set<std::string_view> kSilent = {
        "BEGIN", "END", "VERSION", "PRODID", "REV", "UID", "KIND", "LABEL", "SORT-STRING", "SOURCE",
        "NAME", "CLASS", "MAILER", "PROFILE", "CLIENTPIDMAP", "XML", "LANG"};
    if (name.starts_with("X-") || kSilent.count(name))
        return std::nullopt;
    if (const auto named = kNamed.find(name); named != kNamed.end())
        return named->second;
    return "a " + std::string(name) + " property";
}

// A tel: URI (RFC 3966) as a phone number: its extension written after it
// when the field holds both, else left out and said.
std::string PhoneNumber(const std::string& value, std::size_t width, Dropped& dropped)
{
    if (!value.starts_with("tel:"))
        return value;
    const std::string uri = value.substr(4);
    const std::size_t semicolon = uri.find(';');
    const std::string number = uri.substr(0, semicolon);
    if (semicolon == std::string::npos)
        return number;
    std::string extension;
    std::size_t at = semicolon;
    while (at != std::string::npos) {
        const std::size_t next = uri.find(';', at + 1);
        const std::string param = uri.substr(at + 1, next == std::string::npos ? std::string::npos : next - at - 1);
        if (param.size() > 4 && (param.starts_with("ext=") || param.starts_with("EXT=")))
            extension = param.substr(4);
        at = next;
    }
    if (extension.empty())
        return number;
    const std::string whole = number + " x" + extension;
    if (text::CutToWidth(whole, width).size() == whole.size())
        return whole;
    ++dropped.unread["A phone extension that did not fit the phone field was left out"];
    return number;
}

// The card's fields into the contact; the reason it cannot be one, empty when it can.
std::string ContactFromCard(const vcard::Card& card, data::ContactRecord& c, Dropped& dropped)
{
    const vcard::Property* version = card.first("VERSION");
    const std::string_view v = version ? text::Trim(version->value) : std::string_view();
    if (v != "2.1" && v != "3.0" && v != "4.0")
        return "only vCard 2.1, 3.0 and 4.0 are read (VERSION " +
               (version ? "\"" + std::string(text::CutToWidth(version->value, 10)) + "\"" : std::string("missing")) +
               ")";
    auto readable = [](const vcard::Property* p) { return p && p->unreadable.empty() && !p->binary; };
    const vcard::Property* n = card.first("N");
    const vcard::Property* fn = card.first("FN");
    const vcard::Property* org = card.first("ORG");
    bool orgIsName = false;
    if (readable(n)) {
        const std::vector<std::string> parts = vcard::Components(n->value);
        Put(c.lastName, parts[0], "LastName", dropped);
        if (parts.size() > 1)
            Put(c.firstName, parts[1], "FirstName", dropped);
    }
    if (c.lastName.view().empty() && c.firstName.view().empty()) {
        // A company's card has no person's name: the company's stands whole
        // as the last name, as a person's full name is split.
        const std::string full(text::Trim(readable(fn) ? vcard::Unescape(fn->value) : std::string()));
        const std::string company(text::Trim(readable(org) ? vcard::Components(org->value)[0] : std::string()));
        const vcard::Property* kind = card.first("KIND");
        const vcard::Property* showAs = card.first("X-ABSHOWAS");
        const bool isCompany = (!company.empty() && (full.empty() || full == company)) ||
                               (kind && text::ToUpper(text::Trim(kind->value)) == "ORG") ||
                               (showAs && text::ToUpper(text::Trim(showAs->value)) == "COMPANY");
        if (isCompany) {
            Put(c.lastName, full.empty() ? company : full, "LastName", dropped);
            orgIsName = !company.empty() && (full.empty() || full == company);
        } else {
            // The last word of the full name is taken for the last name.
            const std::size_t blank = full.find_last_of(' ');
            Put(c.lastName, blank == std::string::npos ? full : full.substr(blank + 1), "LastName", dropped);
            if (blank != std::string::npos)
                Put(c.firstName, full.substr(0, blank), "FirstName", dropped);
        }
    }
    if (c.lastName.view().empty() && c.firstName.view().empty())
        return "the card has no name (N, FN or ORG)";

    bool address = false, email = false, web = false, category = false, notes = false;
    for (const vcard::Property& p : card.properties) {
        if (p.name == "N" || p.name == "FN" || (p.name == "ORG" && orgIsName))
            continue;
        static const std::set<std::string_view> kKept = {"ADR", "TEL", "EMAIL", "URL", "CATEGORIES", "NOTE",
                                                         "X-HRLN-USER"};
        if (!kKept.count(p.name)) {
            if (const std::optional<std::string> what = NoField(p.name))
                ++dropped.noField[*what];
            continue;
        }
        if (p.binary) {
            ++dropped.unread["A " + p.name + " value given as binary data was not read"];
            continue;
        }
        if (!p.unreadable.empty()) {
            ++dropped.unread["A " + p.name + " value in an encoding or character set not read (" + p.unreadable +
                             ") was left out"];
            continue;
        }
        if (p.name == "ADR") {
            if (address) {
                ++dropped.further["a further address"];
                continue;
            }
            address = true;
            std::vector<std::string> a = vcard::Components(p.value);
            a.resize(7);
            Put(c.addressLine1, a[2], "AddressLine1", dropped);
            Put(c.addressLine2, !a[1].empty() ? a[1] : a[0], "AddressLine2", dropped);
            std::string place = a[3];
            for (std::size_t i : {4u, 6u})
                if (!a[i].empty())
                    place += (place.empty() ? "" : ", ") + a[i];
            Put(c.addressLine3, place, "AddressLine3", dropped);
            Put(c.postalCode, a[5], "PostalCode", dropped);
        } else if (p.name == "TEL") {
            decltype(c.fax)* slot = nullptr;
            const char* field = "OtherPhone";
            if (Has(p, "fax"))
                slot = &c.fax, field = "Fax";
            else if (Has(p, "work"))
                slot = &c.workDayPhone, field = "WorkDayPhone";
            else if (Has(p, "home"))
                slot = &c.homeEveningPhone, field = "HomeEveningPhone";
            if (!slot || !slot->view().empty()) {
                slot = c.otherPhone.view().empty() ? &c.otherPhone : nullptr;
                field = "OtherPhone";
            }
            if (!slot) {
                ++dropped.further["a further phone"];
                continue;
            }
            Put(*slot, PhoneNumber(vcard::Unescape(p.value), decltype(c.fax)::kWidth, dropped), field,
                dropped);
        } else if (p.name == "EMAIL") {
            if (email) {
                ++dropped.further["a further e-mail address"];
                continue;
            }
            email = true;
            Put(c.email, vcard::Unescape(p.value), "Email", dropped);
        } else if (p.name == "URL") {
            if (web) {
                ++dropped.further["a further web site"];
                continue;
            }
            web = true;
            Put(c.webSite, vcard::Unescape(p.value), "WebSite", dropped);
        } else if (p.name == "CATEGORIES") {
            if (category)
                continue;
            category = true;
            const std::string all = vcard::Unescape(p.value);
            Put(c.contactCategory, all.substr(0, all.find(',')), "ContactCategory", dropped);
            if (all.find(',') != std::string::npos)
                ++dropped.further["a further category"];
        } else if (p.name == "NOTE") {
            const std::string note = vcard::Unescape(p.value);
            const std::string whole = notes ? std::string(c.notes.view()) + "\n" + note : note;
            c.notes = whole;
            if (c.notes.view().size() < whole.size())
                ++dropped.cut["Notes"];
            notes = true;
        } else if (p.name == "X-HRLN-USER") {
            Put(c.user, vcard::Unescape(p.value), "User", dropped);
        }
    }
    // A value this program wrote whole, while the card still says it.
    data::ContactRecord::fields(c, [&](const char* name, auto& field) {
        if constexpr (!std::is_integral_v<std::remove_cvref_t<decltype(field)>>)
            if (const vcard::Property* p = card.first(exact::PropertyName(name)); p && p->unreadable.empty())
                field = exact::Choose(field.view(), p->value.c_str());
    });
    return {};
}

std::string Capital(std::string text)
{
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z')
        text[0] = static_cast<char>(text[0] - 'a' + 'A');
    return text;
}

std::string Times(int n)
{
    return n == 1 ? "once" : std::to_string(n) + " times";
}

}  // namespace

namespace detail {

VCardImportWork::~VCardImportWork() = default;

void VCardImportWork::dropInput()
{
    sink_.reset();
}

bool VCardImportWork::begin()
{
    sink_ = std::make_unique<Sink>(db_);
    if (const std::string reason = OpenInputFile(path_, sink_->in, size_); !reason.empty())
        return refuse("Could not open " + path_ + ": " + reason + ".");
    std::error_code ec;
    sink_->reader = std::make_unique<vcard::CardReader>(sink_->in);
    std::filesystem::remove(RejectedPathFor(path_, ".vcf"), ec);
    return true;
}

bool VCardImportWork::step(int count)
{
    if (sink_->adder.lost()) {
        summary_.failure = StoreFailureText(data::kFileNotOpen, db_);
        return false;
    }
    if (const int err = db_.begin(); err != data::kOk) {
        summary_.failure = StoreFailureText(err, db_);
        return false;
    }
    bool more = true;
    vcard::Card card;
    for (int i = 0; i < count; ++i) {
        if (!sink_->reader->next(card)) {
            more = false;
            break;
        }
        std::string reason = card.error;
        if (reason.empty()) {
            Dropped dropped;
            reason = ContactFromCard(card, sink_->adder.fresh(), dropped);
            if (reason.empty())
                reason = sink_->adder.add();
            if (reason.empty()) {
                for (const auto& [what, n] : dropped.further)
                    sink_->dropped.further[what] += n;
                for (const auto& [what, n] : dropped.noField)
                    sink_->dropped.noField[what] += n;
                for (const auto& [what, n] : dropped.cut)
                    sink_->dropped.cut[what] += n;
                for (const auto& [what, n] : dropped.unread)
                    sink_->dropped.unread[what] += n;
            }
        }
        if (reason.empty())
            continue;
        summary_.rejected.push_back({card.line, std::move(reason), {}});
        if (!sink_->rejected.is_open()) {
            summary_.rejectedPath = RejectedPathFor(path_, ".vcf");
            sink_->rejected.open(summary_.rejectedPath, std::ios::binary | std::ios::trunc);
        }
        sink_->rejected << card.text;
        if (!card.text.ends_with("END:VCARD\r\n"))
            sink_->rejected << "END:VCARD\r\n";
    }
    if (const int err = db_.commit(); err != data::kOk) {
        db_.rollback();
        summary_.failure = StoreFailureText(err, db_);
        return false;
    }
    return more;
}

int VCardImportWork::percent() const
{
    return sink_ && sink_->reader ? PercentDone(static_cast<std::int64_t>(sink_->reader->bytesRead()),
                                                static_cast<std::int64_t>(size_))
                                  : 0;
}

void VCardImportWork::end(bool cancelled)
{
    summary_.cancelled = cancelled;
    if (!sink_)
        return;
    // What was read goes in, also when cancelled or stopped by a failure.
    if (const int err = sink_->adder.store(); err != data::kOk && summary_.failure.empty())
        summary_.failure = StoreFailureText(err, db_);
    summary_.added = sink_->adder.stored();
    for (const auto& [what, n] : sink_->dropped.further)
        summary_.notes.push_back(Capital(what) + " on a card was not kept (" + Times(n) +
                                 "): a contact has room for one");
    for (const auto& [what, n] : sink_->dropped.noField)
        summary_.notes.push_back(Capital(what) + " on a card was not kept (" + Times(n) +
                                 "): a contact has no field for it");
    for (const auto& [field, n] : sink_->dropped.cut)
        summary_.notes.push_back("A value longer than the contact's " + field + " field was cut (" + Times(n) + ")");
    for (const auto& [what, n] : sink_->dropped.unread)
        summary_.notes.push_back(what + " (" + Times(n) + ")");
    if (sink_->reader && !sink_->reader->sawCard() && summary_.failure.empty() && !cancelled)
        summary_.failure = path_ + " holds no vCard (BEGIN:VCARD ... END:VCARD)";
    if (sink_->rejected.is_open())
        sink_->rejected.close();
    // The contacts kept live on the job's connection: they go before it does.
    sink_.reset();
}

}  // namespace detail

VCardImportJob::VCardImportJob(data::Database& db, std::string path, platform::Prompter& prompter)
    : ImportOnThread(db, prompter, path)
{
    setImport(std::make_unique<detail::VCardImportWork>(connection(), std::move(path), messages()));
}

VCardImportJob::~VCardImportJob() = default;

}  // namespace hrln::exchange
