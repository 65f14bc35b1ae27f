#pragma once
// Helpers for widget tests: waiting for workers while the GUI thread keeps handling events, a
// temporary documents folder, and typing text into a control.

#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <string>

class QWidget;

namespace testsupport {

// Handles events until `condition` holds or `timeoutMs` passes; answers the condition.
bool waitUntil(const std::function<bool()> &condition, int timeoutMs = 10000);
// Handles events until no worker thread runs (and the events they posted are handled).
bool waitForWorkers(int timeoutMs = 10000);

// Sends the text as key presses to the control (works for any script, unlike keyClicks).
void typeText(QWidget *control, const QString &text);

// A fresh documents folder for one test, used by the program instead of the user's.
class TemporaryDocuments {
public:
    TemporaryDocuments();
    ~TemporaryDocuments();
    std::string path() const; // with a trailing separator
    std::string file(const std::string &name) const { return path() + name; }

private:
    QTemporaryDir dir_;
};

} // namespace testsupport
