#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <QString>
#include <QTimer>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

class QLabel;
class QProgressBar;
class QPushButton;
class QStatusBar;

// Long work off the window's thread: one job at a time runs on a pool thread while the
// window keeps repainting and answering input; the job's result is handed back on the
// window's thread once it has finished. A cancelled job hands back nothing, so everything
// it would have replaced stays as it was.
class BackgroundWork final : public QObject {
    Q_OBJECT
  public:
    // What a running job sees: whether it should stop, and where to report how far it got.
    class Control {
      public:
        bool Cancelled() const { return cancel_.load(std::memory_order_relaxed); }
        // For core routines that poll a flag themselves.
        const std::atomic<bool>* CancelFlag() const { return &cancel_; }
        // Fraction of the work done, 0 to 1, from any thread at any rate; the window reads it
        // a few times a second.
        void Progress(double fraction) { progress_.store(fraction, std::memory_order_relaxed); }
        double ProgressReported() const { return progress_.load(std::memory_order_relaxed); }
        void Cancel() { cancel_.store(true); }

      private:
        friend class BackgroundWork;
        std::atomic<bool> cancel_{false};
        std::atomic<double> progress_{-1.0};  // below 0: not known yet
    };

    // Threaded: jobs run on a pool thread. Inline: a job runs and hands back its result
    // before Start returns, as plain window code would (for tests that script a sequence
    // of actions and look at each outcome at once).
    enum class Mode { Threaded, Inline };
    static void SetDefaultMode(Mode mode);

    explicit BackgroundWork(QObject* parent = nullptr);
    ~BackgroundWork() override;

    Mode RunMode() const { return mode_; }
    void SetMode(Mode mode) { mode_ = mode; }
    bool IsBusy() const { return busy_; }

    // Runs `job` (`what` names it to the user). When it ends without being cancelled,
    // `finished` gets its result on the window's thread. Returns false, running nothing,
    // while another job runs.
    template <class Result>
    bool Start(const QString& what, std::function<Result(Control&)> job,
               std::function<void(Result&&)> finished) {
        auto result = std::make_shared<std::optional<Result>>();
        return StartJob(
            what,
            [job = std::move(job), result](Control& control) { result->emplace(job(control)); },
            [finished = std::move(finished), result] {
                if (result->has_value()) {
                    finished(std::move(**result));
                }
            });
    }

    // Asks the running job to stop; it hands back nothing.
    void Cancel();
    // Blocks until the running job has ended and its result was handed back.
    void WaitForFinished();

  signals:
    void started(const QString& what);
    // Fraction done (0 to 1), or below 0 while not known.
    void progressChanged(double fraction);
    void cancelling();
    void ended(bool cancelled);
    void busyChanged(bool busy);

  private:
    bool StartJob(const QString& what, std::function<void(Control&)> work,
                  std::function<void()> deliver);
    void JobEnded();

    Mode mode_;
    QFutureWatcher<void> watcher_;
    QTimer progressTimer_;
    std::unique_ptr<Control> control_;
    std::function<void()> deliver_;
    bool busy_ = false;
};

// The status bar's part of long work: the busy pointer, what runs, a progress bar and a
// Cancel button, shown while a job runs.
class WorkIndicator final : public QObject {
    Q_OBJECT
  public:
    WorkIndicator(BackgroundWork& work, QStatusBar* statusBar);
    ~WorkIndicator() override;

    QLabel* Label() const { return label_; }
    QProgressBar* ProgressBar() const { return bar_; }
    QPushButton* CancelButton() const { return cancelButton_; }

  private:
    void Started(const QString& what);
    void Progress(double fraction);
    void Ended(bool cancelled);

    BackgroundWork& work_;
    QLabel* label_;
    QProgressBar* bar_;
    QPushButton* cancelButton_;
    QTimer labelTimer_;
    bool cursorSet_ = false;
};
