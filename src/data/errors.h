#pragma once

#include <string>

namespace hrln::data {

// Error codes of the record and file operations. Callers test the code; nothing throws.
enum ErrorCode : int {
    kOk = 0,
    kNoFile = 2,             // file not found
    kAccessDenied = 5,       // file cannot be written (read-only)
    kIsLocked = 32,          // another connection holds the file
    kRecordNotAvailable = 33,  // before the first or past the last entry of a key
    kRecordNotFound = 35,    // no record with that exact key value
    kBadData = 36,           // damaged data, or not a database at all
    kFileNotOpen = 37,
    kDuplicateKey = 40,      // creates duplicate key
    kBadKey = 46,            // a key (index) is missing or damaged
    kBadLayout = 47,         // the file's record layout is not the current one
    kAlreadyOpen = 52,
    kTransactionActive = 56,
    kBadKeyLength = 88,
    kRecordChanged = 89,     // changed by another station since it was read
    kFileSystem = 90,        // the file system reported a failure
    kNoNumberLeft = 95,      // the highest number is taken: a new one would overflow
    kReferenced = 96,        // records of another table refer to this one: refused
};

// The system's text for an error code, as shown in messages.
std::string ErrorText(int code);

}  // namespace hrln::data
