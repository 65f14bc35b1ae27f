#include "PreviewTest.h"

#include "catalog/Catalog.h"
#include "net/Services.h"

#include <QTest>

#include <algorithm>
#include <cstdlib>

namespace previewtest {

servicesim::Simulator &simulator() {
    // One simulator for the whole run, stopped with the process.
    static servicesim::Simulator *instance = [] {
        auto *sim = new servicesim::Simulator;
        if (!sim->start())
            std::abort();
        return sim;
    }();
    return *instance;
}

void PreviewTest::SetUp() {
    servicesim::Simulator &s = simulator();
    s.clearFaults();
    s.clearResponses();
    s.setScenario({});
    s.routeAllHosts();
    s.clearRequests();
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
