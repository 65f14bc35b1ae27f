#pragma once
// Opening a web address in the user's web browser. Only http and https addresses are ever handed
// on; tests replace the opener so no browser is started.

#include <functional>
#include <string>
#include <string_view>

namespace playback {

using BrowserOpener = std::function<void(const std::string &address)>;

// Opens an http or https address in the system browser; answers false (and opens nothing) for
// any other address.
bool openInSystemBrowser(std::string_view address);
// Replaces the system browser (an empty opener restores it).
void setBrowserOpener(BrowserOpener opener);

} // namespace playback
