// The reference the resident program is measured against: a Qt main window
// with a title and nothing else, built with the same compiler and options.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    window.show();
    return QApplication::exec();
}
