#pragma once

#include "data/records.h"
#include "pim/record_form.h"
#include "platform/prompter.h"

#include <functional>
#include <string>
#include <string_view>

namespace hrln::pim {

// The field numbers of a contact, as the form rules name a failing field.
enum ContactField {
    ContactLastName = 2,
    ContactFirstName = 3,
    ContactCategoryField = 14,
    ContactNotes = 15,
};

// A one-line field's text: each line break (CR, LF or both) and tab becomes a
// blank, other control characters and direction overrides are dropped, so a
// pasted text neither breaks a list row nor reorders the rows after it.
std::string OneLineText(std::string_view text);
// Every one-line text field of the contact cleaned so; the notes keep their
// line breaks and lose only the other control characters.
void CleanContact(data::ContactRecord& contact);

// The contact form's rules: a new contact is added at once under the next
// ClientID, so that links can name it while the form is open, and a cancelled
// one goes with those links; its fields are cleaned before saving; a contact
// needs a last or a first name, without which no name order lists it.
// `askRetry` decides whether to go on when the number could not be reserved.
FormRules<data::ContactRecord> ContactFormRules(std::function<bool()> askRetry);

// "&Copy to Clipboard": the thirteen parts of the contact, each clipped and
// ended by a carriage return alone; empty fields still give their line.
std::string ContactClipboardText(const data::ContactRecord& contact);

// "Cop&y": the new record prefilled from `from`: every field but the number,
// which the add assigns. The links stay with the original contact.
data::ContactRecord ContactCopy(const data::ContactRecord& from);

// A contact category typed into the form.
enum class CategoryEntry {
    Known,   // blank, or in the list (the name now has the stored spelling)
    AddNew,  // not in the list, and the user wants it added
    Refused  // not in the list, and the user said No
};
CategoryEntry CheckContactCategory(data::Database& db, platform::Prompter& prompter, FixedText<20>& name);

// The link form's rules for the contact `clientId`, over the form's own
// buffer `table`: a task must be chosen and still stand in the schedule, and
// the contact is linked to it at most once (the key refuses a second link; the
// form says so plainly first).
FormRules<data::LinkRecord> LinkFormRules(data::Table<data::LinkRecord>& table, data::Long clientId);

inline constexpr const char* kLinkedTwice = "This contact is already linked to that task.";
inline constexpr const char* kTaskGone = "The chosen task is no longer in the schedule.";

}  // namespace hrln::pim
