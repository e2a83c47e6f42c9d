#include "pim/record_warnings.h"

#include "common/text.h"
#include "common/translate.h"
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
    // `doing` is a whole sentence with %1 for the error and %2 for the file, translated by the caller.
    show(FillIn(doing, {Described(error), Named(table)}), caption);
}

bool RecordWarnings::confirmDelete()
{
    // Cancel is the default, so that a stray Enter deletes nothing.
    return show(HrlnTranslate("RecordWarnings", "You've selected to delete the highlighted record.  Press OK to confirm deletion of this record."),
                HrlnTranslate("RecordWarnings", "Confirm Delete"), MessageIcon::Question, MessageButtons::OkCancel, MessageButton::Cancel) ==
           MessageButton::Ok;
}

void RecordWarnings::duplicateKey(std::string_view keyName)
{
    show(FillIn(HrlnTranslate("RecordWarnings", "This record would duplicate an existing entry of the key %1.  Change the value and save again."),
                {Named(keyName)}),
         HrlnTranslate("RecordWarnings", "Duplicate Key"));
}

void RecordWarnings::addError(std::string_view table, int error)
{
    recordError(HrlnTranslate("RecordWarnings", "Error: (%1) adding a record to the %2 file."), table, error, HrlnTranslate("RecordWarnings", "Add Error"));
}

void RecordWarnings::updateError(std::string_view table, int error)
{
    recordError(HrlnTranslate("RecordWarnings", "Error: (%1) writing a record of the %2 file."), table, error, HrlnTranslate("RecordWarnings", "Update Error"));
}

void RecordWarnings::deleteError(std::string_view table, int error)
{
    recordError(HrlnTranslate("RecordWarnings", "Error: (%1) deleting a record of the %2 file."), table, error, HrlnTranslate("RecordWarnings", "Delete Error"));
}

void RecordWarnings::fetchError(std::string_view table, int error)
{
    recordError(HrlnTranslate("RecordWarnings", "Error: (%1) reading a record of the %2 file."), table, error, HrlnTranslate("RecordWarnings", "Read Error"));
}

void RecordWarnings::transactionError(std::string_view table, std::string_view operation, int error)
{
    show(FillIn(HrlnTranslate("RecordWarnings", "Error: (%1) in the %2 transaction of the %3 file.  Nothing was changed."),
                {Described(error), operation, Named(table)}),
         HrlnTranslate("RecordWarnings", "Transaction Error"));
}

void RecordWarnings::rangeError(std::string_view field, std::string_view range)
{
    show(FillIn(HrlnTranslate("RecordWarnings", "%1 must be between %2."), {field, range}), HrlnTranslate("RecordWarnings", "Range Error"));
}

void RecordWarnings::required(std::string_view field)
{
    show(FillIn(HrlnTranslate("RecordWarnings", "%1 cannot be blank."), {field}), HrlnTranslate("RecordWarnings", "Required Field"));
}

void RecordWarnings::invalid(std::string_view text)
{
    show(std::string(text), HrlnTranslate("RecordWarnings", "Invalid Entry"));
}

RecordWarnings::WriteChoice RecordWarnings::writeFailed(std::string_view doing, std::string_view table, int error)
{
    // Back to the form is the default: a stray Enter loses nothing.
    switch (show(FillIn(doing, {Described(error), Named(table)}) + "  " +
                     HrlnTranslate("RecordWarnings", "Yes tries again, No closes without saving, Cancel goes back to the form."),
                 HrlnTranslate("RecordWarnings", "Update Error"), MessageIcon::Exclamation, MessageButtons::YesNoCancel, MessageButton::Cancel)) {
    case MessageButton::Yes: return WriteChoice::TryAgain;
    case MessageButton::No: return WriteChoice::CloseWithoutSaving;
    default: return WriteChoice::BackToForm;
    }
}

bool RecordWarnings::retry(std::string_view table, int error)
{
    return show(FillIn(HrlnTranslate("RecordWarnings", "Error: (%1) accessing the %2 file.  Do you want to try again?"),
                       {Described(error), Named(table)}),
                HrlnTranslate("RecordWarnings", "Retry?"), MessageIcon::Question, MessageButtons::YesNo, MessageButton::Yes) == MessageButton::Yes;
}

void RecordWarnings::recordChanged(std::string_view)
{
    show(HrlnTranslate("RecordWarnings", "This record was changed by another station."), HrlnTranslate("RecordWarnings", "Record Changed by Another Station"));
}

void RecordWarnings::restrictDelete(std::string_view childTable)
{
    show(FillIn(HrlnTranslate("RecordWarnings", "This record is referenced from the file %1.  This record cannot be deleted while these references exist."),
                {Named(childTable)}),
         HrlnTranslate("RecordWarnings", "Referential Integrity Delete Error"));
}

void RecordWarnings::restrictUpdate(std::string_view childTable)
{
    show(FillIn(HrlnTranslate("RecordWarnings", "This record is referenced from the file %1.  Linking field(s) have been restricted from change and have been reset to original values."),
                {Named(childTable)}),
         HrlnTranslate("RecordWarnings", "Referential Integrity Update Error"));
}

}  // namespace hrln::pim
