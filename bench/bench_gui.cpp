// Figures of the real program on a real (offscreen or X) display: start-up of the main window to its first
// painted frame against a plain dialog with the same widgets, a graded START of the largest purchase, the
// support-rate dialog opened and confirmed, and the peak memory. It prints figures and asserts nothing about
// speed; it fails (non-zero exit) only when the program does not do what is being timed.
#include "core/ticket.h"
#include "res/resource_ids.h"
#include "ui/checker_app.h"
#include "ui/checker_dlg.h"
#include "ui/command_toolbar.h"
#include "ui/support_rate_dlg.h"

// The umbrella header, as Qt's own widget examples use it: the plain dialog needs most widget classes.
#include <QTest>
#include <QtWidgets>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace pomelak;
using Clock = std::chrono::steady_clock;
using DialogMaker = std::function<std::unique_ptr<QDialog>()>;

double msSince(Clock::time_point from) {
    return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

double peakRssMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
}

// Runs the event loop until the condition holds; a figure that never completes is a failure, not a hang.
void processEventsUntil(const std::function<bool()>& done, const char* what) {
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (!done()) {
        if (Clock::now() > deadline) {
            throw std::runtime_error(std::string("timed out waiting for ") + what);
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

// A widget the run needs; a missing one fails the run instead of crashing it.
template <class T> T& need(T* widget, const char* what) {
    if (widget == nullptr) {
        throw std::runtime_error(std::string("the window has no ") + what);
    }
    return *widget;
}

// Notes the objects it watches that receive a paint event. An event filter runs before the event is handled,
// so a note alone does not say that painting is over; the callers read it after the event-loop pass.
struct PaintLog : QObject {
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            painted.insert(watched);
        }
        return false;
    }
    QSet<const QObject*> painted;
};

// Clicks the button and returns the ms until the click, and with it the whole command, has returned. Any
// modal window that answer does not take (given the modal and the ms since the click) is closed and fails the
// run with its title and text, so that an unexpected message box ends the run instead of waiting for a user
// who is not there. The guard is a zero timer, which fires only inside an event loop: a command that
// completes without one never meets it.
double timedClick(QAbstractButton& button, const std::function<bool(QWidget*, double)>& answer = {}) {
    QString failure;
    QTimer guard;
    Clock::time_point clicked{};
    QObject::connect(&guard, &QTimer::timeout, &guard, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || (answer && answer(modal, msSince(clicked)))) {
            return;
        }
        const auto* box = qobject_cast<QMessageBox*>(modal);
        failure = QStringLiteral("closed the unexpected or unanswered window \"%1\"%2")
                      .arg(modal->windowTitle(), box != nullptr ? ": " + box->text() : QString());
        modal->hide(); // ends a dialog's exec() whatever buttons it has
    });
    guard.start(0);
    clicked = Clock::now();
    QTest::mouseClick(&button, Qt::LeftButton);
    const double ms = msSince(clicked);
    if (!failure.isEmpty()) {
        throw std::runtime_error(failure.toStdString());
    }
    return ms;
}

// ---------------------------------------------------------------------------------------------------------
// Start-up to the first painted frame.

// "First frame painted" is taken as the end of the event-loop pass that delivers the window's first paint
// event. The program itself calls exec(), which is show() and then the event loop: the platform answers
// the show with an expose event, and in handling it the repaint manager paints the window, then every child
// in stacking order, then flushes the backing store, all within that one pass. grab()/repaint() would paint
// through another path than the one a shown window takes, so neither is used. The window is then deleted
// outside the figure, its posted deletions flushed so that no run inherits them.
double timedStartUp(const DialogMaker& make) {
    const Clock::time_point start = Clock::now();
    std::unique_ptr<QDialog> window = make();
    PaintLog paints;
    window->installEventFilter(&paints);
    window->show();
    processEventsUntil([&] { return paints.painted.contains(window.get()); }, "the first paint of a window");
    const double ms = msSince(start);
    window.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    return ms;
}

// The Qt class a widget is, or its nearest Qt base for the program's own classes (the toolbar is a QFrame).
QByteArray qtClassName(const QWidget& widget) {
    const QMetaObject* meta = widget.metaObject();
    while (!QByteArray(meta->className()).startsWith('Q')) { // ends at QWidget at the latest
        meta = meta->superClass();
    }
    return meta->className();
}

// Every widget inside a window counted by Qt class, the composite widgets' own parts (headers, viewports,
// scroll bars) included, so that two windows with equal counts hold the same widget tree.
std::string widgetCounts(const QWidget& window) {
    const QList<QWidget*> widgets = window.findChildren<QWidget*>();
    std::map<QByteArray, int> counts;
    for (const QWidget* widget : widgets) {
        ++counts[qtClassName(*widget)];
    }
    std::string line = std::to_string(widgets.size()) + " widgets:";
    for (const auto& [kind, count] : counts) {
        line += " " + kind.toStdString() + " " + std::to_string(count);
    }
    return line;
}

// A plain Qt widget of the real one's class, painting what it paints (for the window, a QDialog with its
// title, font and size), placed where it is and holding copies of the widgets the program put into it. Labels
// and tables come before frames; another class becomes a plain QWidget, which the comparison of the widget
// counts then reports. Images go through QImage so that the copy converts its own pixmaps instead of sharing
// the real ones. Reading the real widgets is part of the plain dialog's figure: measured against copies made
// from values read beforehand, it adds about 0.02 ms to about 3 ms.
QWidget* plainCopy(const QWidget& real, QWidget* parent) {
    QWidget* copy = nullptr;
    if (real.isWindow()) {
        copy = new QDialog;
        copy->setWindowTitle(real.windowTitle());
        copy->setFont(real.font());
        copy->setFixedSize(real.size());
    } else if (const auto* box = qobject_cast<const QCheckBox*>(&real)) {
        copy = new QCheckBox(box->text(), parent);
    } else if (const auto* radio = qobject_cast<const QRadioButton*>(&real)) {
        copy = new QRadioButton(radio->text(), parent);
    } else if (const auto* push = qobject_cast<const QPushButton*>(&real)) {
        copy = new QPushButton(push->text(), parent);
    } else if (const auto* group = qobject_cast<const QGroupBox*>(&real)) {
        copy = new QGroupBox(group->title(), parent);
    } else if (const auto* tool = qobject_cast<const QToolButton*>(&real)) {
        auto* button = new QToolButton(parent);
        button->setIcon(QIcon(QPixmap::fromImage(tool->icon().pixmap(tool->iconSize()).toImage())));
        button->setIconSize(tool->iconSize());
        button->setCheckable(tool->isCheckable());
        copy = button;
    } else if (const auto* label = qobject_cast<const QLabel*>(&real)) {
        auto* text = new QLabel(label->text(), parent);
        text->setFrameStyle(label->frameStyle());
        text->setAlignment(label->alignment());
        if (!label->pixmap().isNull()) { // a null pixmap would clear the text
            text->setPixmap(QPixmap::fromImage(label->pixmap().toImage()));
        }
        copy = text;
    } else if (const auto* edit = qobject_cast<const QLineEdit*>(&real)) {
        auto* line = new QLineEdit(edit->text(), parent);
        line->setFrame(edit->hasFrame());
        copy = line;
    } else if (const auto* table = qobject_cast<const QTableWidget*>(&real)) {
        auto* list = new QTableWidget(0, table->columnCount(), parent);
        for (int column = 0; column < table->columnCount(); ++column) {
            list->setHorizontalHeaderItem(
                column, new QTableWidgetItem(table->model()->headerData(column, Qt::Horizontal).toString()));
            list->setColumnWidth(column, table->columnWidth(column));
        }
        list->verticalHeader()->setVisible(!table->verticalHeader()->isHidden());
        copy = list;
    } else if (const auto* frame = qobject_cast<const QFrame*>(&real)) {
        auto* strip = new QFrame(parent);
        strip->setFrameStyle(frame->frameStyle());
        copy = strip;
    } else {
        copy = new QWidget(parent);
    }
    copy->setGeometry(real.geometry());
    if (real.isHidden() && parent != nullptr) {
        copy->hide();
    }
    // Only the window and these containers hold widgets the program put there; others make their own parts.
    if (const QByteArray kind = qtClassName(real);
        real.isWindow() || kind == "QWidget" || kind == "QFrame" || kind == "QGroupBox") {
        for (QObject* child : real.children()) {
            if (const auto* widget = qobject_cast<const QWidget*>(child)) {
                plainCopy(*widget, copy);
            }
        }
    }
    return copy;
}

// ---------------------------------------------------------------------------------------------------------
// Commands of the main window.

// Shows a window and waits until it is exposed, so that no figure of a command includes the window's own
// first paint.
void showExposed(QWidget& window) {
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        throw std::runtime_error("a main window was never exposed");
    }
}

// The largest accepted purchase, graded: matches 1-5 "1" and "0", match 6 all three, the rest "1" = 96 units.
// Returns the ms from the click until it returned and until the list was repainted.
std::pair<double, double> runGradedStart() {
    const auto window = std::make_unique<CCheckerDlg>();
    showExposed(*window);
    for (int match = 0; match < kMatchCount; ++match) {
        for (int column = 0; column < (match < 5 ? 2 : match == 5 ? 3 : 1); ++column) {
            need(window->controlAs<QCheckBox>(purchaseBoxId(match, column)), "purchase box").setChecked(true);
        }
    }
    auto& list = need(window->controlAs<QTableWidget>(kIdcResultList), "result list");
    const auto& units = need(window->controlAs<QLineEdit>(kIdcUnits), "購入口数");
    // The ticks' own repaints are settled first, so that the next paint of the list is the filled one.
    QCoreApplication::processEvents();
    PaintLog listPaints;
    list.viewport()->installEventFilter(&listPaints);
    const Clock::time_point clicked = Clock::now();
    const double returned = timedClick(need(window->controlAs<QPushButton>(kIdOk), "START"));
    processEventsUntil([&] { return listPaints.painted.contains(list.viewport()); },
                       "the list to be repainted");
    const double repainted = msSince(clicked);
    if (list.rowCount() != 96 || units.text() != QStringLiteral("96")) {
        throw std::runtime_error("START gave " + std::to_string(list.rowCount()) + " rows and 購入口数 \"" +
                                 units.text().toStdString() + "\"; expected 96 and \"96\"");
    }
    return {returned, repainted};
}

// Clicks "支持率入力" and answers the dialog from inside its modal loop: once the dialog has been painted,
// presses its "入力". Returns the ms from the click until the dialog was painted and until the click
// returned.
std::pair<double, double> runSupportRateDialog(QToolButton& openButton) {
    // Watches the whole application: the dialog may paint within its own show(), before the guard meets it.
    PaintLog paints;
    qApp->installEventFilter(&paints);
    double painted = -1;
    const double returned = timedClick(openButton, [&](QWidget* modal, double ms) {
        auto* dialog = qobject_cast<CSupportRateDlg*>(modal);
        auto* input = dialog != nullptr ? dialog->controlAs<QPushButton>(kIdOk) : nullptr;
        if (input == nullptr || ms > 10'000) {
            return false;
        }
        if (painted < 0 && paints.painted.contains(dialog)) {
            painted = ms;
            // Posted, not clicked here: the guard's timer does not fire again until this call returns.
            QTimer::singleShot(0, input, [input] { QTest::mouseClick(input, Qt::LeftButton); });
        }
        return true;
    });
    qApp->removeEventFilter(&paints);
    if (painted < 0) {
        throw std::runtime_error("支持率入力 opened no dialog");
    }
    return {painted, returned};
}

// ---------------------------------------------------------------------------------------------------------
// Report.

using Series = std::vector<double>;

// One warm-up, since the first run of a kind meets cold caches, and then the runs, of two figures each.
std::pair<Series, Series> repeat(int runs, const std::function<std::pair<double, double>()>& run) {
    run();
    std::pair<Series, Series> series;
    for (int i = 0; i < runs; ++i) {
        const auto [first, second] = run();
        series.first.push_back(first);
        series.second.push_back(second);
    }
    return series;
}

double median(Series values) {
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 != 0 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

// A row of figures, after the heading of its section (with its line end) if it starts one.
void printRow(const char* what, const Series& values, const char* section = "") {
    const auto [min, max] = std::minmax_element(values.begin(), values.end());
    std::printf("%s  %-42s %9.2f %9.2f %9.2f\n", section, what, median(values), *min, *max);
}

int runBenchmark(int runs) {
    // The first window pays what every later one finds done: the font database, the style's polish,
    // the images' decoding. It is reported on its own.
    const DialogMaker mainWindow = [] { return std::make_unique<CCheckerDlg>(); };
    const double firstWindow = timedStartUp(mainWindow);
    const double rssFirstWindow = peakRssMiB();
    // A shown main window, hidden while the plain dialogs copy it and shown again for the support-rate
    // dialog.
    const auto window = std::make_unique<CCheckerDlg>();
    showExposed(*window);
    window->hide();
    const DialogMaker plainDialog = [&window] {
        return std::unique_ptr<QDialog>(static_cast<QDialog*>(plainCopy(*window, nullptr)));
    };
    const std::string realCounts = widgetCounts(*window);
    if (const std::string plainCounts = widgetCounts(*plainDialog()); plainCounts != realCounts) {
        throw std::runtime_error("the plain dialog has other widgets than the real window:\n  real  " +
                                 realCounts + "\n  plain " + plainCounts);
    }
    // Alternating, so that both kinds meet the same load from whatever else runs on the machine. The
    // warm-up puts both on the same footing: the cold window left state that later real windows find.
    const auto [realTimes, plainTimes] =
        repeat(runs, [&] { return std::pair(timedStartUp(mainWindow), timedStartUp(plainDialog)); });
    const auto [startReturned, startRepainted] = repeat(runs, runGradedStart);
    showExposed(*window);
    QToolButton& openButton =
        need(need(window->findChild<CommandToolBar*>(), "toolbar").button(kIdSupportRateInput),
             "toolbar button 支持率入力");
    const auto [ratePainted, rateReturned] = repeat(runs, [&] { return runSupportRateDialog(openButton); });
    const double rssEnd = peakRssMiB();

    std::printf("Pomelak GUI benchmark: Qt %s, platform \"%s\", %d runs of each\nMain window, %s\n\n",
                qVersion(), qPrintable(QGuiApplication::platformName()), runs, realCounts.c_str());
    std::printf("  %-42s %9s %9s %9s\nStart-up to the first painted frame\n  %-42s %9.2f\n",
                "ms from the start of the action", "median", "min", "max",
                "first window of the process (cold)", firstWindow);
    printRow("main window", realTimes);
    printRow("plain QDialog, same widgets, font and size", plainTimes);
    std::printf("  %-42s %9.2f   (aim: at most 1.2)\n", "RATIO main/plain, of the medians",
                median(realTimes) / median(plainTimes));
    printRow("click to return", startReturned, "Graded START, 96 units (list 96 rows, 購入口数 96)\n");
    printRow("click to list repainted", startRepainted);
    printRow("click to dialog painted", ratePainted,
             "Support-rate dialog (支持率入力, then 入力 once painted)\n");
    printRow("click to return (confirmed)", rateReturned);
    std::printf("Peak memory (ru_maxrss)\n  %-42s %9.1f MiB\n  %-42s %9.1f MiB\n",
                "after the first window was shown", rssFirstWindow, "at the end", rssEnd);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    // Headless unless told otherwise: QT_QPA_PLATFORM=xcb under xvfb-run measures the X path.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Created once, as the program does: its style and font substitutes are in place for every window.
    pomelak::CCheckerApp app(argc, argv);
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("runs"),
                      QStringLiteral("Start-up pairs, and runs of each other figure."), QStringLiteral("N"),
                      QStringLiteral("50")});
    parser.process(app);
    const int runs = parser.value(QStringLiteral("runs")).toInt();
    if (runs < 1) {
        parser.showHelp(EXIT_FAILURE);
    }
    try {
        return runBenchmark(runs);
    } catch (const std::runtime_error& failure) {
        std::fprintf(stderr, "bench_gui: FAILED: %s\n", failure.what());
        return EXIT_FAILURE;
    }
}
