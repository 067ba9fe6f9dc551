#include "playlist/LongScan.h"

#include "app/BusyCursor.h"
#include "app/Dialogs.h"
#include "app/WindowSteps.h"
#include "playlist/DirectoryScan.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QEventLoop>
#include <QGuiApplication>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace nuvo {

namespace {

std::chrono::milliseconds gProgressDelay{500};
constexpr std::chrono::milliseconds kCountRefresh{100};

class ScanJob;

// What the scanning thread and the window share. The thread may outlive the
// job (a cancelled scan stuck on a slow disk is left to end on its own), so
// the state is owned jointly.
struct ScanShared {
    explicit ScanShared(std::vector<TrackSource> s) : sources(std::move(s)) {}

    const std::vector<TrackSource> sources;
    ScanControl control;
    CollectedTracks result;
    std::atomic<bool> finished{false};
    std::mutex mutex;
    ScanJob* owner = nullptr; // under mutex; null once the window no longer waits
};

// One scan on its own thread, seen from the window's thread.
class ScanJob {
public:
    explicit ScanJob(std::vector<TrackSource> sources) : shared_(std::make_shared<ScanShared>(std::move(sources)))
    {
        shared_->owner = this;
        std::thread([shared = shared_] {
            shared->result = collectTracks(shared->sources, &shared->control);
            shared->finished.store(true, std::memory_order_release);
            const std::lock_guard lock(shared->mutex);
            if (ScanJob* owner = shared->owner) {
                // Posted to the job's own object: the news is dropped with it if the job goes first.
                QMetaObject::invokeMethod(&owner->notifier_, [owner] { owner->announceEnd(); }, Qt::QueuedConnection);
            }
        }).detach();
    }

    ~ScanJob()
    {
        const std::lock_guard lock(shared_->mutex);
        shared_->owner = nullptr;
        shared_->control.cancelled.store(true, std::memory_order_relaxed);
    }

    ScanJob(const ScanJob&) = delete;
    ScanJob& operator=(const ScanJob&) = delete;

    bool finished() const { return shared_->finished.load(std::memory_order_acquire); }
    int found() const { return shared_->control.found.load(std::memory_order_relaxed); }
    CollectedTracks take() { return std::move(shared_->result); }

    // Runs on the window's thread when the scan ends; empty for none.
    void onFinished(std::function<void()> action) { whenFinished_ = std::move(action); }

    // Keeps the window painted, without taking the user's input, until the scan ends or
    // the time is up (a negative time waits for the end).
    void waitFor(std::chrono::milliseconds time)
    {
        if (finished())
            return;
        QEventLoop loop;
        onFinished([&loop] { loop.quit(); });
        if (time.count() >= 0)
            QTimer::singleShot(time, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        onFinished({});
    }

private:
    void announceEnd()
    {
        if (whenFinished_)
            whenFinished_();
    }

    std::shared_ptr<ScanShared> shared_;
    QObject notifier_;
    std::function<void()> whenFinished_;
};

// The small window of a long scan: the count found so far and Cancel.
class ScanProgressWindow : public QDialog {
public:
    ScanProgressWindow(QWidget* parent, const ScanJob& job) : QDialog(parent), job_(job)
    {
        setObjectName(QStringLiteral("ScanProgress"));
        setWindowTitle(QStringLiteral("Nuvo"));
        auto* layout = new QVBoxLayout(this);
        count_ = new QLabel(this);
        count_->setObjectName(QStringLiteral("FoundCount"));
        count_->setMinimumWidth(200);
        layout->addWidget(count_);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
        layout->addWidget(buttons);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        showCount();
        auto* refresh = new QTimer(this);
        connect(refresh, &QTimer::timeout, this, [this] { showCount(); });
        refresh->start(kCountRefresh);
    }

private:
    void showCount() { count_->setText(QStringLiteral("Audio files found: %1").arg(job_.found())); }

    const ScanJob& job_;
    QLabel* count_ = nullptr;
};

} // namespace

void setScanProgressDelay(std::chrono::milliseconds delay)
{
    gProgressDelay = delay;
}

std::optional<CollectedTracks> collectWithProgress(const AreaContext& context, const std::vector<TrackSource>& sources)
{
    const bool scans = std::any_of(sources.begin(), sources.end(),
                                   [](const TrackSource& source) { return source.kind == SourceKind::Directory; });
    if (!scans)
        return collectTracks(sources, nullptr);

    BusyCursor busy;
    ScanJob job(sources);
    job.waitFor(gProgressDelay);
    if (!job.finished() && !context.steps.windowClosed()) {
        // While the progress window can be used, the cursor says "busy, but you may act".
        QGuiApplication::changeOverrideCursor(QCursor(Qt::BusyCursor));
        ScanProgressWindow progress(&context.window, job);
        job.onFinished([&progress] { progress.accept(); });
        const int answer = dialogs().exec(progress);
        job.onFinished({});
        if (answer != QDialog::Accepted)
            return std::nullopt;
        job.waitFor(std::chrono::milliseconds(-1));
    }
    if (context.steps.windowClosed() || !job.finished())
        return std::nullopt;
    return job.take();
}

std::optional<QStringList> collectOrReport(const AreaContext& context, const std::vector<TrackSource>& sources)
{
    std::optional<CollectedTracks> collected = collectWithProgress(context, sources);
    if (!collected)
        return std::nullopt;
    if (!collected->error.isEmpty()) {
        dialogs().showError(&context.window, collected->error);
        return std::nullopt;
    }
    return std::move(collected->tracks);
}

} // namespace nuvo
