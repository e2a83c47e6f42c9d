#include "data/errors.h"

namespace hrln::data {

std::string ErrorText(int code)
{
    switch (code) {
    case kOk: return "No Error";
    case kNoFile: return "File Not Found";
    case kAccessDenied: return "Access Denied";
    case kIsLocked: return "File Is Already Locked";
    case kRecordNotAvailable: return "Record Not Available";
    case kRecordNotFound: return "Record Not Found";
    case kBadData: return "Invalid Data File";
    case kFileNotOpen: return "File Not Open";
    case kDuplicateKey: return "Creates Duplicate Key";
    case kBadKey: return "Invalid Key File";
    case kBadLayout: return "Invalid Record Declaration";
    case kAlreadyOpen: return "File Already Open";
    case kTransactionActive: return "Transaction Already Active";
    case kBadKeyLength: return "Invalid Key Length";
    case kRecordChanged: return "Record Changed by Another Station";
    case kFileSystem: return "File System Error";
    case kNoNumberLeft: return "No Number Left Above the Highest in Use";
    case kReferenced: return "Record Is Referenced from Another File";
    default: return "Unknown Error";
    }
}

}  // namespace hrln::data
