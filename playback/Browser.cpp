#include "playback/Browser.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

namespace playback {
namespace {

using CreateBrowser = QWidget *(*)(QWidget *);

CreateBrowser browserFactory() {
    static CreateBrowser factory = [] {
        // The module stands beside the program.
        QLibrary module(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("lanyingmi_browser")));
        return module.load() ? reinterpret_cast<CreateBrowser>(module.resolve("lanyingmiCreateBrowser")) : nullptr;
    }();
    return factory;
}

} // namespace

QWidget *createBrowser(QWidget *parent) {
    const CreateBrowser factory = browserFactory();
    return factory ? factory(parent) : nullptr;
}

void browserLoad(QWidget *browser, const QUrl &address) {
    // The web view's "url" property loads the address; reaching it through the meta-object keeps
    // the program free of any link to the web engine.
    if (browser)
        browser->setProperty("url", address);
}

} // namespace playback
