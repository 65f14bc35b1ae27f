// The browser module: makes the embedded web view the mini player shows its page in.

#include <QWebEnginePage>
#include <QWebEngineView>

namespace {

// A page that never opens a window of its own: links that want a new window stay unopened.
class PlayerWebPage : public QWebEnginePage {
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    QWebEnginePage *createWindow(WebWindowType) override { return nullptr; }
};

} // namespace

extern "C" Q_DECL_EXPORT QWidget *lanyingmiCreateBrowser(QWidget *parent) {
    auto *view = new QWebEngineView(parent);
    view->setPage(new PlayerWebPage(view));
    return view;
}
