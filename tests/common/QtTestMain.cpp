// main() for test programs that use widgets: the offscreen platform unless a display is chosen,
// one QApplication for the whole run, and a watchdog that ends a hung run with a clear message.

#include "ui/Controls.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

int main(int argc, char **argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    testing::InitGoogleTest(&argc, argv);
    // The embedded browser, loaded later from its module, shares the window system's GL contexts.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    QApplication::setFont(ui::programFont());

    static std::atomic<bool> finished{false};
    std::thread([] {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(5);
        while (!finished && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        if (!finished) {
            std::fprintf(stderr, "watchdog: the test run hung for 5 minutes\n");
            std::_Exit(3);
        }
    }).detach();
    const int result = RUN_ALL_TESTS();
    finished = true;
    return result;
}
