#pragma once

#include <string>

namespace hrln::platform::posix {

// What a simple start's file names, looked up the way the desktop would.
struct StartTarget {
    enum class Kind {
        Program,       // an executable file: run it
        Document,      // any other existing file or folder, or a URL: open it with its program
        NotFound,      // no such file (or no such program on PATH)
        PathNotFound,  // a folder on the way does not exist
        AccessDenied,  // there, but neither runnable nor readable
    };
    Kind kind = Kind::NotFound;
    std::string path;  // the file to run or open, or the URL
};

// Whether the text is a URL ("https://...", "mailto:..."): a scheme of two or
// more characters and a colon.
bool LooksLikeUrl(const std::string& text);

// Names with a "/" are paths, relative ones taken from `folder` (blank: the
// current folder); bare names are programs on PATH, or else files in `folder`.
StartTarget ResolveStartTarget(const std::string& file, const std::string& folder);

// The executable that PATH finds for a bare name; empty when none.
std::string FindOnPath(const std::string& name);

}  // namespace hrln::platform::posix
