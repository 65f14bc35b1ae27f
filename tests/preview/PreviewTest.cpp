#include "PreviewTest.h"

#include "catalog/Catalog.h"
#include "net/Services.h"

#include <QTest>

#include <algorithm>
#include <cstdlib>

namespace previewtest {

namespace {

// Stops the simulator when the run ends, so none of its threads outlives the tests.
class SimulatorEnvironment : public ::testing::Environment {
public:
    void TearDown() override { servicesim::stopSharedSimulator(); }
};
[[maybe_unused]] ::testing::Environment *const simulatorEnvironment =
    ::testing::AddGlobalTestEnvironment(new SimulatorEnvironment);
} // namespace

servicesim::Simulator &simulator() { return servicesim::sharedSimulator(); }

void PreviewTest::SetUp() {
    simulator().resetForTest();
    MainWindowTest::SetUp();
}

void PreviewTest::TearDown() {
    MainWindowTest::TearDown();
    net::clearRoutes();
}

void PreviewTest::chooseAudio(int index) {
    window->组合框2->setCurrentIndex(index);
    emit window->组合框2->activated(index);
    ASSERT_TRUE(testsupport::waitForWorkers());
}

void PreviewTest::clickRow(ui::EpisodeListView *list, int row) {
    const QModelIndex index = list->model()->index(row, 1);
    list->scrollTo(index);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, list->visualRect(index).center());
}

int PreviewTest::requestCount(std::string_view host) const {
    return static_cast<int>(simulator().requestsTo(host).size());
}

int PreviewTest::thumbnailRequestCount() const {
    int count = 0;
    for (std::string_view host : net::kIqiyiPictureHosts)
        count += requestCount(host);
    return count;
}

std::vector<std::string> PreviewTest::sheetPaths() const {
    std::vector<std::string> paths;
    for (const auto &request : simulator().requestsTo(net::kPptvImageHost))
        paths.push_back(request.path);
    return paths;
}

std::string PreviewTest::mandarin(catalog::TableId table, int n) { return catalog::tables()[table].value(n); }

void PreviewTest::moveMouseTo(int clientX, int clientY) {
    QWidget *client = window->centralWidget();
    const QPoint inWindow = client->mapTo(window.get(), QPoint(clientX, clientY));
    QTest::mouseMove(window.get(), inWindow);
    QCoreApplication::processEvents();
}

int PreviewTest::barMiddleY() const {
    return window->进度条1->mapTo(window->centralWidget(), QPoint(0, window->进度条1->height() / 2)).y();
}

bool PreviewTest::waitForPreview() { return testsupport::waitForWorkers(20000); }

} // namespace previewtest

#if defined(__SANITIZE_THREAD__)
// Added to tests/tsan.supp for this program. glibc hands the stack of a finished detached thread
// (the simulator's connection threads) to the next thread it creates and frees the old thread's
// TLS there, in an order the race detector does not see. GLib, under the threads Qt draws the
// simulator's pictures with, is not built for the detector either.
extern "C" const char *__tsan_default_suppressions() {
    return "race:_dl_deallocate_tls\ncalled_from_lib:libglib-2.0.so.0\n";
}
#endif
