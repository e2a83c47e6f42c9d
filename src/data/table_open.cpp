#include "data/table_open.h"

#include "common/text.h"

#include <filesystem>

namespace hrln::data {
namespace {

using platform::MessageBox;
using platform::MessageButton;
using platform::MessageButtons;
using platform::MessageIcon;

std::string BareName(const std::string& path)
{
    return std::string(text::Clip(std::filesystem::path(path).filename().string()));
}

int OpenWithRecovery(Database& db, AccessMode mode)
{
    int err = db.open(mode);
    if (err == kIsLocked) {
        const auto saved = db.lockWait();
        db.setLockWait(db.recoveryWait());
        err = db.open(mode);
        db.setLockWait(saved);
    }
    return err;
}

}  // namespace

std::string ErrorDescription(const Database& db, int code)
{
    if (code == kFileSystem && !db.lastFileError().empty())
        return db.lastFileError();
    return ErrorText(code) + " (" + std::to_string(code) + ")";
}

int StandardWarning(Warning warning, const std::string& fileName, const std::string& errorDescription,
                    platform::Prompter& prompter)
{
    const std::string name(text::Clip(fileName));
    switch (warning) {
    case Warning::InvalidFile:
        prompter.ask({"Error: (" + errorDescription + ") accessing " + name + ".  Press OK to end this application.",
                      "Invalid File", MessageIcon::Information});
        prompter.endProgram("Invalid File!");
        return 1;
    case Warning::InvalidKey: {
        const MessageButton answer =
            prompter.ask({name + " key file is invalid.  Do you want to rebuild the key?", "Invalid Key",
                          MessageIcon::Exclamation, MessageButtons::YesNo, MessageButton::Yes});
        if (answer != MessageButton::Yes) {
            prompter.endProgram("Invalid Key!");
            return 0;
        }
        return 2;
    }
    case Warning::KeyRebuildError:
        prompter.ask({"Error: (" + errorDescription + ") repairing key for " + name +
                          ".  Press OK to end this application.",
                      "Key Rebuild Error"});
        prompter.endProgram("Error Rebuilding Key!");
        return 3;
    case Warning::CreationNotAllowed:
        prompter.ask({"The File " + name +
                          " was not found, and creation of the file is not allowed.  Press OK to end this application.",
                      "File Creation Not Allowed"});
        prompter.endProgram("");
        return 4;
    case Warning::CreationError:
        prompter.ask({"Error: (" + errorDescription + ") creating " + name + ".", "File Creation Error",
                      MessageIcon::Information});
        prompter.endProgram("File Creation Error!");
        return 5;
    case Warning::FileAccessError:
        prompter.ask({"File (" + name + ") could not be opened.  Error: " + errorDescription + ".",
                      "File Access Error", MessageIcon::Information});
        return 30;
    }
    return 0;
}

OpenResult CheckOpen(Database& db, const TableSchema& table, bool create, bool doNotReport, AccessMode mode,
                     platform::Prompter& prompter)
{
    const std::string name = BareName(db.path());
    if (db.isOpen()) {
        db.addUse(table);
        return {};
    }
    int err = OpenWithRecovery(db, mode);

    if (err == kNoFile) {
        if (doNotReport)
            return {err};
        if (!create) {
            StandardWarning(Warning::CreationNotAllowed, name, {}, prompter);
            return {err, true};
        }
        err = db.create();
        if (err != kOk) {
            StandardWarning(Warning::CreationError, name, ErrorDescription(db, err), prompter);
            return {err, true};
        }
    }

    if (err == kBadLayout) {
        err = db.convert();
        if (err == kOk)
            err = OpenWithRecovery(db, mode);
        if (err == kBadLayout) {
            prompter.endProgram(kUpgradeMessage);
            return {err, true};
        }
    }

    if (err == kBadKey) {
        if (StandardWarning(Warning::InvalidKey, name, {}, prompter) != 2)
            return {err, true};
        err = db.rebuildKeys();
        if (err != kOk) {
            StandardWarning(Warning::KeyRebuildError, name, ErrorDescription(db, err), prompter);
            return {err, true};
        }
        err = OpenWithRecovery(db, mode);
    }

    if (err == kBadData || err == kBadKeyLength || err == kFileSystem) {
        // Conversion never writes to a file it cannot read; it only helps a file
        // whose layout it understands.
        if (db.convert() == kOk)
            err = OpenWithRecovery(db, mode);
    }

    if (err != kOk) {
        if (StandardWarning(Warning::FileAccessError, name, ErrorDescription(db, err), prompter) != 0) {
            prompter.endProgram("Disk Error");
            return {err, true};
        }
        return {err};
    }
    db.addUse(table);
    return {};
}

void CloseTable(Database& db, const TableSchema& table)
{
    db.releaseUse(table);
}

}  // namespace hrln::data
