#pragma once
// The window run time the program's logic stands on: calls marshalled to the GUI thread, worker
// threads that never outlive a clean shutdown, message boxes with the program's style and answer
// codes, and the process-wide places (run directory, documents folder).

#include <functional>
#include <string>
#include <string_view>

class QWidget;

namespace ui {

// ---- Threads -------------------------------------------------------------------------------

bool isGuiThread();

// Runs `job` on the GUI thread and waits for it. On the GUI thread it runs at once. Answers false
// (without running it) once shutdown has begun, so a worker never waits on a GUI that is gone.
bool runOnGui(const std::function<void()> &job);

// Runs `job` on the GUI thread and answers its result, or `fallback` once shutdown has begun.
template <typename T, typename F> T readOnGui(F &&job, T fallback = T{}) {
    T result = std::move(fallback);
    runOnGui([&] { result = job(); });
    return result;
}

// Starts a detached worker thread. Shutdown waits a short while for running workers.
void startWorker(std::function<void()> job);
int runningWorkers();

// True once the program has begun to end; long jobs check it and return early.
bool shuttingDown();
// Begins the shutdown: wakes every worker waiting on the GUI thread and gives running workers up
// to `graceMs` to finish. Answers true when every worker has ended.
bool beginShutdown(int graceMs = 3000);
// For tests: lets a new program run start after a shutdown in the same process.
void resetShutdownForTesting();

// Handles pending window messages when input is waiting (GUI thread only; a no-op elsewhere).
void processPendingInput();

// Waits `amount` units while window messages go on being handled, then answers true. Unit 0 (or
// none): milliseconds; 1 seconds; 2 minutes; 3 hours; any other value is a number of
// milliseconds per unit. Off the GUI thread it simply sleeps.
bool waitPumping(double amount, int unit = 0);

// ---- Message boxes -------------------------------------------------------------------------

enum MessageStyle { Information = 64, InformationOkCancel = 65, QuestionYesNo = 36, Warning = 48 };
enum MessageAnswer { AnswerOk = 0, AnswerCancel = 1, AnswerYes = 5, AnswerNo = 6 };

// Shows a task-modal message box on the GUI thread (the caller waits, from any thread). Texts are
// GBK; an empty caption shows "信息：". Answers AnswerCancel/AnswerNo when shutdown cut it short.
int messageBox(std::string_view text, int style, std::string_view caption = {});

using MessageBoxHook = std::function<int(const std::string &text, int style, const std::string &caption)>;
// Tests answer message boxes through this hook instead of a window (empty hook: real boxes).
void setMessageBoxHook(MessageBoxHook hook);

// ---- Places --------------------------------------------------------------------------------

// The directory of the executable, as a UTF-8 path without a trailing separator.
std::string runDirectory();
// The user's documents folder with a trailing separator (UTF-8 path), or the empty text when it
// does not exist.
std::string documentsFolder();
// For tests: a documents folder to use instead of the user's (empty text: the user's again).
void setDocumentsFolderForTesting(std::string folder);

// The platform's path separator ("/" here, "\" on Windows).
std::string_view pathSeparator();

} // namespace ui
