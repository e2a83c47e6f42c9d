#include "e2e/qt_desktop.h"

int main(int argc, char** argv)
{
    return hrln::test::RunQtDesktopTests(argc, argv);
}
