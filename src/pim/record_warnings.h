#pragma once

#include "platform/prompter.h"

#include <string_view>

namespace hrln::pim {

// The standard messages of record operations, shown through the prompter.
// Tables are named as the user knows them ("Schedule", "Contact"), fields by
// the label the user sees ("Next Date to Perform Task"); the to-do priority
// keeps its record name ("TDO:Priority"), the name its message is known by.
class RecordWarnings {
public:
    explicit RecordWarnings(platform::Prompter& prompter) : prompter_(prompter) {}

    // The delete confirmation; true on OK.
    bool confirmDelete();
    // A write refused by a unique key, named as the form shows it ("By System ID").
    void duplicateKey(std::string_view keyName);
    void addError(std::string_view table, int error);
    void updateError(std::string_view table, int error);
    void deleteError(std::string_view table, int error);
    void fetchError(std::string_view table, int error);
    // A transaction that could not start or finish; `operation` is "Delete" or "Update".
    void transactionError(std::string_view table, std::string_view operation, int error);
    // A value outside its range: rangeError("TDO:Priority", "1 and 10").
    void rangeError(std::string_view field, std::string_view range);
    // A field that must hold a value was left blank: required("Category").
    void required(std::string_view field);
    // Any other value the form cannot take, said in `text`.
    void invalid(std::string_view text);
    // A form's write that failed for a reason not of the record's own: try
    // again, close the form without saving, or go back to the form.
    enum class WriteChoice { TryAgain, CloseWithoutSaving, BackToForm };
    // `doing` as in the other record errors, translated: "Error: (%1) writing a record of the %2 file.",
    // %1 the error, %2 the file.
    WriteChoice writeFailed(std::string_view doing, std::string_view table, int error);
    // Whether to try a failed operation again; true on Yes.
    bool retry(std::string_view table, int error);
    void recordChanged(std::string_view table);
    void restrictDelete(std::string_view childTable);
    void restrictUpdate(std::string_view childTable);

private:
    platform::MessageButton show(std::string text, std::string_view caption,
                                 platform::MessageIcon icon = platform::MessageIcon::Exclamation,
                                 platform::MessageButtons buttons = platform::MessageButtons::Ok,
                                 platform::MessageButton defaultButton = platform::MessageButton::Ok);
    void recordError(std::string_view doing, std::string_view table, int error, std::string_view caption);

    platform::Prompter& prompter_;
};

}  // namespace hrln::pim
