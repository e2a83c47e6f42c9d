#include "ui/frame/icons.h"
#include "ui/widgets/browse_list.h"

#include <gtest/gtest.h>

#include <QIcon>
#include <QImage>
#include <QPainter>

namespace hrln::test {
namespace {

// How many pixels of `icon` drawn on `background` stand out from it as well
// as ordinary text does (a contrast of 3 at least).
int VisiblePixels(const QIcon& icon, const QColor& background)
{
    QImage image(22, 22, QImage::Format_ARGB32);
    image.fill(background);
    {
        QPainter p(&image);
        icon.paint(&p, image.rect());
    }
    int visible = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (ui::ContrastRatio(image.pixelColor(x, y), background) >= 3.0)
                ++visible;
    return visible;
}

// Every icon of the program shows its shape on a dark palette as on a light one.
TEST(IconsTest, EveryIconStandsOutOnDarkAndLightPalettes)
{
    for (const char* name : {"clock", "snooze", "exit", "nextpage", "todo", "message", "reminder", "program",
                             "schedule", "done", "notdone", "skip", "disabled", "stop"}) {
        const QIcon icon = ui::ProgramIcon(QString::fromLatin1(name));
        EXPECT_GE(VisiblePixels(icon, QColor(0x23, 0x26, 0x29)), 20) << name << " on a dark palette";
        EXPECT_GE(VisiblePixels(icon, QColor(0xEF, 0xF0, 0xF1)), 20) << name << " on a light palette";
    }
}

}  // namespace
}  // namespace hrln::test
