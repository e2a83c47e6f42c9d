#include "ui/widgets/progress_window.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace hrln::ui {

ProgressWindow::ProgressWindow(BatchJob& job, int batchSize, const QString& objectName, QWidget* parent)
    : QDialog(parent), job_(job), run_(job, batchSize)
{
    setObjectName(objectName);
    setWindowTitle(tr("Progress..."));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    bar_ = new QProgressBar(this);
    bar_->setObjectName(QStringLiteral("progressBar"));
    bar_->setRange(0, 100);
    bar_->setValue(0);
    bar_->setTextVisible(false);
    jobLine_ = new QLabel(QString::fromStdString(job.description()), this);
    jobLine_->setObjectName(QStringLiteral("jobLine"));
    jobLine_->setAlignment(Qt::AlignHCenter);
    percentLine_ = new QLabel(QString::fromStdString(run_.progressText()), this);
    percentLine_->setObjectName(QStringLiteral("percentLine"));
    percentLine_->setAlignment(Qt::AlignHCenter);
    tallyLine_ = new QLabel(QString::fromStdString(job.tally()), this);
    tallyLine_->setObjectName(QStringLiteral("tallyLine"));
    tallyLine_->setAlignment(Qt::AlignHCenter);
    tallyLine_->setVisible(!job.tally().empty());
    cancel_ = new QPushButton(tr("Cancel"), this);
    cancel_->setObjectName(QStringLiteral("cancelButton"));
    connect(cancel_, &QPushButton::clicked, this, &ProgressWindow::reject);
    layout->addWidget(bar_);
    layout->addWidget(jobLine_);
    layout->addWidget(percentLine_);
    layout->addWidget(tallyLine_);
    layout->addWidget(cancel_, 0, Qt::AlignHCenter);
    setMinimumWidth(300);

    timer_ = new QTimer(this);
    timer_->setInterval(0);  // a batch whenever the window has nothing else to do
    connect(timer_, &QTimer::timeout, this, &ProgressWindow::onTick);
}

void ProgressWindow::setTitle(const QString& title)
{
    runningTitle_ = title;
    setWindowTitle(title);
}

bool ProgressWindow::Run(BatchJob& job, int batchSize, const QString& objectName, QWidget* parent)
{
    ProgressWindow window(job, batchSize, objectName, parent);
    window.exec();
    return window.run().state() == BatchRun::State::Completed;
}

void ProgressWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (run_.state() != BatchRun::State::Ready)
        return;
    if (!run_.start()) {
        // Close once the showing is over: the job has said why it would not start.
        QTimer::singleShot(0, this, [this] { done(QDialog::Rejected); });
        return;
    }
    setWindowTitle(runningTitle_.isEmpty() ? tr("Processing Records") : runningTitle_);
    timer_->start();
}

void ProgressWindow::onTick()
{
    run_.tick();
    showProgress();
    if (!run_.running()) {
        timer_->stop();
        done(run_.state() == BatchRun::State::Completed ? QDialog::Accepted : QDialog::Rejected);
    }
}

void ProgressWindow::showProgress()
{
    bar_->setValue(run_.percent());
    percentLine_->setText(QString::fromStdString(run_.progressText()));
    const std::string tally = job_.tally();
    tallyLine_->setText(QString::fromStdString(tally));
    tallyLine_->setVisible(!tally.empty());
}

void ProgressWindow::reject()
{
    // Cancel (or Escape, or the close box) ends the job after the batch in progress.
    if (run_.running()) {
        run_.cancel();
        if (run_.running()) {
            // A job working elsewhere stops later: the window stays, ticking,
            // until it has stored what it read.
            cancel_->setEnabled(false);
            return;
        }
        timer_->stop();
    }
    QDialog::reject();
}

}  // namespace hrln::ui
