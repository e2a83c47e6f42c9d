#pragma once

#include "common/date_time.h"
#include "platform/prompter.h"

#include <QLineEdit>

#include <functional>
#include <optional>

namespace hrln::ui {

// A date and a time of day as the user's locale writes them, where no fixed
// picture is asked for (lists, fields): see LocalDate in common/typed_input.h.
QString ShownDate(Date date);
QString ShownTime(Time time, bool seconds = false);

// An entry for a time of day or a date, read as the user types it ("9",
// "9.30pm", the locale's short date, year-month-day: common/typed_input.h).
// Once left, it shows what it understood in the locale's form (ShownDate,
// ShownTime); what it cannot read stays as typed for read() to refuse with a
// message.
class TypedEntry : public QLineEdit {
    Q_OBJECT

public:
    enum class Kind { Time, Date };

    TypedEntry(Kind kind, QWidget* parent, const QString& objectName, const QString& tip = {});

    // Where a date typed without its year takes the year from.
    void setToday(std::function<Date()> today) { today_ = std::move(today); }

    // Shows `value` (0 blank). A time keeps its hundredths while its text stands.
    void setValue(std::int32_t value);
    // The value typed, 0 when blank; none when the text cannot be read.
    std::optional<std::int32_t> value() const;
    // The value typed: true with it; false after telling the user through
    // `prompter` what the entry takes, the focus back on the entry.
    bool read(std::int32_t& value, platform::Prompter& prompter);

private:
    void showUnderstood();
    QString format(std::int32_t value) const;

    Kind kind_;
    std::function<Date()> today_;
    std::int32_t shownValue_ = 0;  // the value last shown, with its hundredths
    QString shownText_;
};

}  // namespace hrln::ui
