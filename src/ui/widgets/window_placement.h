#pragma once

#include "data/profile_file.h"

#include <QString>

class QSize;
class QWidget;

namespace hrln::ui {

// Puts a window where it was last closed (section `section` of POSITION.INI),
// kept on a screen that still exists; a window never saved stays where it was designed.
void RestoreWindowPosition(QWidget* window, data::ProfileFile& positions, const QString& section);
// Keeps a closing window's place; a minimised window keeps the place saved before.
void SaveWindowPosition(const QWidget* window, data::ProfileFile& positions, const QString& section);
// Gives a window its designed size, grown to what its contents and its title
// need to show whole and kept within the screen it opens on (its frame included).
void ResizeWithin(QWidget* window, const QSize& designed);
// Shrinks and moves a window, its frame included, into the available area of
// the screen it is on (the primary one when it is on none).
void KeepWithinScreen(QWidget* window);
// The window whose place a browser keeps: its frame's child window when it has one, else itself.
QWidget* PlacedWindow(QWidget* window);

}  // namespace hrln::ui
