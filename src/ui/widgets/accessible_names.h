#pragma once

#include <QString>

class QWidget;

namespace hrln::ui {

// A label's or tab's text as a screen reader should say it: without the "&"
// that marks its Alt letter ("&&" stays one "&").
QString SpokenText(const QString& shown);

// Names for assistive technology the controls of `window` that Qt leaves
// nameless, from the texts the user already sees beside them: a buddy label
// that is not the control's sibling, the label of the form row it stands in,
// a plain label just before it in its row, the tab it fills, or for an
// editable list's entry the list's own name. A name given before is kept.
// Call once the window's controls are laid out.
void NameControls(QWidget* window);

}  // namespace hrln::ui
