#pragma once

#include "common/text.h"

#include <compare>
#include <string>
#include <string_view>

namespace hrln {

// Text of a record field: at most Width characters of valid UTF-8, cut (never
// inside a character) when assigned. A field keeps its clipped value, so
// comparisons ignore trailing blanks; a memo keeps them.
template <int Width, bool Clipped>
class BasicFixedText {
public:
    static constexpr int kWidth = Width;

    BasicFixedText() = default;
    BasicFixedText(std::string_view s) { assign(s); }  // NOLINT: fields read like strings
    BasicFixedText(const char* s) { assign(s); }       // NOLINT
    BasicFixedText(const std::string& s) { assign(s); }  // NOLINT

    BasicFixedText& operator=(std::string_view s)
    {
        assign(s);
        return *this;
    }
    BasicFixedText& operator=(const char* s) { return *this = std::string_view(s); }
    BasicFixedText& operator=(const std::string& s) { return *this = std::string_view(s); }

    const std::string& str() const { return value_; }
    std::string_view view() const { return value_; }
    operator std::string_view() const { return value_; }  // NOLINT
    const char* c_str() const { return value_.c_str(); }
    bool empty() const { return value_.empty(); }
    std::string padded() const { return text::PadToWidth(value_, Width); }

    friend bool operator==(const BasicFixedText& a, const BasicFixedText& b) { return a.value_ == b.value_; }
    friend bool operator==(const BasicFixedText& a, std::string_view b)
    {
        return Clipped ? a.value_ == text::Clip(b) : a.value_ == b;
    }
    friend bool operator==(const BasicFixedText& a, const char* b) { return a == std::string_view(b); }
    friend bool operator==(const BasicFixedText& a, const std::string& b) { return a == std::string_view(b); }

private:
    void assign(std::string_view s)
    {
        std::string clean = text::IsValidUtf8(s) && s.find('\0') == std::string_view::npos
                                ? std::string(s)
                                : text::SanitizeUtf8(s);
        std::string_view cut = text::CutToWidth(clean, Width);
        value_ = Clipped ? std::string(text::Clip(cut)) : std::string(cut);
    }

    std::string value_;
};

template <int Width>
using FixedText = BasicFixedText<Width, true>;
template <int Width>
using Memo = BasicFixedText<Width, false>;

}  // namespace hrln
