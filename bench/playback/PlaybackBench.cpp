// The play request from the "播放" click to the mini player's loadFinished (the fill, the page
// written, the browser pointed at it) beside a bare QWebEngineView loading the same page file.
// Both browsers are created and warmed up once, so each iteration is one page load.

#include "SideBySide.h"
#include "app/MainWindow.h"
#include "catalog/Catalog.h"
#include "playback/MiniPlayerWindow.h"
#include "playback/PlayRequest.h"
#include "playback/PlaybackState.h"
#include "text/Gbk.h"
#include "ui/Controls.h"
#include "ui/ProgramState.h"
#include "ui/Runtime.h"

#include <QApplication>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEngineView>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

app::MainWindow *g_window = nullptr;
QWebEngineView *g_bareView = nullptr;

// Runs `start` and handles events until `view` reports a finished load; answers its result.
template <typename F> bool loadAndWait(QWebEngineView *view, F start) {
    QEventLoop loop;
    bool ok = false;
    QTimer timeout;
    timeout.setSingleShot(true);
    QObject::connect(&timeout, &QTimer::timeout, &loop, [&] { loop.quit(); });
    const auto connection = QObject::connect(view, &QWebEngineView::loadFinished, &loop, [&](bool finished) {
        ok = finished;
        loop.quit();
    });
    timeout.start(30000);
    start();
    loop.exec();
    QObject::disconnect(connection);
    return ok;
}

// The mini player's browser: a QWebEngineView made by the browser module.
QWebEngineView *browserOf(playback::MiniPlayerWindow *player) {
    return qobject_cast<QWebEngineView *>(player->超文本浏览框1);
}

void chooseEpisode12(app::MainWindow *window) {
    const auto &t = catalog::tables();
    ui::setCaption(window->标签4, text::gbk("名侦探岚影  第12集"));
    ui::setCaption(window->标签5, t[catalog::TableId::JapaneseTitles].value(12));
    playback::setSelectedIds({t[catalog::TableId::JapaneseSohuIds].value(12)});
}

void BM_PlayClickToLoaded_MiniPlayer(benchmark::State &state) {
    for (auto _ : state) {
        bool ok = loadAndWait(browserOf(playback::miniPlayer()), [] { g_window->超级按钮1->click(); });
        if (!ok) {
            state.SkipWithError("the page did not load");
            break;
        }
    }
}

void BM_PlayClickToLoaded_BareWebEngineView(benchmark::State &state) {
    const QUrl page = QUrl::fromLocalFile(QString::fromStdString(ui::playerPagePath.get()));
    for (auto _ : state) {
        if (!loadAndWait(g_bareView, [&] { g_bareView->load(page); })) {
            state.SkipWithError("the page did not load");
            break;
        }
    }
}

} // namespace

BENCHMARK(BM_PlayClickToLoaded_MiniPlayer)->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();
BENCHMARK(BM_PlayClickToLoaded_BareWebEngineView)->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();

int main(int argc, char **argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    QApplication::setFont(ui::programFont());
    QTemporaryDir documents;
    ui::setDocumentsFolderForTesting(documents.path().toStdString() + "/");

    auto window = std::make_unique<app::MainWindow>();
    g_window = window.get();
    window->show();
    while (ui::runningWorkers() > 0)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    chooseEpisode12(g_window);
    // The first play creates the mini player and starts the web engine; the bare view then loads
    // the page file that play wrote.
    g_window->超级按钮1->click();
    playback::MiniPlayerWindow *player = playback::miniPlayer();
    if (!player || !browserOf(player) || !loadAndWait(browserOf(player), [] {})) {
        std::fprintf(stderr, "the mini player did not load its page\n");
        return 1;
    }
    auto bare = std::make_unique<QWebEngineView>();
    g_bareView = bare.get();
    bare->resize(player->超文本浏览框1->size());
    bare->show();
    loadAndWait(g_bareView, [&] { g_bareView->load(QUrl::fromLocalFile(QString::fromStdString(ui::playerPagePath.get()))); });

    std::vector<char *> arguments;
    benchside::initialize(argc, argv, arguments, 9);
    benchside::MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    if (const double r = reporter.ratio("BM_PlayClickToLoaded_MiniPlayer", "BM_PlayClickToLoaded_BareWebEngineView"))
        std::printf("播放 click to loadFinished / bare QWebEngineView loading the same file: %.2f (goal <= 1.2)\n", r);
    benchmark::Shutdown();
    bare.reset();
    window.reset();
    ui::beginShutdown();
    return 0;
}
