// 岚影迷: the program entry.

#include "app/MainWindow.h"
#include "net/Control.h"
#include "net/Services.h"
#include "ui/Controls.h"
#include "ui/Runtime.h"

#include <QApplication>
#include <QPointer>
#include <QSocketNotifier>

#include <cstdio>
#include <cstdlib>

#ifndef _WIN32
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace {

#ifndef _WIN32
int g_endRequest[2] = {-1, -1};

void onEndSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_endRequest[0], &byte, 1);
}

// When the session ends or the user stops the program from a terminal, close the main window as
// if its close button had been clicked, so the same shutdown runs and the exit code stays 0. A
// request that comes during start-up waits for the message loop.
void closeOnEndSignals(const QPointer<QWidget> *window) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_endRequest) != 0)
        return;
    auto *notifier = new QSocketNotifier(g_endRequest[1], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, qApp, [window, notifier] {
        char byte = 0;
        [[maybe_unused]] const ssize_t got = ::read(g_endRequest[1], &byte, 1);
        notifier->setEnabled(false);
        if (*window)
            (*window)->close();
        else
            QCoreApplication::quit();
    });
    struct sigaction action = {};
    action.sa_handler = onEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}
#endif

} // namespace

int main(int argc, char *argv[]) {
#ifndef _WIN32
    // The embedded browser refuses to start its sandbox as root.
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
#endif
    // The embedded browser, loaded later from its module, shares the window system's GL contexts.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("岚影迷"));
    QApplication::setQuitOnLastWindowClosed(true);
    QApplication::setFont(ui::programFont());
    net::installDemoRoutes();

    QPointer<QWidget> mainWindow;
#ifndef _WIN32
    closeOnEndSignals(&mainWindow);
#endif
    auto *window = new app::MainWindow;
    mainWindow = window;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    const int code = application.exec();

    // Workers still running get a moment to finish: their transfers end at once, and one stuck
    // anyway must not keep the program alive or run into objects being torn down.
    net::abortAllTransfers();
    if (!ui::beginShutdown()) {
        std::fflush(nullptr);
        std::_Exit(code);
    }
    delete mainWindow.data();
    return code;
}
