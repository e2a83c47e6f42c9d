#include "pim/record_warnings.h"

#include "common/text.h"
#include "data/errors.h"

#include <string>

namespace hrln::pim {
namespace {

using platform::MessageButton;
using platform::MessageButtons;
using platform::MessageIcon;

// "Creates Duplicate Key (40)", as the other standard messages give an error.
std::string Described(int error)
{
    return data::ErrorText(error) + " (" + std::to_string(error) + ")";
}

std::string Named(std::string_view name)
{
    return std::string(text::Clip(name));
}

}  // namespace

MessageButton RecordWarnings::show(std::string text, std::string_view caption, MessageIcon icon,
                                   MessageButtons buttons, MessageButton defaultButton)
{
    return prompter_.ask({std::move(text), std::string(caption), icon, buttons, defaultButton});
}

void RecordWarnings::recordError(std::string_view doing, std::string_view table, int error,
                                 std::string_view caption)
{
    show("Error: (" + Described(error) + ") " + std::string(doing) + " the " + Named(table) + " file.", caption);
}

bool RecordWarnings::confirmDelete()
{
    // Cancel is the default, so that a stray Enter deletes nothing.
    return show("You've selected to delete the highlighted record.  Press OK to confirm deletion of this record.",
                "Confirm Delete", MessageIcon::Question, MessageButtons::OkCancel, MessageButton::Cancel) ==
           MessageButton::Ok;
}

void RecordWarnings::duplicateKey(std::string_view keyName)
{
    show("This record would duplicate an existing entry of the key " + Named(keyName) +
             ".  Change the value and save again.",
         "Duplicate Key");
}

void RecordWarnings::addError(std::string_view table, int error)
{
    recordError("adding a record to", table, error, "Add Error");
}

void RecordWarnings::updateError(std::string_view table, int error)
{
    recordError("writing a record of", table, error, "Update Error");
}

void RecordWarnings::deleteError(std::string_view table, int error)
{
    recordError("deleting a record of", table, error, "Delete Error");
}

void RecordWarnings::fetchError(std::string_view table, int error)
{
    recordError("reading a record of", table, error, "Read Error");
}

void RecordWarnings::transactionError(std::string_view table, std::string_view operation, int error)
{
    show("Error: (" + Described(error) + ") in the " + std::string(operation) + " transaction of the " +
             Named(table) + " file.  Nothing was changed.",
         "Transaction Error");
}

void RecordWarnings::rangeError(std::string_view field, std::string_view range)
{
    show(std::string(field) + " must be between " + std::string(range) + ".", "Range Error");
}

void RecordWarnings::required(std::string_view field)
{
    show(std::string(field) + " cannot be blank.", "Required Field");
}

void RecordWarnings::invalid(std::string_view text)
{
    show(std::string(text), "Invalid Entry");
}

RecordWarnings::WriteChoice RecordWarnings::writeFailed(std::string_view doing, std::string_view table, int error)
{
    // Back to the form is the default: a stray Enter loses nothing.
    switch (show("Error: (" + Described(error) + ") " + std::string(doing) + " the " + Named(table) +
                     " file.  Yes tries again, No closes without saving, Cancel goes back to the form.",
                 "Update Error", MessageIcon::Exclamation, MessageButtons::YesNoCancel, MessageButton::Cancel)) {
    case MessageButton::Yes: return WriteChoice::TryAgain;
    case MessageButton::No: return WriteChoice::CloseWithoutSaving;
    default: return WriteChoice::BackToForm;
    }
}

bool RecordWarnings::retry(std::string_view table, int error)
{
    return show("Error: (" + Described(error) + ") accessing the " + Named(table) +
                    " file.  Do you want to try again?",
                "Retry?", MessageIcon::Question, MessageButtons::YesNo, MessageButton::Yes) == MessageButton::Yes;
}

void RecordWarnings::recordChanged(std::string_view)
{
    show("This record was changed by another station.", "Record Changed by Another Station");
}

void RecordWarnings::restrictDelete(std::string_view childTable)
{
    show("This record is referenced from the file " + Named(childTable) +
             ".  This record cannot be deleted while these references exist.",
         "Referential Integrity Delete Error");
}

void RecordWarnings::restrictUpdate(std::string_view childTable)
{
    show("This record is referenced from the file " + Named(childTable) +
             ".  Linking field(s) have been restricted from change and have been reset to original values.",
         "Referential Integrity Update Error");
}

}  // namespace hrln::pim
