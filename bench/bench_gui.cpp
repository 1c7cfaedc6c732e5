// Figures of the real program on a real (offscreen or X) display: start-up of the main window to its first
// painted frame against a plain dialog with the same widgets, a graded START of the largest purchase, the
// support-rate dialog opened and confirmed, and the peak memory. It prints figures and asserts nothing about
// speed; it fails (non-zero exit) only when the program does not do what is being timed.
//
// Usage: bench_gui [--runs=N] [--profile=real|bare|cold]
//   --runs=N         pairs of start-up runs, and runs of each other figure (default 50)
//   --profile=KIND   no figures: N warm start-ups of one kind inside profiledStartUps(), or with "cold"
//                    only the process's first window, for
//                    valgrind --tool=callgrind --collect-atstart=no --toggle-collect='*profiledStartUps*'
//                    (or --toggle-collect='*runRealWindow*' for the first window)
#include "res/resource_ids.h"
#include "ui/checker_app.h"
#include "ui/checker_dlg.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Anything that stops a figure from meaning what it says; main() turns it into a non-zero exit.
struct BenchFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

double msBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// CPU time of the calling thread: unlike the wall clock it does not grow while other processes hold the
// CPUs, so it keeps the comparison of two windows fair on a busy machine.
double threadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

struct Summary {
    double median = 0;
    double min = 0;
    double max = 0;
};

Summary summarize(std::vector<double> values) {
    if (values.empty()) {
        return {};
    }
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    const double median = values.size() % 2 != 0 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
    return {median, values.front(), values.back()};
}

double maxRssMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
}

// The one-minute figure of a loadAverage() text; 0 when unknown.
double loadOne(const std::string& load) {
    return std::strtod(load.c_str(), nullptr);
}

std::string loadAverage() {
    std::ifstream file("/proc/loadavg");
    std::string one, five, fifteen;
    if (!(file >> one >> five >> fifteen)) {
        return "unknown";
    }
    return one + " " + five + " " + fifteen;
}

// Runs the event loop until the condition holds; a figure that never completes is a failure, not a hang.
void processEventsUntil(const std::function<bool()>& done, const char* what) {
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (!done()) {
        if (Clock::now() > deadline) {
            throw BenchFailure(std::string("timed out waiting for ") + what);
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

// Notes that a paint event reached the watched object. An event filter runs before the event is handled,
// so the flag alone does not say that painting is over; the callers read it after the event-loop pass.
class PaintWatcher : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && (m_target == nullptr || watched == m_target)) {
            painted = true;
        }
        return false;
    }
    void watchOnly(QObject* target) { m_target = target; }

    bool painted = false;

private:
    QObject* m_target = nullptr;
};

// Notes every window that receives a paint event, for a window that may be painted before it is known.
class WindowPaintLog : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            if (const auto* widget = qobject_cast<const QWidget*>(watched);
                widget != nullptr && widget->isWindow()) {
                m_painted.insert(watched);
            }
        }
        return false;
    }
    [[nodiscard]] bool painted(const QObject* window) const { return m_painted.contains(window); }

private:
    QSet<const QObject*> m_painted;
};

// Deleting a window is not part of any figure; posted deletions are flushed so that no run inherits them.
void discardWindow(std::unique_ptr<QDialog> window) {
    window.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// ---------------------------------------------------------------------------------------------------------
// Start-up to the first painted frame.

struct FrameTiming {
    double built = 0;   // constructor done
    double painted = 0; // first frame painted
    double cpu = 0;     // CPU time of the main thread until then
};

struct ShownWindow {
    std::unique_ptr<QDialog> window;
    FrameTiming timing;
};

// "First frame painted" is taken as the end of the event-loop pass that delivers the window's first paint
// event. The program itself calls exec(), which is show() and then the event loop: the platform answers
// the show with an expose event, and in handling it the repaint manager paints the window, then every child
// in stacking order, then flushes the backing store, all within that one pass. A filter on the window alone
// would stop the clock before any child is painted, and grab()/repaint() would paint through another path
// than the one a shown window takes, so neither is used.
FrameTiming showUntilFirstFrame(QDialog& window, double cpuStart, Clock::time_point start,
                                Clock::time_point built) {
    PaintWatcher watcher;
    watcher.watchOnly(&window);
    window.installEventFilter(&watcher);
    window.show();
    processEventsUntil([&watcher] { return watcher.painted; }, "the first paint of a window");
    const Clock::time_point painted = Clock::now();
    window.removeEventFilter(&watcher);
    const double cpu = threadCpuMs() - cpuStart;
    return {msBetween(start, built), msBetween(start, painted), cpu};
}

// Kept out of line so that callgrind can collect exactly one window's start-up.
[[gnu::noinline]] ShownWindow runRealWindow() {
    const double cpuStart = threadCpuMs();
    const Clock::time_point start = Clock::now();
    auto window = std::make_unique<pomelak::CCheckerDlg>();
    const Clock::time_point built = Clock::now();
    const FrameTiming timing = showUntilFirstFrame(*window, cpuStart, start, built);
    return {std::move(window), timing};
}

// The Qt class a widget is, or its nearest Qt base for the program's own classes (the toolbar strip is a
// QFrame).
QByteArray qtClassName(const QWidget& widget) {
    const QMetaObject* meta = widget.metaObject();
    while (meta != nullptr && !QByteArray(meta->className()).startsWith('Q')) {
        meta = meta->superClass();
    }
    return meta != nullptr ? QByteArray(meta->className()) : QByteArray("?");
}

// Every widget inside a window, grouped by Qt class: the composite widgets' own parts (headers, viewports,
// scroll bars) included, so that two windows with equal counts build the same widget tree.
std::map<QByteArray, int> widgetCounts(const QWidget& window) {
    std::map<QByteArray, int> counts;
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
        ++counts[qtClassName(*widget)];
    }
    return counts;
}

// One widget of the plain dialog: its kind and whatever it paints, copied from the real window so that both
// windows paint the same pixels and differ only in how they are built.
struct WidgetCopy {
    QByteArray kind;
    int parent = -1; // index of the enclosing copy; -1 for the dialog itself
    QRect geometry;
    bool hidden = false;
    QString text;
    QImage image; // tool button icon or label picture
    QSize iconSize;
    bool checkable = false;
    int frameStyle = 0;
    Qt::Alignment alignment;
    bool frame = true;
    QStringList headers;
    QList<int> columnWidths;
    bool verticalHeaderHidden = false;
};

struct WindowCopy {
    QString title;
    QFont font;
    QSize size;
    std::vector<WidgetCopy> widgets;
};

// Containers whose children were put there by the program; every other kind makes its own parts.
bool isPlainContainer(const QByteArray& kind) {
    return kind == "QWidget" || kind == "QFrame" || kind == "QGroupBox";
}

void copyChildren(const QWidget& parent, int parentIndex, std::vector<WidgetCopy>& out) {
    for (QObject* object : parent.children()) {
        const auto* widget = qobject_cast<const QWidget*>(object);
        if (widget == nullptr) {
            continue;
        }
        WidgetCopy copy;
        copy.kind = qtClassName(*widget);
        copy.parent = parentIndex;
        copy.geometry = widget->geometry();
        copy.hidden = widget->isHidden();
        if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
            copy.text = button->text();
            copy.checkable = button->isCheckable();
            copy.iconSize = button->iconSize();
            if (!button->icon().isNull()) {
                copy.image = button->icon().pixmap(button->iconSize()).toImage();
            }
        } else if (const auto* label = qobject_cast<const QLabel*>(widget)) {
            copy.text = label->text();
            copy.frameStyle = label->frameStyle();
            copy.alignment = label->alignment();
            copy.image = label->pixmap().toImage();
        } else if (const auto* box = qobject_cast<const QGroupBox*>(widget)) {
            copy.text = box->title();
        } else if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) {
            copy.text = edit->text();
            copy.frame = edit->hasFrame();
        } else if (const auto* table = qobject_cast<const QTableWidget*>(widget)) {
            for (int column = 0; column < table->columnCount(); ++column) {
                const QTableWidgetItem* header = table->horizontalHeaderItem(column);
                copy.headers.append(header != nullptr ? header->text() : QString());
                copy.columnWidths.append(table->columnWidth(column));
            }
            copy.verticalHeaderHidden = table->verticalHeader()->isHidden();
        } else if (const auto* frame = qobject_cast<const QFrame*>(widget)) {
            copy.frameStyle = frame->frameStyle();
        } else if (copy.kind != "QWidget") {
            throw BenchFailure("the plain dialog cannot copy a " + copy.kind.toStdString() +
                               "; teach copyChildren and buildCopy about it");
        }
        out.push_back(copy);
        if (isPlainContainer(copy.kind)) {
            copyChildren(*widget, static_cast<int>(out.size()) - 1, out);
        }
    }
}

WindowCopy copyWindow(const QDialog& real) {
    WindowCopy copy{real.windowTitle(), real.font(), real.size(), {}};
    copyChildren(real, -1, copy.widgets);
    return copy;
}

QWidget* buildCopy(const WidgetCopy& copy, QWidget* parent) {
    if (copy.kind == "QCheckBox") {
        return new QCheckBox(copy.text, parent);
    }
    if (copy.kind == "QRadioButton") {
        return new QRadioButton(copy.text, parent);
    }
    if (copy.kind == "QPushButton") {
        return new QPushButton(copy.text, parent);
    }
    if (copy.kind == "QToolButton") {
        auto* button = new QToolButton(parent);
        if (!copy.image.isNull()) {
            button->setIcon(QIcon(QPixmap::fromImage(copy.image)));
        }
        button->setIconSize(copy.iconSize);
        button->setCheckable(copy.checkable);
        return button;
    }
    if (copy.kind == "QLabel") {
        auto* label = new QLabel(copy.text, parent);
        label->setFrameStyle(copy.frameStyle);
        label->setAlignment(copy.alignment);
        if (!copy.image.isNull()) {
            label->setPixmap(QPixmap::fromImage(copy.image));
        }
        return label;
    }
    if (copy.kind == "QGroupBox") {
        return new QGroupBox(copy.text, parent);
    }
    if (copy.kind == "QLineEdit") {
        auto* edit = new QLineEdit(copy.text, parent);
        edit->setFrame(copy.frame);
        return edit;
    }
    if (copy.kind == "QTableWidget") {
        auto* table = new QTableWidget(0, static_cast<int>(copy.headers.size()), parent);
        table->setHorizontalHeaderLabels(copy.headers);
        for (int column = 0; column < copy.columnWidths.size(); ++column) {
            table->setColumnWidth(column, copy.columnWidths.at(column));
        }
        table->verticalHeader()->setHidden(copy.verticalHeaderHidden);
        return table;
    }
    if (copy.kind == "QFrame") {
        auto* frame = new QFrame(parent);
        frame->setFrameStyle(copy.frameStyle);
        return frame;
    }
    return new QWidget(parent);
}

std::unique_ptr<QDialog> buildPlainDialog(const WindowCopy& copy) {
    auto dialog = std::make_unique<QDialog>();
    dialog->setWindowTitle(copy.title);
    dialog->setFont(copy.font);
    dialog->setFixedSize(copy.size);
    std::vector<QWidget*> built;
    built.reserve(copy.widgets.size());
    for (const WidgetCopy& widget : copy.widgets) {
        QWidget* parent = widget.parent < 0 ? dialog.get() : built[static_cast<std::size_t>(widget.parent)];
        QWidget* child = buildCopy(widget, parent);
        child->setGeometry(widget.geometry);
        if (widget.hidden) {
            child->hide();
        }
        built.push_back(child);
    }
    return dialog;
}

[[gnu::noinline]] ShownWindow runBareWindow(const WindowCopy& copy) {
    const double cpuStart = threadCpuMs();
    const Clock::time_point start = Clock::now();
    std::unique_ptr<QDialog> window = buildPlainDialog(copy);
    const Clock::time_point built = Clock::now();
    const FrameTiming timing = showUntilFirstFrame(*window, cpuStart, start, built);
    return {std::move(window), timing};
}

// ---------------------------------------------------------------------------------------------------------
// Commands of the main window.

template <class T> T* findByName(const QWidget& window, const QString& name) {
    for (T* widget : window.findChildren<T*>()) {
        if (widget->accessibleName() == name) {
            return widget;
        }
    }
    return nullptr;
}

std::unique_ptr<pomelak::CCheckerDlg> shownMainWindow() {
    auto window = std::make_unique<pomelak::CCheckerDlg>();
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get())) {
        throw BenchFailure("the main window was never exposed");
    }
    return window;
}

// Closes any modal window that opens while armed, so that an unexpected message box fails the run instead
// of waiting for a user who is not there. A zero timer fires only inside an event loop: a command that
// completes without one never meets it.
class ModalGuard {
public:
    ModalGuard() {
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                m_opened = true;
                m_seen = modal->windowTitle();
                modal->close();
            }
        });
        m_timer.start(0);
    }
    [[nodiscard]] bool opened() const { return m_opened; }
    [[nodiscard]] const QString& seen() const { return m_seen; }

private:
    QTimer m_timer;
    bool m_opened = false;
    QString m_seen;
};

struct StartTiming {
    double returned = 0;
    double repainted = 0;
};

// The largest accepted purchase, graded: matches 1-5 "1" and "0", match 6 all three, the rest "1" = 96 units.
StartTiming runGradedStart() {
    const std::unique_ptr<pomelak::CCheckerDlg> window = shownMainWindow();
    const QString outcomes[] = {QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("2")};
    for (int match = 1; match <= 13; ++match) {
        const int marks = match <= 5 ? 2 : match == 6 ? 3 : 1;
        for (int column = 0; column < marks; ++column) {
            const QString name =
                QStringLiteral("購入 試合%1 %2").arg(match).arg(outcomes[static_cast<std::size_t>(column)]);
            auto* box = findByName<QCheckBox>(*window, name);
            if (box == nullptr) {
                throw BenchFailure("no purchase box " + name.toStdString());
            }
            box->setChecked(true);
        }
    }
    auto* list = window->findChild<QTableWidget*>();
    auto* units = findByName<QLineEdit>(*window, QStringLiteral("購入口数"));
    auto* start = window->controlAs<QPushButton>(pomelak::kIdOk);
    if (list == nullptr || units == nullptr || start == nullptr) {
        throw BenchFailure("the main window lacks its list, its unit count field or START");
    }
    // The ticks' own repaints are settled first, so that the next paint of the list is the filled one.
    QCoreApplication::processEvents();
    PaintWatcher listPainted;
    list->viewport()->installEventFilter(&listPainted);

    ModalGuard guard;
    const Clock::time_point clicked = Clock::now();
    QTest::mouseClick(start, Qt::LeftButton);
    const Clock::time_point returned = Clock::now();
    processEventsUntil([&listPainted] { return listPainted.painted; }, "the list to be repainted");
    const Clock::time_point repainted = Clock::now();
    list->viewport()->removeEventFilter(&listPainted);

    if (guard.opened()) {
        throw BenchFailure("START opened \"" + guard.seen().toStdString() + "\" instead of filling the list");
    }
    if (list->rowCount() != 96 || units->text() != QStringLiteral("96")) {
        throw BenchFailure("START gave " + std::to_string(list->rowCount()) + " rows and 購入口数 \"" +
                           units->text().toStdString() + "\"; expected 96 and \"96\"");
    }
    return {msBetween(clicked, returned), msBetween(clicked, repainted)};
}

struct RateDialogTiming {
    double shown = 0;
    double painted = 0;
    double returned = 0;
};

// Clicks "支持率入力" and answers the dialog from inside its modal loop: a zero timer notes when the dialog
// has become the active modal window, waits for its first painted frame, then presses "入力". The times
// are from the click; "returned" is when the click, and with it the whole command, has returned.
RateDialogTiming runSupportRateDialog(QWidget& window, QToolButton& openButton) {
    Clock::time_point shown{};
    Clock::time_point painted{};
    QPointer<QWidget> dialog;
    QString failure;
    // Watches the whole application: the dialog may paint within its own show(), before the timer meets it.
    WindowPaintLog paintLog;
    qApp->installEventFilter(&paintLog);

    QTimer poll;
    Clock::time_point clicked{};
    QObject::connect(&poll, &QTimer::timeout, &poll, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (dialog.isNull()) {
            if (modal == nullptr || modal == &window || !modal->isVisible()) {
                return;
            }
            shown = Clock::now();
            dialog = modal;
        }
        if (!paintLog.painted(dialog.data())) {
            if (Clock::now() - clicked > std::chrono::seconds(10)) {
                failure = QStringLiteral("the support-rate dialog was never painted");
                poll.stop();
                dialog->close();
            }
            return;
        }
        painted = Clock::now();
        poll.stop();
        QPushButton* input = nullptr;
        for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
            if (button->text() == QStringLiteral("入力")) {
                input = button;
            }
        }
        if (input == nullptr) {
            failure = QStringLiteral("the support-rate dialog has no 入力 button");
            dialog->close();
            return;
        }
        QTest::mouseClick(input, Qt::LeftButton);
    });
    poll.start(0);
    clicked = Clock::now();
    QTest::mouseClick(&openButton, Qt::LeftButton);
    const Clock::time_point returned = Clock::now();
    poll.stop();
    qApp->removeEventFilter(&paintLog);

    if (!failure.isEmpty()) {
        throw BenchFailure(failure.toStdString());
    }
    if (shown == Clock::time_point{}) {
        throw BenchFailure("支持率入力 opened no dialog");
    }
    return {msBetween(clicked, shown), msBetween(clicked, painted), msBetween(clicked, returned)};
}

// ---------------------------------------------------------------------------------------------------------
// Report.

// The label of a row, padded to the figures' column; full-width characters take two columns of a terminal.
void printLabel(const char* what) {
    constexpr int kLabelColumns = 44;
    int columns = 0;
    for (const char32_t character : QString::fromUtf8(what).toUcs4()) {
        columns += character >= 0x1100 ? 2 : 1;
    }
    std::printf("  %s%*s", what, std::max(0, kLabelColumns - columns), "");
}

void printRow(const char* what, const Summary& summary) {
    printLabel(what);
    std::printf(" %9.2f %9.2f %9.2f\n", summary.median, summary.min, summary.max);
}

void printSingle(const char* what, double value) {
    printLabel(what);
    std::printf(" %9.2f\n", value);
}

std::string countsLine(const std::map<QByteArray, int>& counts) {
    std::string line;
    int total = 0;
    for (const auto& [kind, count] : counts) {
        line += (line.empty() ? "" : ", ") + kind.toStdString() + " " + std::to_string(count);
        total += count;
    }
    return std::to_string(total) + " widgets: " + line;
}

int argumentValue(const QStringList& arguments, const QString& name, int fallback) {
    for (const QString& argument : arguments) {
        if (argument.startsWith(name)) {
            bool ok = false;
            const int value = argument.mid(name.size()).toInt(&ok);
            if (ok && value > 0) {
                return value;
            }
        }
    }
    return fallback;
}

QString argumentText(const QStringList& arguments, const QString& name) {
    for (const QString& argument : arguments) {
        if (argument.startsWith(name)) {
            return argument.mid(name.size());
        }
    }
    return {};
}

// Start-ups of one kind only, warm, so that a profiler can collect inside this function alone.
[[gnu::noinline]] void profiledStartUps(bool real, const WindowCopy& copy, int runs) {
    for (int run = 0; run < runs; ++run) {
        discardWindow((real ? runRealWindow() : runBareWindow(copy)).window);
    }
}

int runBenchmark(const QStringList& arguments) {
    const int runs = argumentValue(arguments, QStringLiteral("--runs="), 50);
    const QString profile = argumentText(arguments, QStringLiteral("--profile="));
    const std::string loadBefore = loadAverage();

    // The first window pays what every later one finds done: the font database, the style's polish,
    // the images' decoding. It is reported on its own and copied into the plain dialog.
    ShownWindow first = runRealWindow();
    const double rssFirstWindow = maxRssMiB();
    if (profile == QStringLiteral("cold")) {
        std::printf("profiled the first window\n");
        return 0;
    }
    const std::map<QByteArray, int> realCounts = widgetCounts(*first.window);
    const WindowCopy copy = copyWindow(*first.window);
    discardWindow(std::move(first.window));

    // One warm-up of the plain dialog, for its own first-time costs, and a check that it is the same tree.
    ShownWindow bareWarmUp = runBareWindow(copy);
    const std::map<QByteArray, int> bareCounts = widgetCounts(*bareWarmUp.window);
    discardWindow(std::move(bareWarmUp.window));
    if (bareCounts != realCounts) {
        throw BenchFailure("the plain dialog has other widgets than the real window:\n  real  " +
                           countsLine(realCounts) + "\n  plain " + countsLine(bareCounts));
    }
    // The cold window leaves state the later real windows find (image cache, style data); one more real
    // warm-up puts both kinds on the same footing before timing.
    discardWindow(runRealWindow().window);

    if (!profile.isEmpty()) {
        profiledStartUps(profile != QStringLiteral("bare"), copy, runs);
        std::printf("profiled %d warm %s windows\n", runs, qPrintable(profile));
        return 0;
    }

    // Alternating, so that both kinds meet the same load from whatever else runs on the machine.
    std::vector<double> realBuilt, realPainted, realCpuTimes, bareBuilt, barePainted, bareCpuTimes,
        pairRatios;
    for (int run = 0; run < runs; ++run) {
        ShownWindow real = runRealWindow();
        discardWindow(std::move(real.window));
        ShownWindow bare = runBareWindow(copy);
        discardWindow(std::move(bare.window));
        realBuilt.push_back(real.timing.built);
        realPainted.push_back(real.timing.painted);
        realCpuTimes.push_back(real.timing.cpu);
        bareBuilt.push_back(bare.timing.built);
        barePainted.push_back(bare.timing.painted);
        bareCpuTimes.push_back(bare.timing.cpu);
        pairRatios.push_back(real.timing.painted / bare.timing.painted);
    }

    std::vector<double> startReturned, startRepainted;
    runGradedStart(); // warm-up: the first grading meets cold item and text caches
    for (int run = 0; run < runs; ++run) {
        const StartTiming timing = runGradedStart();
        startReturned.push_back(timing.returned);
        startRepainted.push_back(timing.repainted);
    }

    std::vector<double> rateShown, ratePainted, rateReturned;
    RateDialogTiming firstRateDialog;
    {
        const std::unique_ptr<pomelak::CCheckerDlg> window = shownMainWindow();
        QToolButton* openButton = findByName<QToolButton>(*window, QStringLiteral("支持率入力"));
        if (openButton == nullptr) {
            throw BenchFailure("no toolbar button 支持率入力");
        }
        firstRateDialog = runSupportRateDialog(*window, *openButton);
        for (int run = 0; run < runs; ++run) {
            const RateDialogTiming timing = runSupportRateDialog(*window, *openButton);
            rateShown.push_back(timing.shown);
            ratePainted.push_back(timing.painted);
            rateReturned.push_back(timing.returned);
        }
    }
    const double rssEnd = maxRssMiB();

    const Summary real = summarize(realPainted);
    const Summary bare = summarize(barePainted);
    std::printf("Pomelak GUI benchmark: Qt %s, platform \"%s\", %u CPUs, load %s (start) / %s (end)\n",
                qVersion(), qPrintable(QGuiApplication::platformName()), std::thread::hardware_concurrency(),
                loadBefore.c_str(), loadAverage().c_str());
    std::printf("Main window, %s\n", countsLine(realCounts).c_str());
    std::printf("%d runs of each; times in ms from the start of the action\n\n", runs);
    std::printf("  %-44s %9s %9s %9s\n", "", "median", "min", "max");
    std::printf("Start-up to the first painted frame\n");
    printSingle("first window of the process (cold)", first.timing.painted);
    printSingle("  of which constructor", first.timing.built);
    printRow("real main window", real);
    printRow("  of which constructor", summarize(realBuilt));
    printRow("plain QDialog, same widgets", bare);
    printRow("  of which constructor", summarize(bareBuilt));
    printRow("ratio real/plain, per pair", summarize(pairRatios));
    std::printf("  %-44s %9.2f   (aim: at most 1.2)\n", "RATIO real/plain, of the medians",
                real.median / bare.median);
    const Summary realCpu = summarize(realCpuTimes);
    const Summary bareCpu = summarize(bareCpuTimes);
    printRow("main-thread CPU time, real", realCpu);
    printRow("main-thread CPU time, plain", bareCpu);
    std::printf("  %-44s %9.2f\n", "ratio of the CPU-time medians", realCpu.median / bareCpu.median);
    // Preempted runs make the wall-clock distribution two-humped, and its median can then land in either
    // hump for either window; the per-pair and CPU-time ratios stay steady. Waiting shows as wall-clock
    // time well above CPU time (on the offscreen platform nothing else is waited for).
    const double realWaits = real.median / realCpu.median;
    const double bareWaits = bare.median / bareCpu.median;
    const bool busy = std::max(loadOne(loadBefore), loadOne(loadAverage())) >
                      static_cast<double>(std::thread::hardware_concurrency());
    if (busy || realWaits > 1.2 || bareWaits > 1.2) {
        std::printf(
            "  NOTE: wall-clock medians are %.2f (real) and %.2f (plain) times the CPU-time medians:\n"
            "        the runs waited for other processes%s; the per-pair and CPU-time ratios are\n"
            "        the steadier figures, or run again when the machine is quiet\n",
            realWaits, bareWaits, busy ? " (load above the CPU count)" : " or the display server");
    }
    std::printf("Graded START, 96 units (list 96 rows, 購入口数 96)\n");
    printRow("click to return", summarize(startReturned));
    printRow("click to list repainted", summarize(startRepainted));
    std::printf("Support-rate dialog (支持率入力, then 入力)\n");
    printSingle("first open: click to return", firstRateDialog.returned);
    printRow("click to dialog shown", summarize(rateShown));
    printRow("click to dialog painted", summarize(ratePainted));
    printRow("click to return (入力 pressed once painted)", summarize(rateReturned));
    std::printf("Peak memory (ru_maxrss)\n");
    std::printf("  %-44s %9.1f MiB\n", "after the first window was shown", rssFirstWindow);
    std::printf("  %-44s %9.1f MiB\n", "at the end", rssEnd);
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
    try {
        return runBenchmark(QCoreApplication::arguments());
    } catch (const BenchFailure& failure) {
        std::fprintf(stderr, "bench_gui: FAILED: %s\n", failure.what());
        return EXIT_FAILURE;
    }
}
