#pragma once
// The embedded browser, seen from the program: a widget made by the browser module, which is
// loaded the first time a browser is made, never at start-up.

#include <QUrl>
#include <QWidget>

namespace playback {

// A new browser widget (a web view that refuses new windows), or nullptr when the browser
// module cannot be loaded. GUI thread only.
QWidget *createBrowser(QWidget *parent);
// Shows `address` in a browser made by createBrowser. Its signal loadFinished(bool) tells when
// the page has loaded.
void browserLoad(QWidget *browser, const QUrl &address);

} // namespace playback
