#pragma once

#include <QString>

#include <string>

namespace hrln::ui {

// A value the database keeps in English because the program acts on it
// ("Display Message", "Once", "day(s)"), as the user reads it. The windows
// show this and keep the stored value beside it (item data, a property).
QString ShownValue(const std::string& stored);
// A text the core keeps in English, as the user reads it.
QString ShownText(const char* context, const std::string& english);

// The property of a button that carries the value it stands for.
inline const char* const kStoredValueProperty = "storedValue";

}  // namespace hrln::ui
