#include "platform/posix/argument_split.h"

namespace hrln::platform::posix {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool EscapableInDoubleQuotes(char c)
{
    return c == '$' || c == '`' || c == '"' || c == '\\' || c == '\n';
}

}  // namespace

std::vector<std::string> SplitArguments(std::string_view text)
{
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;  // "" is a word of its own, so track it apart from the text
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (IsBlank(c)) {
            if (inWord)
                words.push_back(std::move(word));
            word.clear();
            inWord = false;
            ++i;
            continue;
        }
        inWord = true;
        if (c == '\'') {
            const std::size_t close = text.find('\'', i + 1);
            const std::size_t end = close == std::string_view::npos ? text.size() : close;
            word.append(text.substr(i + 1, end - i - 1));
            i = end == text.size() ? end : end + 1;
        } else if (c == '"') {
            ++i;
            while (i < text.size() && text[i] != '"') {
                if (text[i] == '\\' && i + 1 < text.size() && EscapableInDoubleQuotes(text[i + 1]))
                    ++i;
                word += text[i++];
            }
            ++i;  // the closing quote, when there is one
        } else if (c == '\\' && i + 1 < text.size()) {
            word += text[i + 1];
            i += 2;
        } else {
            word += c;
            ++i;
        }
    }
    if (inWord)
        words.push_back(std::move(word));
    return words;
}

}  // namespace hrln::platform::posix
