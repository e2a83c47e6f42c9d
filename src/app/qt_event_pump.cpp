#include "app/qt_event_pump.h"

#include <QEventLoop>
#include <QTimer>

namespace hrln::app {

void QtEventPump::pause(int hundredths)
{
    if (hundredths <= 0)
        return;
    QEventLoop loop;
    QTimer::singleShot(hundredths * 10, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace hrln::app
