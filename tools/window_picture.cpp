// Saves a picture of one window of the running desktop (by its X window id)
// as a PNG file: how the guide's pictures are taken from the real program.
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: window_picture WINDOW-ID FILE.png\n");
        return 2;
    }
    bool ok = false;
    const WId window = QString::fromLocal8Bit(argv[1]).toULongLong(&ok, 0);
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!ok || screen == nullptr) {
        std::fprintf(stderr, "window_picture: no such window or no screen\n");
        return 2;
    }
    const QPixmap picture = screen->grabWindow(window);
    if (picture.isNull() || !picture.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "window_picture: could not take or save the picture\n");
        return 1;
    }
    return 0;
}
