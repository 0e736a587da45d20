#include <gtest/gtest.h>
#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QThread>
#include <chrono>
#include <optional>
#include <thread>

#include "core/records/FreeFormatReader.h"
#include "ui/app/BackgroundWork.h"
#include "ui/spectra/SpectraJob.h"

namespace {

using Control = BackgroundWork::Control;

// Runs the event loop until `done` holds or five seconds have passed.
template <class Predicate>
bool ProcessEventsUntil(Predicate done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return done();
}

// A job that works until it is cancelled (or two seconds have passed).
int WorkUntilCancelled(Control& control) {
    const auto start = std::chrono::steady_clock::now();
    while (!control.Cancelled() &&
           std::chrono::steady_clock::now() - start < std::chrono::seconds(2)) {
        control.Progress(0.5);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return 1;
}

TEST(BackgroundWork, AThreadedJobRunsOffTheWindowThreadAndHandsBackOnIt) {
    BackgroundWork work;
    work.SetMode(BackgroundWork::Mode::Threaded);
    QThread* jobThread = nullptr;
    QThread* deliveryThread = nullptr;
    std::optional<int> delivered;
    ASSERT_TRUE(work.Start<int>(
        QStringLiteral("Adding"),
        [&](Control&) {
            jobThread = QThread::currentThread();
            return 42;
        },
        [&](int&& value) {
            deliveryThread = QThread::currentThread();
            delivered = value;
        }));
    EXPECT_TRUE(work.IsBusy());
    ASSERT_TRUE(ProcessEventsUntil([&] { return delivered.has_value(); }));
    EXPECT_EQ(*delivered, 42);
    EXPECT_NE(jobThread, QCoreApplication::instance()->thread());
    EXPECT_EQ(deliveryThread, QCoreApplication::instance()->thread());
    EXPECT_FALSE(work.IsBusy());
}

TEST(BackgroundWork, ACancelledJobHandsBackNothingAndASecondJobWaitsItsTurn) {
    BackgroundWork work;
    work.SetMode(BackgroundWork::Mode::Threaded);
    bool delivered = false;
    std::optional<bool> endedCancelled;
    QObject::connect(&work, &BackgroundWork::ended,
                     [&](bool cancelled) { endedCancelled = cancelled; });
    ASSERT_TRUE(work.Start<int>(QStringLiteral("Waiting"), WorkUntilCancelled,
                                [&](int&&) { delivered = true; }));
    EXPECT_FALSE(work.Start<int>(
        QStringLiteral("Second"), [](Control&) { return 0; }, [&](int&&) { delivered = true; }));
    work.Cancel();
    work.WaitForFinished();
    EXPECT_FALSE(delivered);
    ASSERT_TRUE(endedCancelled.has_value());
    EXPECT_TRUE(*endedCancelled);
    // Free again.
    EXPECT_TRUE(work.Start<int>(
        QStringLiteral("Third"), [](Control&) { return 3; }, [&](int&&) { delivered = true; }));
    work.WaitForFinished();
    EXPECT_TRUE(delivered);
}

TEST(WorkIndicator, ShowsBusyPointerProgressAndCancelOnlyWhileAJobRuns) {
    QStatusBar statusBar;
    BackgroundWork work;
    work.SetMode(BackgroundWork::Mode::Threaded);
    WorkIndicator indicator(work, &statusBar);
    EXPECT_TRUE(indicator.ProgressBar()->isHidden());
    EXPECT_TRUE(indicator.CancelButton()->isHidden());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    bool delivered = false;
    ASSERT_TRUE(work.Start<int>(QStringLiteral("Computing spectra"), WorkUntilCancelled,
                                [&](int&&) { delivered = true; }));
    EXPECT_FALSE(indicator.ProgressBar()->isHidden());
    EXPECT_FALSE(indicator.CancelButton()->isHidden());
    EXPECT_EQ(indicator.Label()->text(), "Computing spectra");
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::BusyCursor);
    // The job reports half its work; the bar follows within a few of its updates.
    EXPECT_TRUE(ProcessEventsUntil([&] {
        return indicator.ProgressBar()->maximum() > 0 &&
               indicator.ProgressBar()->value() == indicator.ProgressBar()->maximum() / 2;
    }));

    indicator.CancelButton()->click();
    work.WaitForFinished();
    EXPECT_FALSE(delivered);
    EXPECT_TRUE(indicator.ProgressBar()->isHidden());
    EXPECT_TRUE(indicator.CancelButton()->isHidden());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(indicator.Label()->text(), "Cancelled: nothing was changed.");
}

travik::TimeHistory SampleRecord() {
    travik::FreeFormatParameters parameters;
    parameters.timeStep = 0.02;
    travik::ReadResult read = travik::ReadFreeFormatFile(
        std::string(TRAVIK_SAMPLE_DATA_DIR) + "/elcentro-1940-chopra-ns.txt", parameters);
    EXPECT_TRUE(read.ok()) << read.message;
    return *read.record;
}

TEST(ComputeSpectraAsJob, GivesTheDigitsOfOneComputationAndStopsWhenCancelled) {
    const travik::TimeHistory record = SampleRecord();
    travik::AnalysisSettings settings;
    settings.minPeriod = 0.1;
    settings.maxPeriod = 2.0;
    settings.periodStep = 0.1;
    const std::vector<double> periods = {0.0, 0.1, 0.5, 1.0, 2.0};
    const std::vector<double> damping = {0.02, 0.05, 0.2};
    const travik::SpectraResult whole = travik::ComputeSpectra(record, settings, damping, periods);

    Control control;
    const std::optional<travik::SpectraResult> steps =
        ComputeSpectraAsJob(record, settings, damping, periods, control);
    ASSERT_TRUE(steps.has_value());
    EXPECT_EQ(steps->dampingRatios, whole.dampingRatios);
    EXPECT_EQ(steps->periods, whole.periods);
    EXPECT_EQ(steps->frequencies, whole.frequencies);
    EXPECT_EQ(steps->peakGroundAcceleration, whole.peakGroundAcceleration);
    EXPECT_EQ(steps->computed, whole.computed);
    for (std::size_t kind = 0; kind < whole.columns.size(); ++kind) {
        EXPECT_EQ(steps->columns[kind], whole.columns[kind]) << "kind " << kind;
    }
    EXPECT_EQ(steps->failures.size(), whole.failures.size());
    EXPECT_EQ(steps->recordName, whole.recordName);
    EXPECT_EQ(control.ProgressReported(), 1.0);

    Control cancelled;
    cancelled.Cancel();
    EXPECT_FALSE(ComputeSpectraAsJob(record, settings, damping, periods, cancelled).has_value());
}

}  // namespace
