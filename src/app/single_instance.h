#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace hrln::app {

// One running program per data folder. The first start listens on a local
// socket named after the folder; a later start tells it to come to the front
// and then ends.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    explicit SingleInstance(const QString& dataFolder, QObject* parent = nullptr);
    // True when another program already runs on this folder (and was asked to show itself).
    bool otherIsRunning();
    // Starts listening; false when the socket cannot be made.
    bool listen();
    const QString& serverName() const { return name_; }

Q_SIGNALS:
    void showRequested();

private:
    QString name_;
    QLocalServer* server_ = nullptr;
};

}  // namespace hrln::app
