#include "exchange/vcard_exchange.h"

#include "common/input_file.h"
#include "common/text.h"
#include "data/database.h"
#include "data/records.h"
#include "data/table.h"
#include "exchange/part_file.h"
#include "exchange/record_adder.h"
#include "exchange/vcard_format.h"
#include "platform/prompter.h"

#include <algorithm>
#include <filesystem>
#include <map>

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
    std::map<std::string, int> dropped;  // what cards held beyond the fields, and how often
};

}  // namespace detail

namespace {

bool Has(const vcard::Property& p, std::string_view type)
{
    return std::find(p.types.begin(), p.types.end(), type) != p.types.end();
}

template <class Field>
void Put(Field& field, std::string_view value)
{
    field = text::Trim(value);
}

// The card's fields into the contact; the reason it cannot be one, empty when it can.
std::string ContactFromCard(const vcard::Card& card, data::ContactRecord& c, std::map<std::string, int>& dropped)
{
    const vcard::Property* version = card.first("VERSION");
    if (!version || (text::Trim(version->value) != "3.0" && text::Trim(version->value) != "4.0"))
        return "only vCard 3.0 and 4.0 are read (VERSION " +
               (version ? "\"" + std::string(text::CutToWidth(version->value, 10)) + "\"" : std::string("missing")) +
               ")";
    for (const vcard::Property& p : card.properties)
        for (const std::string& param : p.params)
            if (param.starts_with("ENCODING=") || param.starts_with("CHARSET="))
                return p.name + " is written in an encoding (" + param + ") vCard 3.0 and 4.0 do not use";
    if (const vcard::Property* n = card.first("N")) {
        const std::vector<std::string> parts = vcard::Components(n->value);
        Put(c.lastName, parts[0]);
        if (parts.size() > 1)
            Put(c.firstName, parts[1]);
    } else if (const vcard::Property* fn = card.first("FN")) {
        // The last word of the full name is taken for the last name.
        const std::string full(text::Trim(vcard::Unescape(fn->value)));
        const std::size_t blank = full.find_last_of(' ');
        Put(c.lastName, blank == std::string::npos ? full : full.substr(blank + 1));
        if (blank != std::string::npos)
            Put(c.firstName, full.substr(0, blank));
    }
    if (c.lastName.view().empty() && c.firstName.view().empty())
        return "the card has no name (N or FN)";

    bool address = false, email = false, web = false, category = false, notes = false;
    for (const vcard::Property& p : card.properties) {
        if (p.name == "ADR") {
            if (address) {
                ++dropped["a further address"];
                continue;
            }
            address = true;
            std::vector<std::string> a = vcard::Components(p.value);
            a.resize(7);
            Put(c.addressLine1, a[2]);
            Put(c.addressLine2, !a[1].empty() ? a[1] : a[0]);
            std::string place = a[3];
            for (std::size_t i : {4u, 6u})
                if (!a[i].empty())
                    place += (place.empty() ? "" : ", ") + a[i];
            Put(c.addressLine3, place);
            Put(c.postalCode, a[5]);
        } else if (p.name == "TEL") {
            const std::string number = vcard::Unescape(p.value);
            decltype(c.fax)* slot = nullptr;
            if (Has(p, "fax"))
                slot = &c.fax;
            else if (Has(p, "work"))
                slot = &c.workDayPhone;
            else if (Has(p, "home"))
                slot = &c.homeEveningPhone;
            if (!slot || !slot->view().empty())
                slot = c.otherPhone.view().empty() ? &c.otherPhone : nullptr;
            if (!slot) {
                ++dropped["a further phone"];
                continue;
            }
            Put(*slot, number.starts_with("tel:") ? number.substr(4) : number);
        } else if (p.name == "EMAIL") {
            if (email) {
                ++dropped["a further e-mail address"];
                continue;
            }
            email = true;
            Put(c.email, vcard::Unescape(p.value));
        } else if (p.name == "URL") {
            if (web) {
                ++dropped["a further web site"];
                continue;
            }
            web = true;
            Put(c.webSite, vcard::Unescape(p.value));
        } else if (p.name == "CATEGORIES") {
            if (category)
                continue;
            category = true;
            const std::string all = vcard::Unescape(p.value);
            Put(c.contactCategory, all.substr(0, all.find(',')));
            if (all.find(',') != std::string::npos)
                ++dropped["a further category"];
        } else if (p.name == "NOTE") {
            const std::string note = vcard::Unescape(p.value);
            c.notes = notes ? std::string(c.notes.view()) + "\n" + note : note;
            notes = true;
        } else if (p.name == "X-HRLN-USER") {
            Put(c.user, vcard::Unescape(p.value));
        }
    }
    return {};
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
            std::map<std::string, int> dropped;
            reason = ContactFromCard(card, sink_->adder.fresh(), dropped);
            if (reason.empty())
                reason = sink_->adder.add();
            if (reason.empty())
                for (const auto& [what, n] : dropped)
                    sink_->dropped[what] += n;
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
    for (const auto& [what, n] : sink_->dropped)
        summary_.notes.push_back(std::to_string(n) + " times " + what + " on a card was not kept: a contact has room for one");
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
