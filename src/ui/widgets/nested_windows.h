#pragma once

class QObject;
class QWidget;

namespace hrln::ui {

// A window runs the forms, selectors and questions it opens in event loops of
// their own, on its stack, parented to it. Deleted meanwhile, it would delete
// them under their running code.

// The innermost of `window`'s own open windows (the forms, selectors
// and boxes parented to it or to its children), or a question over its
// top-level window; null when none is open.
QWidget* OpenNestedWindow(const QWidget* window);

// Refuses to close `window` while OpenNestedWindow finds one, and brings that
// one forward instead.
void KeepOpenWhileNested(QWidget* window);

// Stops the signals of `window`'s children from reaching `window`. For its
// destructor: an entry that has the focus finishes editing as the children
// are destroyed, and its handler would run on a window already half gone.
void DetachChildren(QObject* window);

}  // namespace hrln::ui
