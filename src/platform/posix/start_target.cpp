#include "platform/posix/start_target.h"

#include <cerrno>
#include <cstdlib>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace hrln::platform::posix {

namespace {

bool IsExecutableFile(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

StartTarget Classify(const std::string& path)
{
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) {
        if (errno == ENOTDIR)
            return {StartTarget::Kind::PathNotFound, path};
        if (errno == EACCES)
            return {StartTarget::Kind::AccessDenied, path};
        // Missing: tell a missing folder from a missing file in an existing one.
        const std::size_t slash = path.rfind('/');
        const std::string parent = slash == 0 ? "/" : path.substr(0, slash);
        struct stat dir {};
        const bool parentThere = slash == std::string::npos || (stat(parent.c_str(), &dir) == 0 && S_ISDIR(dir.st_mode));
        return {parentThere ? StartTarget::Kind::NotFound : StartTarget::Kind::PathNotFound, path};
    }
    if (S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0)
        return {StartTarget::Kind::Program, path};
    if (access(path.c_str(), R_OK) != 0)
        return {StartTarget::Kind::AccessDenied, path};
    return {StartTarget::Kind::Document, path};
}

std::string InFolder(const std::string& file, const std::string& folder)
{
    if (file.front() == '/' || folder.empty())
        return file;
    return folder.back() == '/' ? folder + file : folder + "/" + file;
}

}  // namespace

bool LooksLikeUrl(const std::string& text)
{
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos || colon < 2)
        return false;
    const auto alpha = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    if (!alpha(text[0]))
        return false;
    for (std::size_t i = 1; i < colon; ++i) {
        const char c = text[i];
        if (!alpha(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.')
            return false;
    }
    return colon + 1 < text.size();
}

std::string FindOnPath(const std::string& name)
{
    const char* env = std::getenv("PATH");
    const std::string_view path = env != nullptr ? env : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find(':', start);
        if (end == std::string_view::npos)
            end = path.size();
        // An empty entry means the current folder, as the shell reads it.
        const std::string_view dir = end == start ? std::string_view(".") : path.substr(start, end - start);
        const std::string candidate = std::string(dir) + "/" + name;
        if (IsExecutableFile(candidate))
            return candidate;
        start = end + 1;
    }
    return {};
}

StartTarget ResolveStartTarget(const std::string& file, const std::string& folder)
{
    if (file.empty())
        return {StartTarget::Kind::NotFound, file};
    if (LooksLikeUrl(file))
        return {StartTarget::Kind::Document, file};
    if (file.find('/') != std::string::npos)
        return Classify(InFolder(file, folder));
    if (std::string program = FindOnPath(file); !program.empty())
        return {StartTarget::Kind::Program, std::move(program)};
    // A bare name that is no program may still be a document beside us.
    const StartTarget local = Classify(InFolder(file, folder));
    return local.kind == StartTarget::Kind::Document ? local : StartTarget{StartTarget::Kind::NotFound, file};
}

}  // namespace hrln::platform::posix
