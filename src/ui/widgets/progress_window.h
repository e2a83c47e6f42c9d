#pragma once

#include "common/batch_job.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace hrln::ui {

// The small modal window every batch job shows while it runs: one batch per
// timer tick, so the window repaints and "Cancel" answers between batches.
class ProgressWindow : public QDialog {
    Q_OBJECT

public:
    // `objectName` is the job's window identifier, e.g. "EXPORTTODO$PROGRESSWINDOW".
    ProgressWindow(BatchJob& job, int batchSize, const QString& objectName, QWidget* parent = nullptr);

    // Runs the job to its end in this window; true when it completed, false when
    // it was cancelled or refused to start.
    static bool Run(BatchJob& job, int batchSize, const QString& objectName, QWidget* parent);

    const BatchRun& run() const { return run_; }
    // A window named for its job keeps that title once running too.
    void setTitle(const QString& title);

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void onTick();
    void showProgress();

    BatchJob& job_;
    BatchRun run_;
    QLabel* jobLine_ = nullptr;
    QLabel* percentLine_ = nullptr;
    QLabel* tallyLine_ = nullptr;
    QProgressBar* bar_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QTimer* timer_ = nullptr;
    QString runningTitle_;
};

}  // namespace hrln::ui
