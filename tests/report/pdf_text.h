#pragma once


#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace hrln::test {

// The text of a PDF file as pdftotext reads it, page by page, each page's lines
// with their physical layout kept.
inline std::vector<std::vector<std::string>> PdfPages(const std::string& pdf)
{
    const std::string command = std::string(PDFTOTEXT_PATH) + " -layout -enc UTF-8 '" + pdf + "' -";
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        std::size_t n = 0;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            text.append(buffer, n);
        EXPECT_EQ(pclose(pipe), 0) << command;
    } else {
        ADD_FAILURE() << "cannot run " << command;
    }
    std::vector<std::vector<std::string>> pages(1);
    std::string line;
    for (char c : text) {
        if (c == '\f') {
            if (!line.empty())
                pages.back().push_back(line);
            line.clear();
            pages.emplace_back();
        } else if (c == '\n') {
            pages.back().push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty())
        pages.back().push_back(line);
    while (!pages.empty() && pages.back().empty())
        pages.pop_back();  // after the last form feed
    return pages;
}

// Blank-separated words of `line`.
inline std::vector<std::string> Words(const std::string& line)
{
    std::istringstream in(line);
    std::vector<std::string> out;
    for (std::string w; in >> w;)
        out.push_back(w);
    return out;
}

}  // namespace hrln::test
