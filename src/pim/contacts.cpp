#include "pim/contacts.h"

#include "common/translate.h"
#include "data/integrity.h"
#include "data/schedule_store.h"

namespace hrln::pim {
namespace {

using data::ContactRecord;
using data::LinkRecord;

// Marks that turn the text after them around or hide it: embeddings,
// overrides and isolates.
bool DirectionMark(char32_t c)
{
    return (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

bool ControlCharacter(char32_t c)
{
    return c < 0x20 || c == 0x7F || (c >= 0x80 && c <= 0x9F) || c == 0x2028 || c == 0x2029 || DirectionMark(c);
}

// `keepBreaks`: line breaks stay as they are (a memo), else each becomes a blank.
std::string Cleaned(std::string_view text, bool keepBreaks)
{
    const std::string valid = text::SanitizeUtf8(text);
    std::string out;
    out.reserve(valid.size());
    for (std::size_t pos = 0; pos < valid.size();) {
        char32_t c = 0;
        const std::size_t len = text::DecodeUtf8(valid, pos, c);
        const bool lineBreak = c == '\r' || c == '\n' || c == 0x2028 || c == 0x2029;
        if (lineBreak && keepBreaks) {
            out.push_back(c == '\r' || c == '\n' ? static_cast<char>(c) : '\n');
        } else if (lineBreak || c == '\t') {
            // CR LF is one break, one blank.
            if (!(c == '\n' && pos > 0 && valid[pos - 1] == '\r'))
                out.push_back(' ');
        } else if (!ControlCharacter(c)) {
            out.append(valid, pos, len);
        }
        pos += len;
    }
    return out;
}

template <int W>
void CleanField(FixedText<W>& field)
{
    field = OneLineText(field.view());
}

}  // namespace

std::string OneLineText(std::string_view text)
{
    return Cleaned(text, false);
}

void CleanContact(ContactRecord& c)
{
    CleanField(c.lastName);
    CleanField(c.firstName);
    CleanField(c.addressLine1);
    CleanField(c.addressLine2);
    CleanField(c.addressLine3);
    CleanField(c.postalCode);
    CleanField(c.workDayPhone);
    CleanField(c.homeEveningPhone);
    CleanField(c.fax);
    CleanField(c.otherPhone);
    CleanField(c.email);
    CleanField(c.webSite);
    CleanField(c.contactCategory);
    c.notes = Cleaned(c.notes.view(), true);
}

FormRules<ContactRecord> ContactFormRules(std::function<bool()> askRetry)
{
    FormRules<ContactRecord> rules;
    rules.insertTitle = HRLN_TEXT("FormTitle", "Adding a Contact Record");
    rules.changeTitle = HRLN_TEXT("FormTitle", "Changing a Contact Record");
    rules.validate = [](ContactRecord& c, RecordWarnings& warnings) {
        CleanContact(c);
        if (c.lastName.empty() && c.firstName.empty()) {
            warnings.required("C_:LastName");
            return static_cast<int>(ContactLastName);
        }
        return -1;
    };
    rules.keyNames = {{ContactRecord::KeyClientID, "By Client ID", ContactLastName}};
    rules.placeholder = true;
    rules.addPlaceholder = [askRetry = std::move(askRetry)](data::Table<ContactRecord>& table) {
        return data::AddContactWithNewId(table, askRetry);
    };
    rules.removePlaceholder = [](data::Table<ContactRecord>& table) { data::IntegrityDelete(table); };
    return rules;
}

std::string ContactClipboardText(const ContactRecord& c)
{
    std::string out;
    const auto part = [&out](std::string_view label, std::string_view value) {
        out.append(label);
        out.append(text::Clip(value));
        out.push_back('\r');
    };
    part("", c.lastName);
    part("", c.firstName);
    part("", c.addressLine1);
    part("", c.addressLine2);
    part("", c.addressLine3);
    part("", c.postalCode);
    part("Work Phone: ", c.workDayPhone);
    part("Home Phone: ", c.homeEveningPhone);
    part("Fax: ", c.fax);
    part("Other Phone: ", c.otherPhone);
    part("Email: ", c.email);
    part("Web Site: ", c.webSite);
    part("Category: ", c.contactCategory);
    return out;
}

ContactRecord ContactCopy(const ContactRecord& from)
{
    ContactRecord copy = from;
    copy.clientId = 0;
    return copy;
}

CategoryEntry CheckContactCategory(data::Database& db, platform::Prompter& prompter, FixedText<20>& name)
{
    if (name.empty())
        return CategoryEntry::Known;
    data::Table<data::ContactCategoryRecord> names(db);
    names.rec.contactCategory = name;
    if (names.get(data::ContactCategoryRecord::KeyContactCategories) == data::kOk) {
        name = names.rec.contactCategory;
        return CategoryEntry::Known;
    }
    platform::MessageBox box;
    box.text = HrlnTranslate("Contacts", "Add new category?");
    box.caption = HrlnTranslate("Contacts", "Category not found");
    box.icon = platform::MessageIcon::Question;
    box.buttons = platform::MessageButtons::YesNo;
    box.defaultButton = platform::MessageButton::Yes;
    return prompter.ask(box) == platform::MessageButton::Yes ? CategoryEntry::AddNew : CategoryEntry::Refused;
}

FormRules<LinkRecord> LinkFormRules(data::Table<LinkRecord>& table, data::Long clientId)
{
    FormRules<LinkRecord> rules;
    rules.insertTitle = HRLN_TEXT("FormTitle", "Adding a Link Record");
    rules.changeTitle = HRLN_TEXT("FormTitle", "Changing a Link Record");
    rules.defaults = [clientId](LinkRecord& link) { link.clientId = clientId; };
    rules.validate = [&table](LinkRecord& link, RecordWarnings& warnings) {
        if (link.id == 0) {
            warnings.required("L:ID");
            return 0;
        }
        data::Table<data::ScheduleRecord> task(table.database());
        task.rec.id = link.id;
        if (task.get(data::ScheduleRecord::KeyID) != data::kOk) {
            warnings.invalid(kTaskGone);
            return 0;
        }
        if (table.duplicate(LinkRecord::KeySchedule)) {
            warnings.invalid(kLinkedTwice);
            return 0;
        }
        return -1;
    };
    rules.keyNames = {{LinkRecord::KeySchedule, "By Task", 0}, {LinkRecord::KeyClient, "By Contact", 0}};
    return rules;
}

}  // namespace hrln::pim
