// Side-by-side measurements of the main window's hot paths:
//  - one search keystroke: the filter job plus the repaint of the result list, beside the same
//    work done by QStandardItemModel + QSortFilterProxyModel;
//  - process start to the first painted main window with its filled list, beside an empty
//    QMainWindow with a QTableView.

#include "app/MainWindow.h"
#include "ui/Controls.h"
#include "ui/Runtime.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include "SideBySide.h"

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

void waitForWorkers() {
    while (ui::runningWorkers() > 0)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    QCoreApplication::processEvents();
}

const QString kTexts[] = {QStringLiteral("12"), QStringLiteral("13")};

void BM_SearchKeystroke_Program(benchmark::State &state) {
    app::MainWindow window;
    window.show();
    waitForWorkers();
    window.组合框2->setCurrentIndex(1);
    emit window.组合框2->activated(1);
    waitForWorkers();
    window.编辑框1->setFocus();
    QCoreApplication::processEvents();
    int i = 0;
    for (auto _ : state) {
        window.编辑框1->setText(kTexts[i++ % 2]);
        waitForWorkers();
        window.超级列表框2->viewport()->repaint();
    }
    state.counters["rows"] = window.超级列表框2->model()->rowCount();
}

// Number and title joined, searched case-sensitively: the same rule, done the usual Qt way.
class JoinedFilter : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;
    void setNeedle(const QString &needle) {
        needle_ = needle;
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex &parent) const override {
        const QString joined = sourceModel()->index(row, 1, parent).data().toString() +
                               sourceModel()->index(row, 2, parent).data().toString();
        return joined.contains(needle_, Qt::CaseSensitive);
    }

private:
    QString needle_;
};

void BM_SearchKeystroke_StandardModelProxy(benchmark::State &state) {
    // The same 775 rows with seven cells each, taken from the program's own list.
    app::MainWindow source;
    source.组合框2->setCurrentIndex(1);
    emit source.组合框2->activated(1);
    waitForWorkers();
    const ui::EpisodeListModel *rows = source.超级列表框1->episodes();
    QStandardItemModel model(rows->rowCount(), 8);
    for (int r = 0; r < rows->rowCount(); ++r)
        for (int c = 1; c <= 7; ++c)
            model.setItem(r, c, new QStandardItem(ui::toQString(rows->cell(r, c))));
    JoinedFilter proxy;
    proxy.setSourceModel(&model);
    // A window of the main window's size with a search field over the list, filtering as it changes.
    QWidget window;
    window.resize(source.size());
    QLineEdit field(&window);
    field.setGeometry(192, 14, 152, 24);
    QTableView view(&window);
    view.setModel(&proxy);
    view.setGeometry(0, 113, 393, 315);
    QObject::connect(&field, &QLineEdit::textChanged, &proxy, &JoinedFilter::setNeedle);
    window.show();
    field.setFocus();
    QCoreApplication::processEvents();
    int i = 0;
    for (auto _ : state) {
        field.setText(kTexts[i++ % 2]);
        QCoreApplication::processEvents();
        view.viewport()->repaint();
    }
    state.counters["rows"] = proxy.rowCount();
}

void runProcess(benchmark::State &state, const char *program) {
    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", home.path());
    env.insert("XDG_CONFIG_HOME", home.filePath(".config"));
    for (auto _ : state) {
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(QString::fromUtf8(program), {});
        if (!process.waitForFinished(30000) || process.exitCode() != 0) {
            state.SkipWithError("probe failed");
            break;
        }
    }
}

void BM_StartToFirstPaint_Program(benchmark::State &state) { runProcess(state, PROBE_PROGRAM); }
void BM_StartToFirstPaint_EmptyTableWindow(benchmark::State &state) { runProcess(state, PROBE_BASELINE); }

} // namespace

BENCHMARK(BM_SearchKeystroke_Program)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_SearchKeystroke_StandardModelProxy)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_StartToFirstPaint_Program)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_StartToFirstPaint_EmptyTableWindow)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

int main(int argc, char **argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QApplication::setFont(ui::programFont());
    std::vector<char *> arguments;
    benchside::initialize(argc, argv, arguments, 9);
    benchside::MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    if (const double r = reporter.ratio("BM_SearchKeystroke_Program", "BM_SearchKeystroke_StandardModelProxy"))
        std::printf("search keystroke / QStandardItemModel + QSortFilterProxyModel: %.2f (goal <= 1.0)\n", r);
    if (const double r = reporter.ratio("BM_StartToFirstPaint_Program", "BM_StartToFirstPaint_EmptyTableWindow"))
        std::printf("start to first painted main window / empty QMainWindow with a QTableView: %.2f (goal <= 1.5)\n", r);
    benchmark::Shutdown();
    ui::beginShutdown();
    return 0;
}
