// Starts a window, waits for its first paint and exits: the program's main window with its list
// filled, or (the baseline) an empty QMainWindow with a QTableView.

#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QTableView>
#include <QTimer>

#ifdef PROBE_PROGRAM_WINDOW
#include "app/MainWindow.h"
#include "ui/Controls.h"
#include "ui/Runtime.h"
#endif

namespace {

// Quits once `watched` has painted and `ready` holds.
class FirstPaint : public QObject {
public:
    FirstPaint(QWidget *watched, std::function<bool()> ready) : ready_(std::move(ready)) {
        watched->installEventFilter(this);
    }
    bool eventFilter(QObject *object, QEvent *event) override {
        if (event->type() == QEvent::Paint && ready_())
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        return QObject::eventFilter(object, event);
    }

private:
    std::function<bool()> ready_;
};

} // namespace

int main(int argc, char **argv) {
    QApplication application(argc, argv);
#ifdef PROBE_PROGRAM_WINDOW
    QApplication::setFont(ui::programFont());
    app::MainWindow window;
    QTableView *list = window.超级列表框1;
    FirstPaint probe(list->viewport(), [list] { return list->model()->rowCount() > 0; });
#else
    QMainWindow window;
    auto *list = new QTableView(&window);
    window.setCentralWidget(list);
    FirstPaint probe(list->viewport(), [] { return true; });
#endif
    window.show();
    const int code = application.exec();
#ifdef PROBE_PROGRAM_WINDOW
    ui::beginShutdown();
#endif
    return code;
}
