#include "ui/app/BackgroundWork.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <cmath>

#if defined(__linux__)
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace {

constexpr int kProgressSteps = 1000;
// Often enough to look alive, rarely enough to cost the window nothing.
constexpr int kProgressIntervalMs = 100;
constexpr int kWorkLabelMaxWidth = 320;

BackgroundWork::Mode defaultMode = BackgroundWork::Mode::Threaded;

// A job's thread (and the threads it starts, which inherit the setting) gives way to the
// window's thread when both want a processor, so that the window answers at once; with a
// processor to spare the job runs at full speed all the same.
void YieldToTheWindow() {
#if defined(__linux__)
    constexpr int kNiceness = 5;
    setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), kNiceness);
#endif
}

}  // namespace

void BackgroundWork::SetDefaultMode(Mode mode) {
    defaultMode = mode;
}

BackgroundWork::BackgroundWork(QObject* parent) : QObject(parent), mode_(defaultMode) {
    progressTimer_.setInterval(kProgressIntervalMs);
    connect(&progressTimer_, &QTimer::timeout, this, [this] {
        if (busy_) {
            emit progressChanged(control_->progress_.load(std::memory_order_relaxed));
        }
    });
    connect(&watcher_, &QFutureWatcher<void>::finished, this, [this] { JobEnded(); });
}

BackgroundWork::~BackgroundWork() {
    if (busy_) {
        // The job may read what its owner holds: it must end before the owner goes.
        control_->cancel_.store(true);
        watcher_.waitForFinished();
    }
}

bool BackgroundWork::StartJob(const QString& what, std::function<void(Control&)> work,
                              std::function<void()> deliver) {
    if (busy_) {
        return false;
    }
    control_ = std::make_unique<Control>();
    if (mode_ == Mode::Inline) {
        work(*control_);
        deliver();
        return true;
    }
    busy_ = true;
    deliver_ = std::move(deliver);
    emit busyChanged(true);
    emit started(what);
    progressTimer_.start();
    Control* control = control_.get();
    watcher_.setFuture(QtConcurrent::run([work = std::move(work), control] {
        YieldToTheWindow();
        work(*control);
    }));
    return true;
}

void BackgroundWork::Cancel() {
    if (busy_ && !control_->Cancelled()) {
        control_->cancel_.store(true);
        emit cancelling();
    }
}

void BackgroundWork::JobEnded() {
    if (!busy_) {
        return;
    }
    progressTimer_.stop();
    const bool cancelled = control_->Cancelled();
    busy_ = false;
    std::function<void()> deliver = std::move(deliver_);
    deliver_ = nullptr;
    emit ended(cancelled);
    emit busyChanged(false);
    if (!cancelled && deliver) {
        deliver();
    }
}

void BackgroundWork::WaitForFinished() {
    if (busy_) {
        watcher_.waitForFinished();
        JobEnded();
    }
}

WorkIndicator::WorkIndicator(BackgroundWork& work, QStatusBar* statusBar)
    : QObject(statusBar),
      work_(work),
      label_(new QLabel),
      bar_(new QProgressBar),
      cancelButton_(new QPushButton(QStringLiteral("Cancel"))) {
    label_->setObjectName(QStringLiteral("lblWork"));
    bar_->setObjectName(QStringLiteral("prgWork"));
    cancelButton_->setObjectName(QStringLiteral("btnCancelWork"));
    // The job's name gives way to the other fields rather than widen the window while the
    // work runs; the whole name is in its tooltip.
    label_->setMinimumWidth(1);
    label_->setMaximumWidth(kWorkLabelMaxWidth);
    bar_->setRange(0, kProgressSteps);
    bar_->setMaximumWidth(160);
    bar_->setMaximumHeight(statusBar->fontMetrics().height() + 4);
    bar_->setTextVisible(false);
    cancelButton_->setFocusPolicy(Qt::NoFocus);
    cancelButton_->setMaximumHeight(
        std::min(statusBar->maximumHeight() - 4, statusBar->fontMetrics().height() + 10));
    statusBar->addPermanentWidget(label_);
    statusBar->addPermanentWidget(bar_);
    statusBar->addPermanentWidget(cancelButton_);
    label_->hide();
    bar_->hide();
    cancelButton_->hide();
    labelTimer_.setSingleShot(true);
    connect(&labelTimer_, &QTimer::timeout, label_, &QLabel::hide);

    connect(&work_, &BackgroundWork::started, this, &WorkIndicator::Started);
    connect(&work_, &BackgroundWork::progressChanged, this, &WorkIndicator::Progress);
    connect(&work_, &BackgroundWork::ended, this, &WorkIndicator::Ended);
    connect(&work_, &BackgroundWork::cancelling, this, [this] {
        cancelButton_->setEnabled(false);
        label_->setText(QStringLiteral("Cancelling..."));
    });
    connect(cancelButton_, &QPushButton::clicked, &work_, &BackgroundWork::Cancel);
}

WorkIndicator::~WorkIndicator() {
    if (cursorSet_) {
        QApplication::restoreOverrideCursor();
    }
}

void WorkIndicator::Started(const QString& what) {
    labelTimer_.stop();
    label_->setText(what);
    label_->setToolTip(what);
    label_->show();
    bar_->setRange(0, 0);  // moving bar until the job reports a fraction
    bar_->show();
    cancelButton_->setEnabled(true);
    cancelButton_->show();
    if (!cursorSet_) {
        QApplication::setOverrideCursor(Qt::BusyCursor);
        cursorSet_ = true;
    }
}

void WorkIndicator::Progress(double fraction) {
    if (fraction >= 0.0) {
        bar_->setRange(0, kProgressSteps);
        bar_->setValue(
            static_cast<int>(std::lround(std::clamp(fraction, 0.0, 1.0) * kProgressSteps)));
    }
}

void WorkIndicator::Ended(bool cancelled) {
    bar_->hide();
    cancelButton_->hide();
    if (cursorSet_) {
        QApplication::restoreOverrideCursor();
        cursorSet_ = false;
    }
    if (cancelled) {
        label_->setText(QStringLiteral("Cancelled: nothing was changed."));
        labelTimer_.start(5000);
    } else {
        label_->hide();
    }
}
