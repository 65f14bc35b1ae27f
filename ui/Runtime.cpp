#include "ui/Runtime.h"

#include "text/Gbk.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QMessageBox>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <QEventLoop>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

namespace ui {
namespace {

// One mutex and condition variable for every call waiting on the GUI thread and for the worker
// count: waits end when their call is done or when shutdown begins.
std::mutex g_mutex;
std::condition_variable g_changed;
bool g_shuttingDown = false;
int g_workers = 0;

std::mutex g_hookMutex;
MessageBoxHook g_messageBoxHook;

std::mutex g_placesMutex;
std::string g_documentsOverride;

QString fromGbk(std::string_view gbk) { return QString::fromStdString(text::gbkToUtf8(gbk)); }

} // namespace

bool isGuiThread() {
    const QCoreApplication *app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

bool shuttingDown() {
    std::lock_guard lock(g_mutex);
    return g_shuttingDown;
}

namespace {

// Calls waiting for the GUI thread, handed over through this mailbox (under g_mutex) rather than
// inside Qt's event, so the hand-over of the caller's data is ordered by the program's own lock.
struct PendingCall {
    const std::function<void()> *job;
    bool done = false;
};
std::deque<std::shared_ptr<PendingCall>> g_pending;

void runPendingCalls() {
    for (;;) {
        std::shared_ptr<PendingCall> call;
        {
            std::lock_guard lock(g_mutex);
            if (g_pending.empty())
                return;
            call = std::move(g_pending.front());
            g_pending.pop_front();
            // Once shutdown has begun the caller has stopped waiting, and its job may be gone.
            if (g_shuttingDown)
                continue;
        }
        (*call->job)();
        std::lock_guard lock(g_mutex);
        call->done = true;
        g_changed.notify_all();
    }
}

} // namespace

bool runOnGui(const std::function<void()> &job) {
    if (isGuiThread()) {
        job();
        return true;
    }
    QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        return false;
    auto call = std::make_shared<PendingCall>(PendingCall{&job});
    {
        std::lock_guard lock(g_mutex);
        if (g_shuttingDown)
            return false;
        g_pending.push_back(call);
    }
    QMetaObject::invokeMethod(app, &runPendingCalls, Qt::QueuedConnection);
    std::unique_lock lock(g_mutex);
    g_changed.wait(lock, [&] { return call->done || g_shuttingDown; });
    return call->done;
}

void startWorker(std::function<void()> job) {
    {
        std::lock_guard lock(g_mutex);
        ++g_workers;
    }
    std::thread([job = std::move(job)]() mutable {
        job();
        // Whatever the job holds is released before it counts as finished, so nothing of it
        // outlives a shutdown that waited for it.
        job = nullptr;
        std::lock_guard lock(g_mutex);
        --g_workers;
        g_changed.notify_all();
    }).detach();
}

int runningWorkers() {
    std::lock_guard lock(g_mutex);
    return g_workers;
}

bool beginShutdown(int graceMs) {
    std::unique_lock lock(g_mutex);
    g_shuttingDown = true;
    g_changed.notify_all();
    return g_changed.wait_for(lock, std::chrono::milliseconds(graceMs), [] { return g_workers == 0; });
}

void resetShutdownForTesting() {
    std::lock_guard lock(g_mutex);
    g_shuttingDown = false;
}

void processPendingInput() {
    if (!isGuiThread())
        return;
    if (QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance())
        dispatcher->processEvents(QEventLoop::AllEvents);
}

bool waitPumping(double amount, int unit) {
    double unitMs = unit;
    switch (unit) {
    case 0:
        unitMs = 1;
        break;
    case 1:
        unitMs = 1000;
        break;
    case 2:
        unitMs = 60'000;
        break;
    case 3:
        unitMs = 3'600'000;
        break;
    }
    const double totalMs = amount * unitMs;
    // A negative or absurd wait returns at once rather than spinning or hanging.
    if (!(totalMs > 0) || totalMs > 24.0 * 3'600'000)
        return true;
    const auto ms = static_cast<int>(totalMs);
    if (!isGuiThread()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        return true;
    }
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    return true;
}

void setMessageBoxHook(MessageBoxHook hook) {
    std::lock_guard lock(g_hookMutex);
    g_messageBoxHook = std::move(hook);
}

int messageBox(std::string_view text, int style, std::string_view caption) {
    const std::string shownCaption = caption.empty() ? text::gbk("信息：") : std::string(caption);
    MessageBoxHook hook;
    {
        std::lock_guard lock(g_hookMutex);
        hook = g_messageBoxHook;
    }
    const int declined = (style == QuestionYesNo) ? AnswerNo : (style == InformationOkCancel ? AnswerCancel : AnswerOk);
    int answer = declined;
    runOnGui([&] {
        if (hook) {
            answer = hook(std::string(text), style, shownCaption);
            return;
        }
        QMessageBox box(QApplication::activeWindow());
        box.setWindowModality(Qt::ApplicationModal);
        box.setWindowTitle(fromGbk(shownCaption));
        box.setText(fromGbk(text));
        switch (style) {
        case InformationOkCancel:
            box.setIcon(QMessageBox::Information);
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case QuestionYesNo:
            box.setIcon(QMessageBox::Question);
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        case Warning:
            box.setIcon(QMessageBox::Warning);
            box.setStandardButtons(QMessageBox::Ok);
            break;
        default:
            box.setIcon(QMessageBox::Information);
            box.setStandardButtons(QMessageBox::Ok);
        }
        switch (box.exec()) {
        case QMessageBox::Ok:
            answer = AnswerOk;
            break;
        case QMessageBox::Yes:
            answer = AnswerYes;
            break;
        case QMessageBox::No:
            answer = AnswerNo;
            break;
        default:
            answer = declined;
        }
    });
    return answer;
}

std::string runDirectory() {
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath()).toStdString();
}

std::string_view pathSeparator() {
#ifdef Q_OS_WIN
    return "\\";
#else
    return "/";
#endif
}

std::string documentsFolder() {
    {
        std::lock_guard lock(g_placesMutex);
        if (!g_documentsOverride.empty())
            return QDir(QString::fromStdString(g_documentsOverride)).exists()
                       ? g_documentsOverride + std::string(pathSeparator())
                       : std::string();
    }
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        return {};
    return QDir::toNativeSeparators(folder).toStdString() + std::string(pathSeparator());
}

void setDocumentsFolderForTesting(std::string folder) {
    std::lock_guard lock(g_placesMutex);
    while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\'))
        folder.pop_back();
    g_documentsOverride = std::move(folder);
}

} // namespace ui
