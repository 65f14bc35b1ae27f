#include "TestSupport.h"

#include "ui/Runtime.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QThread>
#include <QWidget>

namespace testsupport {

bool waitUntil(const std::function<bool()> &condition, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}

bool waitForWorkers(int timeoutMs) {
    const bool done = waitUntil([] { return ui::runningWorkers() == 0; }, timeoutMs);
    QCoreApplication::processEvents();
    return done;
}

void typeText(QWidget *control, const QString &text) {
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QCoreApplication::sendEvent(control, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(ch));
        QCoreApplication::sendEvent(control, &release);
    }
}

TemporaryDocuments::TemporaryDocuments() { ui::setDocumentsFolderForTesting(dir_.path().toStdString()); }

TemporaryDocuments::~TemporaryDocuments() { ui::setDocumentsFolderForTesting({}); }

std::string TemporaryDocuments::path() const { return dir_.path().toStdString() + "/"; }

} // namespace testsupport
