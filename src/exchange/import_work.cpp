#include "exchange/import_work.h"

#include "platform/prompter.h"

namespace hrln::exchange::detail {

bool ImportWork::refuse(const std::string& text)
{
    summary_.failure = text;  // `text` may belong to what dropInput() lets go
    refused_ = true;
    dropInput();
    prompter_.ask({summary_.failure, "Import", platform::MessageIcon::Exclamation});
    return false;
}

}  // namespace hrln::exchange::detail
