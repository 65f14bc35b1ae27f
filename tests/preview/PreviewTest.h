#pragma once
// A started main window whose every service host goes to the in-process simulator, with helpers
// to choose the audio, click a row like a user and move the mouse over the preview bar.

#include "MainWindowFixture.h"
#include "Simulator.h"
#include "catalog/Catalog.h"

#include <string>
#include <vector>

namespace previewtest {

servicesim::Simulator &simulator();

class PreviewTest : public MainWindowTest {
protected:
    void SetUp() override;
    void TearDown() override;
    servicesim::Simulator &sim() { return simulator(); }

    void chooseAudio(int index);
    // A left click on the row (0-based) of the list, as the mouse does it.
    void clickRow(ui::EpisodeListView *list, int row);
    // Requests that reached a host, and the paths of those to PPTV's image host.
    int requestCount(std::string_view host) const;
    int thumbnailRequestCount() const;
    std::vector<std::string> sheetPaths() const;
    // The catalogue's Mandarin cell of episode n.
    static std::string mandarin(catalog::TableId table, int n);
    // A mouse move through the window system to client coordinates (x, y) of the main window.
    void moveMouseTo(int clientX, int clientY);
    // The client y of the bar's middle.
    int barMiddleY() const;
    bool waitForPreview();
};

} // namespace previewtest
