#include "ui/widgets/typed_entry.h"

#include "common/typed_input.h"
#include "ui/widgets/field_widgets.h"

#include <QLocale>

namespace hrln::ui {
namespace {

// The locale the user types in, as ICU names it ("de_DE").
std::string TypingLocale()
{
    return QLocale().name().toStdString();
}

}  // namespace

QString ShownDate(Date date)
{
    return Text(LocalDate(date, TypingLocale()));
}

QString ShownTime(Time time, bool seconds)
{
    return Text(LocalTime(time, TypingLocale(), seconds));
}

TypedEntry::TypedEntry(Kind kind, QWidget* parent, const QString& objectName, const QString& tip)
    : QLineEdit(parent), kind_(kind)
{
    setObjectName(objectName);
    setToolTip(tip);
    // Room for what a user types ("12:30:00 p.m.", "31.12.2027"), not for a novel.
    setMaxLength(24);
    connect(this, &QLineEdit::editingFinished, this, &TypedEntry::showUnderstood);
}

QString TypedEntry::format(std::int32_t value) const
{
    return kind_ == Kind::Time ? ShownTime(value) : ShownDate(value);
}

void TypedEntry::setValue(std::int32_t value)
{
    shownValue_ = value;
    shownText_ = format(value);
    setText(shownText_);
}

std::optional<std::int32_t> TypedEntry::value() const
{
    const QString typed = text().trimmed();
    if (typed.isEmpty())
        return 0;
    if (typed == shownText_)
        return shownValue_;
    const std::string s = typed.toStdString();
    if (kind_ == Kind::Time)
        return ParseTypedTime(s, TypingLocale());
    return ParseTypedDate(s, TypingLocale(), today_ ? today_() : 0);
}

void TypedEntry::showUnderstood()
{
    const std::optional<std::int32_t> v = value();
    if (!v || text() == shownText_)
        return;
    // Shown as understood; the entry still counts as edited for those who ask.
    const bool modified = isModified();
    setValue(*v);
    setModified(modified);
}

bool TypedEntry::read(std::int32_t& value, platform::Prompter& prompter)
{
    if (const std::optional<std::int32_t> v = this->value()) {
        value = *v;
        return true;
    }
    const std::string typed = text().trimmed().toStdString();
    const std::string help = kind_ == Kind::Time ? TypedTimeHelp(typed) : TypedDateHelp(typed, TypingLocale());
    prompter.ask({help, "Invalid Entry", platform::MessageIcon::Exclamation, platform::MessageButtons::Ok,
                  platform::MessageButton::Ok});
    RevealAndFocus(this);
    selectAll();
    return false;
}

}  // namespace hrln::ui
