#pragma once

#include <QString>
#include <QValidator>

class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace hrln::ui {

// Characters (code points) in `text`, as a record's field counts them: a
// character outside the basic plane is one, not two UTF-16 units.
int CharacterCount(const QString& text);

// Keeps an entry to `width` characters: what is typed beyond them is refused
// and a paste is cut at its end, never inside a character. With `oneLine`
// control characters are cleaned first (line breaks and tabs become blanks),
// so the width counts what is kept.
class CharacterLimit : public QValidator {
    Q_OBJECT

public:
    CharacterLimit(int width, bool oneLine, QObject* parent);
    State validate(QString& input, int& pos) const override;
    int width() const { return width_; }

Q_SIGNALS:
    // Text was refused or cut to the width.
    void cut() const;

private:
    int width_;
    bool oneLine_;
};

// Installs the limit on `edit`, with a note at the field whenever it cuts.
// `fieldName` names the field in the note; without it the note takes the text
// of the label the field is the buddy of.
void LimitCharacters(QLineEdit* edit, int width, const QString& fieldName = {}, bool oneLine = false);
// The same for a memo: typing beyond the width is undone, a paste cut.
void LimitCharacters(QPlainTextEdit* memo, int width, const QString& fieldName = {});

// The note shown when `field`'s text was cut at `width` characters.
QString CutNoteText(const QWidget* field, const QString& fieldName, int width);

}  // namespace hrln::ui
