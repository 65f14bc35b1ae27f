#include "playback/SystemBrowser.h"

#include <QDesktopServices>
#include <QUrl>

#include <mutex>

namespace playback {
namespace {

std::mutex g_openerLock;
BrowserOpener g_opener;

} // namespace

bool openInSystemBrowser(std::string_view address) {
    const QUrl url(QString::fromUtf8(address.data(), static_cast<qsizetype>(address.size())), QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return false;
    BrowserOpener opener;
    {
        std::lock_guard lock(g_openerLock);
        opener = g_opener;
    }
    if (opener) {
        opener(std::string(address));
        return true;
    }
    return QDesktopServices::openUrl(url);
}

void setBrowserOpener(BrowserOpener opener) {
    std::lock_guard lock(g_openerLock);
    g_opener = std::move(opener);
}

} // namespace playback
