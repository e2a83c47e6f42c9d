#pragma once

#include <QObject>
#include <QString>

class QSocketNotifier;

namespace hrln::app {

// One running program per data folder. The first start listens on a local
// socket named after the folder, in the user's private runtime folder
// ($XDG_RUNTIME_DIR, or a folder of the user's own under the temporary
// folder); a later start tells it to come to the front and then ends. Only a
// program of the same user is handed over to: a socket of anybody else is
// never taken for ours.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    explicit SingleInstance(const QString& dataFolder, QObject* parent = nullptr);
    ~SingleInstance() override;
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;
    // True when a program of ours already runs on this folder (and was asked to show itself).
    bool otherIsRunning();
    // Starts listening; false when the socket cannot be made (problem() says why).
    bool listen();
    // The socket's path; empty when no private folder could be had for it.
    const QString& serverName() const { return name_; }
    // What went wrong finding, asking or making the socket, for the user; empty when nothing did.
    const QString& problem() const { return problem_; }

    // The private folder the sockets live in: $XDG_RUNTIME_DIR when it is the
    // user's own and closed to others, otherwise horalyn-UID in the temporary
    // folder, made or checked so. Empty, with `problem` set, when neither is.
    static QString SocketFolder(QString& problem);

Q_SIGNALS:
    void showRequested();

private:
    void takeConnections();

    QString name_;
    QString problem_;
    int listening_ = -1;
    QSocketNotifier* waiting_ = nullptr;
};

}  // namespace hrln::app
