#pragma once

#include "common/text.h"
#include "data/table.h"
#include "exchange/field_layout.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

// A record's fields by number (their place in the record), so that a file's
// columns are matched to fields once per file instead of by name per value.
namespace hrln::exchange::detail {

using data::Value;

// The number of `field` in the record, -1 when it has none of that name.
template <class R>
int FieldNumber(std::string_view field)
{
    int index = 0, found = -1;
    const std::string wanted = text::ToUpper(field);
    const R blank{};
    R::fields(blank, [&](const char* name, const auto&) {
        if (found < 0 && text::ToUpper(name) == wanted)
            found = index;
        ++index;
    });
    return found;
}

// What a value read for a field must be.
struct FieldLimits {
    bool number = false;
    std::int64_t min = 0;
    std::int64_t max = 0;
    std::size_t width = 0;  // characters of a text
};

template <class R>
std::vector<FieldLimits> LimitsOf()
{
    std::vector<FieldLimits> out;
    const R blank{};
    R::fields(blank, [&](const char*, const auto& field) {
        using Field = std::remove_cvref_t<decltype(field)>;
        if constexpr (std::is_integral_v<Field>)
            out.push_back({true, std::numeric_limits<Field>::min(), std::numeric_limits<Field>::max(), 0});
        else
            out.push_back({false, 0, 0, static_cast<std::size_t>(Field::kWidth)});
    });
    return out;
}

// Sets the fields that `values` holds (by number); the others stay. Values in
// field order, as a file's columns usually come, are set in one pass.
template <class R>
void SetValues(R& record, const std::vector<std::pair<int, Value>>& values)
{
    const bool inOrder = std::is_sorted(values.begin(), values.end(),
                                        [](const auto& a, const auto& b) { return a.first < b.first; });
    int index = 0;
    std::size_t next = 0;
    R::fields(record, [&](const char*, auto& field) {
        using Field = std::remove_cvref_t<decltype(field)>;
        const auto set = [&](const Value& value) {
            if constexpr (std::is_integral_v<Field>)
                field = static_cast<Field>(std::get<std::int64_t>(value));
            else
                field = std::get<std::string>(value);
        };
        if (inOrder) {
            for (; next < values.size() && values[next].first == index; ++next)
                set(values[next].second);
        } else {
            for (const auto& [number, value] : values)
                if (number == index)
                    set(value);
        }
        ++index;
    });
}

}  // namespace hrln::exchange::detail
