// The main window as a player meets it: its state after start, the two modes, the single-only option,
// the keys that run START and close the window, the About box through the system commands and the
// background menu, and the dialog-unit layout.
#include "gui_test_support.h"

#include "res/resource_ids.h"
#include "ui/checker_dlg.h"
#include "ui/window_shell.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QCheckBox>
#include <QDesktopServices>
#include <QFontInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QToolButton>

using namespace pomelak;
using testsupport::findByName;

namespace {

const QString kAboutTitle = QStringLiteral("Pomelakのﾊﾞｰｼﾞｮﾝ情報");

// Receives the addresses the About box asks the desktop to open.
class UrlRecorder : public QObject {
    Q_OBJECT

public:
    QList<QUrl> opened;

public Q_SLOTS:
    void openUrl(const QUrl& url) { opened.append(url); }
};

QString gridName(const char* grid, int match, int column) {
    return QStringLiteral("%1 試合%2 %3")
        .arg(QString::fromUtf8(grid))
        .arg(match + 1)
        .arg(int(OutcomeOfColumn(column)));
}
QCheckBox* purchaseBox(const QWidget& window, int match, int column) {
    return findByName<QCheckBox>(&window, gridName("購入", match, column));
}
QRadioButton* resultRadio(const QWidget& window, int match, int column) {
    return findByName<QRadioButton>(&window, gridName("結果", match, column));
}

// Header texts and widths of the result list, as "text:width" pairs.
QStringList listColumns(const QTableWidget& list) {
    QStringList columns;
    for (int column = 0; column < list.columnCount(); ++column) {
        columns.append(QStringLiteral("%1:%2")
                           .arg(list.horizontalHeaderItem(column)->text())
                           .arg(list.columnWidth(column)));
    }
    return columns;
}

QStringList expectedColumns(bool multiCheck) {
    QStringList columns;
    for (int match = 1; match <= kMatchCount; ++match) {
        columns.append(QStringLiteral("%1:24").arg(match));
    }
    multiCheck ? columns.append(QStringLiteral("等:70")) : columns.prepend(QStringLiteral("配当:70"));
    return columns;
}

// Everything that tells the two modes apart.
void verifyMode(const CCheckerDlg& window, bool multiCheck) {
    const QString listCaption =
        multiCheck ? QStringLiteral("シングル分解結果") : QStringLiteral("予想配当金計算結果");
    QCOMPARE(window.controlAs<QGroupBox>(kIdcResultFrame)->title(),
             multiCheck ? QStringLiteral("結果入力") : QStringLiteral("予想入力"));
    QCOMPARE(window.controlAs<QLabel>(kIdcListCaption)->text(), listCaption);
    QCOMPARE(window.controlAs<QLabel>(kIdcModeLabel)->text(),
             multiCheck ? QStringLiteral("マルチチェックモード") : QStringLiteral("１等配当金予想モード"));
    auto* list = findByName<QTableWidget>(&window, listCaption);
    QVERIFY(list != nullptr);
    QCOMPARE(listColumns(*list), expectedColumns(multiCheck));
    QCOMPARE(list->rowCount(), 0);
    QCOMPARE(findByName<QToolButton>(&window, QStringLiteral("モード変更"))->isChecked(), !multiCheck);
    for (int match = 0; match < kMatchCount; ++match) {
        for (int column = 0; column < kColumnCount; ++column) {
            QCOMPARE(purchaseBox(window, match, column)->isEnabled(), multiCheck);
        }
    }
}

// Toggles a button the way a screen reader does: through its accessible toggle action, without a click.
void accessibleToggle(QAbstractButton* button) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(button);
    QVERIFY(accessible != nullptr && accessible->actionInterface() != nullptr);
    accessible->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
}

void operate(QAbstractButton* button, const QString& how) {
    if (how == QLatin1String("accessible")) {
        accessibleToggle(button);
    } else if (how == QLatin1String("key")) {
        QTest::keyClick(button, Qt::Key_Space);
    } else {
        QTest::mouseClick(button, Qt::LeftButton);
    }
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        m_window = std::make_unique<CCheckerDlg>();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    void cleanup() {
        testsupport::cancelModalHandlers();
        m_window.reset();
    }

    void stateAfterStart() {
        const CCheckerDlg& window = *m_window;
        QCOMPARE(window.windowTitle(), QStringLiteral("Rivuマルチチェッカー"));
        QVERIFY(!window.windowIcon().isNull());
        verifyMode(window, true);
        for (int match = 0; match < kMatchCount; ++match) {
            for (int column = 0; column < kColumnCount; ++column) {
                QVERIFY(!purchaseBox(window, match, column)->isChecked());
                QVERIFY(resultRadio(window, match, column)->isEnabled());
                QCOMPARE(resultRadio(window, match, column)->isChecked(), column == 0);
            }
        }
        QVERIFY(!window.controlAs<QCheckBox>(kIdcSingleOnly)->isChecked());
        QCOMPARE(window.controlAs<QCheckBox>(kIdcSingleOnly)->text(), QStringLiteral("シングル分解のみ"));
        QCOMPARE(window.controlAs<QPushButton>(kIdOk)->text(), QStringLiteral("START"));
        QCOMPARE(window.controlAs<QPushButton>(kIdCancel)->text(), QStringLiteral("終了"));
        for (const char* name : {"1等当選個数", "2等当選個数", "3等当選個数", "購入口数"}) {
            QLineEdit* field = findByName<QLineEdit>(&window, QString::fromUtf8(name));
            QVERIFY2(field != nullptr && field->text().isEmpty(), name);
        }
        const auto* list = window.controlAs<QTableWidget>(kIdcResultList);
        QCOMPARE(list->palette().color(QPalette::Base), QColor(255, 237, 229));
        QCOMPARE(list->palette().color(QPalette::Text), QColor(0, 0, 255));
        QVERIFY(list->showGrid() && !list->horizontalHeader()->sectionsClickable());
        QCOMPARE(list->selectionMode(), QAbstractItemView::ExtendedSelection);
        for (const char* name : {"モード変更", "４群マルチ入力", "支持率入力"}) {
            auto* button = findByName<QToolButton>(&window, QString::fromUtf8(name));
            QVERIFY2(button != nullptr && button->toolTip().isEmpty() && !button->autoRaise(), name);
            QCOMPARE(button->size(), QSize(23, 22));
        }
        testsupport::saveScreenshot(m_window.get(), QStringLiteral("main-multi-check"));
    }

    void modeSwitchesBackAndForth_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("mouse click") << QStringLiteral("mouse");
        QTest::newRow("screen reader toggle") << QStringLiteral("accessible");
    }
    void modeSwitchesBackAndForth() {
        QFETCH(QString, how);
        CCheckerDlg& window = *m_window;
        auto* modeButton = findByName<QToolButton>(&window, QStringLiteral("モード変更"));
        auto* list = window.controlAs<QTableWidget>(kIdcResultList);
        QTest::mouseClick(purchaseBox(window, 6, 1), Qt::LeftButton);
        QTest::mouseClick(resultRadio(window, 2, 2), Qt::LeftButton);
        list->insertRow(0);

        operate(modeButton, how);
        verifyMode(window, false);
        // A disabled box ignores clicks and keeps its tick; the results stay as chosen.
        QTest::mouseClick(purchaseBox(window, 6, 1), Qt::LeftButton);
        QVERIFY(purchaseBox(window, 6, 1)->isChecked());
        QVERIFY(resultRadio(window, 2, 2)->isChecked());
        testsupport::saveScreenshot(m_window.get(), QStringLiteral("main-payout-estimate"));

        list->insertRow(0);
        operate(modeButton, how);
        verifyMode(window, true);
        QVERIFY(purchaseBox(window, 6, 1)->isChecked());
        QVERIFY(!purchaseBox(window, 6, 0)->isChecked());
    }

    void singleOnlyDisablesTheResultGrid_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("mouse click") << QStringLiteral("mouse");
        QTest::newRow("space key") << QStringLiteral("key");
        QTest::newRow("screen reader toggle") << QStringLiteral("accessible");
    }
    void singleOnlyDisablesTheResultGrid() {
        QFETCH(QString, how);
        CCheckerDlg& window = *m_window;
        auto* singleOnly = window.controlAs<QCheckBox>(kIdcSingleOnly);
        singleOnly->setFocus();
        QTest::mouseClick(resultRadio(window, 4, 1), Qt::LeftButton);
        const auto verifyRadios = [&](bool enabled) {
            for (int match = 0; match < kMatchCount; ++match) {
                for (int column = 0; column < kColumnCount; ++column) {
                    QCOMPARE(resultRadio(window, match, column)->isEnabled(), enabled);
                    QCOMPARE(resultRadio(window, match, column)->isChecked(), column == (match == 4 ? 1 : 0));
                }
            }
        };
        operate(singleOnly, how);
        QVERIFY(singleOnly->isChecked());
        verifyRadios(false);
        // The option belongs to the window, not to the mode.
        QTest::mouseClick(findByName<QToolButton>(&window, QStringLiteral("モード変更")), Qt::LeftButton);
        verifyRadios(false);
        operate(singleOnly, how);
        QVERIFY(!singleOnly->isChecked());
        verifyRadios(true);
    }

    void tabVisitsTheTabStopsInTemplateOrder() {
        CCheckerDlg& window = *m_window;
        QList<QWidget*> expected{window.control(kIdOk), window.control(kIdCancel)};
        for (int match = 0; match < kMatchCount; ++match) {
            for (int column = 0; column < kColumnCount; ++column) {
                expected.append(purchaseBox(window, match, column));
            }
        }
        for (const int id : {kIdcResultList, kIdcFirstCount, kIdcSecondCount, kIdcThirdCount, kIdcUnits,
                             kIdcSingleOnly, kIdOk}) {
            expected.append(window.control(id));
        }
        QTRY_COMPARE(QApplication::focusWidget(), window.control(kIdOk));
        QList<QWidget*> visited{QApplication::focusWidget()};
        while (visited.size() < expected.size()) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited.append(QApplication::focusWidget());
        }
        QCOMPARE(visited, expected);
    }

    void enterRunsStartUnlessAnotherButtonHasTheFocus_data() {
        QTest::addColumn<int>("focusId");
        QTest::addColumn<bool>("closes");
        QTest::newRow("START focused: lists, stays open") << kIdOk << false;
        QTest::newRow("purchase box focused: lists, stays open") << purchaseBoxId(12, 2) << false;
        QTest::newRow("list focused: lists, stays open") << kIdcResultList << false;
        QTest::newRow("count field focused: lists, stays open") << kIdcUnits << false;
        QTest::newRow("終了 focused: closes") << kIdCancel << true;
    }
    void enterRunsStartUnlessAnotherButtonHasTheFocus() {
        QFETCH(int, focusId);
        QFETCH(bool, closes);
        CCheckerDlg& window = *m_window;
        for (int match = 0; match < kMatchCount; ++match) {
            QTest::mouseClick(purchaseBox(window, match, 0), Qt::LeftButton);
        }
        QWidget* focus = window.control(focusId);
        focus->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), focus);
        QTest::keyClick(focus, Qt::Key_Return);
        QCOMPARE(window.isVisible(), !closes);
        QCOMPARE(window.controlAs<QTableWidget>(kIdcResultList)->rowCount(), closes ? 0 : 1);
    }

    void escapeExitButtonAndCloseBoxClose_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Escape key") << QStringLiteral("escape");
        QTest::newRow("終了 button") << QStringLiteral("exit");
        QTest::newRow("close box") << QStringLiteral("close");
    }
    void escapeExitButtonAndCloseBoxClose() {
        QFETCH(QString, how);
        CCheckerDlg& window = *m_window;
        if (how == QLatin1String("escape")) {
            QTest::keyClick(&window, Qt::Key_Escape);
        } else if (how == QLatin1String("exit")) {
            QTest::mouseClick(window.control(kIdCancel), Qt::LeftButton);
        } else {
            window.close();
        }
        QVERIFY(!window.isVisible());
        QCOMPARE(window.result(), int(QDialog::Rejected));
    }

    void systemCommandsOpenTheAboutBox_data() {
        QTest::addColumn<unsigned>("command");
        QTest::addColumn<bool>("opensAbout");
        QTest::newRow("15: below the About range") << 15U << false;
        QTest::newRow("16: the About item") << 16U << true;
        QTest::newRow("17: low bits ignored") << 17U << true;
        QTest::newRow("31: last of the range") << 31U << true;
        QTest::newRow("32: above the range") << 32U << false;
        QTest::newRow("0xF060: close is never About") << 0xF060U << false;
    }
    void systemCommandsOpenTheAboutBox() {
        QFETCH(unsigned, command);
        QFETCH(bool, opensAbout);
        QString title;
        testsupport::onNextModal([&title](QWidget* modal) {
            title = modal->windowTitle();
            QTest::mouseClick(findByName<QPushButton>(modal, QStringLiteral("OK")), Qt::LeftButton);
        });
        QCOMPARE(m_window->OnSysCommand(command), opensAbout);
        QCOMPARE(title, opensAbout ? kAboutTitle : QString());
        QVERIFY(m_window->isVisible());
    }

    void backgroundMenuAndF1OpenTheAboutBox() {
        QString itemText;
        QString title;
        QTimer::singleShot(50, this, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            const QList<QAction*> items = menu != nullptr ? menu->actions() : QList<QAction*>();
            auto item =
                std::find_if(items.begin(), items.end(), [](QAction* a) { return !a->isSeparator(); });
            if (item == items.end()) {
                return menu != nullptr ? void(menu->close()) : void();
            }
            itemText = (*item)->text();
            testsupport::onNextModal([&title](QWidget* about) {
                title = about->windowTitle();
                about->close();
            });
            menu->setActiveAction(*item);
            QTest::keyClick(menu, Qt::Key_Return);
        });
        const QPoint background(m_window->width() - 5, m_window->height() / 2);
        QContextMenuEvent event(QContextMenuEvent::Mouse, background, m_window->mapToGlobal(background));
        QApplication::sendEvent(m_window.get(), &event);
        QCOMPARE(itemText, QStringLiteral("Pomelak のﾊﾞｰｼﾞｮﾝ情報(&A)..."));
        QTRY_COMPARE(title, kAboutTitle);

        title.clear();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        testsupport::onNextModal([&title](QWidget* about) {
            title = about->windowTitle();
            about->close();
        });
        QTest::keyClick(m_window.get(), Qt::Key_F1);
        QCOMPARE(title, kAboutTitle);
    }

    void aboutBoxOpensTheMakerPageAndStaysOpen() {
        UrlRecorder recorder;
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &recorder, "openUrl");
        bool stillOpen = false;
        QStringList texts;
        testsupport::onNextModal([&](QWidget* about) {
            for (auto* label : about->findChildren<QLabel*>()) {
                texts.append(label->text());
            }
            auto* maker = findByName<QPushButton>(about, QStringLiteral("Zelvanuへ行く"));
            QTest::mouseClick(maker, Qt::LeftButton);
            QTest::mouseClick(maker, Qt::LeftButton);
            stillOpen = about->isVisible();
            testsupport::saveScreenshot(about, QStringLiteral("about-box"));
            QTest::mouseClick(findByName<QPushButton>(about, QStringLiteral("OK")), Qt::LeftButton);
        });
        m_window->OnSysCommand(kIdmAboutBox);
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QVERIFY(stillOpen);
        QVERIFY(texts.contains(QStringLiteral("Pomelak Version 2.0")));
        QCOMPARE(recorder.opened.size(), 2);
        QCOMPARE(recorder.opened.first().scheme(), QStringLiteral("https"));
    }

    void dialogFontIsAJapaneseGothicWithEveryGlyph() {
        QCOMPARE(QFontInfo(m_window->font()).family(), QStringLiteral("IPAPGothic"));
        const QFontMetrics metrics(m_window->font());
        QStringList texts{m_window->windowTitle(),
                          QStringLiteral("１等配当金予想モード予想配当金計算結果ｷｬﾝｾﾙ２等３等円")};
        for (auto* label : m_window->findChildren<QLabel*>()) {
            texts.append(label->text());
        }
        for (const QString& text : texts) {
            for (const char32_t c : text.toUcs4()) {
                QVERIFY2(metrics.inFontUcs4(c), qPrintable(text));
            }
        }
    }

    void controlsArePlacedInDialogUnits_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<QRect>("pixels");
        // Hand-computed for IPAPGothic at 12 pixels: base units 7 x 13 (52 letters 352 px wide; height
        // 11 + 2); each edge maps to round(x * 7 / 4) or round(y * 13 / 8), halves away from zero.
        QTest::newRow("START 279,267,35,14") << kIdOk << QRect(488, 434, 62, 23);
        QTest::newRow("list 127,31,221,222") << kIdcResultList << QRect(222, 50, 387, 361);
        QTest::newRow("first purchase box 18,48,8,10") << purchaseBoxId(0, 0) << QRect(32, 78, 14, 16);
        QTest::newRow("units field 144,267,32,13") << kIdcUnits << QRect(252, 434, 56, 21);
    }
    void controlsArePlacedInDialogUnits() {
        QFETCH(int, id);
        QFETCH(QRect, pixels);
        QCOMPARE(m_window->baseUnits().x, 7);
        QCOMPARE(m_window->baseUnits().y, 13);
        QCOMPARE(m_window->size(), QSize(620, 463));
        QCOMPARE(m_window->control(id)->geometry(), pixels);
    }

    void minimisedIconIsCentred() {
        QCOMPARE(minimizedIconOrigin(QSize(36, 36), QSize(32, 32)), QPoint(2, 2));
        QCOMPARE(minimizedIconOrigin(QSize(35, 37), QSize(32, 32)), QPoint(2, 3));
        // Narrower than the icon: integer division truncates toward zero.
        QCOMPARE(minimizedIconOrigin(QSize(10, 31), QSize(32, 32)), QPoint(-10, 0));
    }

private:
    std::unique_ptr<CCheckerDlg> m_window;
};

POMELAK_GUI_TEST_MAIN(TestMainWindow)

#include "tst_mainwindow.moc"
