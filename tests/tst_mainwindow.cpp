// The main window as a player meets it: its state after start, the two modes, the single-only option,
// the keys that run START and close the window, the About box through the system commands and the
// background menu, and the dialog-unit layout.
#include "gui_test_support.h"

#include "res/resource_ids.h"
#include "ui/checker_dlg.h"
#include "ui/dialog_units.h"
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

// Receives the addresses the About box asks the desktop to open.
class UrlRecorder : public QObject {
    Q_OBJECT

public:
    QList<QUrl> opened;

public Q_SLOTS:
    void openUrl(const QUrl& url) { opened.append(url); }
};

QString outcomeDigit(int column) {
    return QString::number(static_cast<int>(OutcomeOfColumn(column)));
}

QCheckBox* purchaseBox(const QWidget& window, int match, int column) {
    return findByName<QCheckBox>(&window,
                                 QStringLiteral("購入 試合%1 %2").arg(match + 1).arg(outcomeDigit(column)));
}

QRadioButton* resultRadio(const QWidget& window, int match, int column) {
    return findByName<QRadioButton>(
        &window, QStringLiteral("結果 試合%1 %2").arg(match + 1).arg(outcomeDigit(column)));
}

QStringList headers(const QTableWidget& list) {
    QStringList texts;
    for (int column = 0; column < list.columnCount(); ++column) {
        texts.append(list.horizontalHeaderItem(column)->text());
    }
    return texts;
}

QList<int> columnWidths(const QTableWidget& list) {
    QList<int> widths;
    for (int column = 0; column < list.columnCount(); ++column) {
        widths.append(list.columnWidth(column));
    }
    return widths;
}

// Toggles a button the way a screen reader does: through its accessible toggle action, without a click.
void accessibleToggle(QAbstractButton* button) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(button);
    QVERIFY(accessible != nullptr && accessible->actionInterface() != nullptr);
    accessible->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
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
        for (int match = 0; match < kMatchCount; ++match) {
            for (int column = 0; column < kColumnCount; ++column) {
                QCheckBox* box = purchaseBox(window, match, column);
                QVERIFY2(box != nullptr && !box->isChecked() && box->isEnabled(),
                         qPrintable(box->accessibleName()));
                QRadioButton* radio = resultRadio(window, match, column);
                QVERIFY(radio != nullptr && radio->isEnabled());
                QCOMPARE(radio->isChecked(), column == 0);
            }
        }
        QCOMPARE(window.controlAs<QGroupBox>(kIdcResultFrame)->title(), QStringLiteral("結果入力"));
        QCOMPARE(window.controlAs<QLabel>(kIdcListCaption)->text(), QStringLiteral("シングル分解結果"));
        QCOMPARE(window.controlAs<QLabel>(kIdcModeLabel)->text(), QStringLiteral("マルチチェックモード"));
        QVERIFY(!window.controlAs<QCheckBox>(kIdcSingleOnly)->isChecked());
        QCOMPARE(window.controlAs<QCheckBox>(kIdcSingleOnly)->text(), QStringLiteral("シングル分解のみ"));
        QCOMPARE(window.controlAs<QPushButton>(kIdOk)->text(), QStringLiteral("START"));
        QCOMPARE(window.controlAs<QPushButton>(kIdCancel)->text(), QStringLiteral("終了"));
        for (const QString& name : {QStringLiteral("1等当選個数"), QStringLiteral("2等当選個数"),
                                    QStringLiteral("3等当選個数"), QStringLiteral("購入口数")}) {
            QLineEdit* field = findByName<QLineEdit>(&window, name);
            QVERIFY2(field != nullptr && field->text().isEmpty(), qPrintable(name));
        }

        auto* list = findByName<QTableWidget>(&window, QStringLiteral("シングル分解結果"));
        QVERIFY(list != nullptr);
        QCOMPARE(list->rowCount(), 0);
        QCOMPARE(headers(*list),
                 QStringList({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "等"}));
        QCOMPARE(columnWidths(*list), QList<int>({24, 24, 24, 24, 24, 24, 24, 24, 24, 24, 24, 24, 24, 70}));
        QCOMPARE(list->palette().color(QPalette::Base), QColor(255, 237, 229));
        QCOMPARE(list->palette().color(QPalette::Text), QColor(0, 0, 255));
        QVERIFY(list->showGrid());
        QCOMPARE(list->selectionMode(), QAbstractItemView::ExtendedSelection);
        QVERIFY(!list->horizontalHeader()->sectionsClickable());

        for (const QString& name :
             {QStringLiteral("モード変更"), QStringLiteral("４群マルチ入力"), QStringLiteral("支持率入力")}) {
            auto* button = findByName<QToolButton>(&window, name);
            QVERIFY2(button != nullptr, qPrintable(name));
            QVERIFY(!button->isChecked());
            QVERIFY(button->toolTip().isEmpty());
            QVERIFY(!button->autoRaise());
            QCOMPARE(button->size(), QSize(23, 22));
        }
        QVERIFY(findByName<QToolButton>(&window, QStringLiteral("モード変更"))->isCheckable());
        testsupport::saveScreenshot(m_window.get(), QStringLiteral("main-multi-check"));
    }

    void modeSwitchesBackAndForth() {
        CCheckerDlg& window = *m_window;
        auto* modeButton = findByName<QToolButton>(&window, QStringLiteral("モード変更"));
        QTest::mouseClick(purchaseBox(window, 6, 1), Qt::LeftButton);
        QTest::mouseClick(resultRadio(window, 2, 2), Qt::LeftButton);
        window.controlAs<QTableWidget>(kIdcResultList)->insertRow(0);

        QTest::mouseClick(modeButton, Qt::LeftButton);
        auto* list = window.controlAs<QTableWidget>(kIdcResultList);
        QVERIFY(modeButton->isChecked());
        QCOMPARE(window.controlAs<QGroupBox>(kIdcResultFrame)->title(), QStringLiteral("予想入力"));
        QCOMPARE(window.controlAs<QLabel>(kIdcListCaption)->text(), QStringLiteral("予想配当金計算結果"));
        QCOMPARE(window.controlAs<QLabel>(kIdcModeLabel)->text(), QStringLiteral("１等配当金予想モード"));
        QCOMPARE(list->accessibleName(), QStringLiteral("予想配当金計算結果"));
        QCOMPARE(headers(*list),
                 QStringList({"配当", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13"}));
        QCOMPARE(columnWidths(*list), QList<int>({70, 24, 24, 24, 24, 24, 24, 24, 24, 24, 24, 24, 24, 24}));
        QCOMPARE(list->rowCount(), 0);
        QVERIFY(!purchaseBox(window, 6, 1)->isEnabled());
        QVERIFY(purchaseBox(window, 6, 1)->isChecked());
        // A disabled box ignores clicks and keeps its tick.
        QTest::mouseClick(purchaseBox(window, 6, 1), Qt::LeftButton);
        QVERIFY(purchaseBox(window, 6, 1)->isChecked());
        QVERIFY(resultRadio(window, 2, 2)->isChecked());
        testsupport::saveScreenshot(m_window.get(), QStringLiteral("main-payout-estimate"));

        list->insertRow(0);
        QTest::mouseClick(modeButton, Qt::LeftButton);
        QVERIFY(!modeButton->isChecked());
        QCOMPARE(window.controlAs<QLabel>(kIdcModeLabel)->text(), QStringLiteral("マルチチェックモード"));
        QCOMPARE(headers(*list).last(), QStringLiteral("等"));
        QCOMPARE(list->rowCount(), 0);
        for (int match = 0; match < kMatchCount; ++match) {
            for (int column = 0; column < kColumnCount; ++column) {
                QVERIFY(purchaseBox(window, match, column)->isEnabled());
                QCOMPARE(purchaseBox(window, match, column)->isChecked(), match == 6 && column == 1);
            }
        }
    }

    void modeButtonFollowsAScreenReaderToggle() {
        CCheckerDlg& window = *m_window;
        auto* modeButton = findByName<QToolButton>(&window, QStringLiteral("モード変更"));
        accessibleToggle(modeButton);
        QVERIFY(modeButton->isChecked());
        QCOMPARE(window.controlAs<QLabel>(kIdcModeLabel)->text(), QStringLiteral("１等配当金予想モード"));
        QVERIFY(!purchaseBox(window, 0, 0)->isEnabled());
        accessibleToggle(modeButton);
        QVERIFY(!modeButton->isChecked());
        QCOMPARE(window.controlAs<QLabel>(kIdcModeLabel)->text(), QStringLiteral("マルチチェックモード"));
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
        const auto operate = [&] {
            if (how == QLatin1String("mouse")) {
                QTest::mouseClick(singleOnly, Qt::LeftButton);
            } else if (how == QLatin1String("key")) {
                singleOnly->setFocus();
                QTest::keyClick(singleOnly, Qt::Key_Space);
            } else {
                accessibleToggle(singleOnly);
            }
        };
        QTest::mouseClick(resultRadio(window, 4, 1), Qt::LeftButton);

        operate();
        QVERIFY(singleOnly->isChecked());
        for (int match = 0; match < kMatchCount; ++match) {
            for (int column = 0; column < kColumnCount; ++column) {
                QVERIFY(!resultRadio(window, match, column)->isEnabled());
            }
        }
        // Still disabled in the other mode: the option belongs to the window, not to the mode.
        QTest::mouseClick(findByName<QToolButton>(&window, QStringLiteral("モード変更")), Qt::LeftButton);
        QVERIFY(!resultRadio(window, 0, 0)->isEnabled());
        QVERIFY(singleOnly->isChecked());

        operate();
        QVERIFY(!singleOnly->isChecked());
        for (int match = 0; match < kMatchCount; ++match) {
            for (int column = 0; column < kColumnCount; ++column) {
                QVERIFY(resultRadio(window, match, column)->isEnabled());
                QCOMPARE(resultRadio(window, match, column)->isChecked(), column == (match == 4 ? 1 : 0));
            }
        }
    }

    void resultRadiosAreExclusivePerMatch() {
        CCheckerDlg& window = *m_window;
        QTest::mouseClick(resultRadio(window, 3, 2), Qt::LeftButton);
        QTest::mouseClick(resultRadio(window, 3, 2), Qt::LeftButton);
        QVERIFY(resultRadio(window, 3, 2)->isChecked());
        QVERIFY(!resultRadio(window, 3, 0)->isChecked());
        QVERIFY(resultRadio(window, 2, 0)->isChecked());
        QVERIFY(resultRadio(window, 4, 0)->isChecked());
    }

    void tabVisitsTheTabStopsInTemplateOrder() {
        CCheckerDlg& window = *m_window;
        QList<QWidget*> expected{window.control(kIdOk), window.control(kIdCancel)};
        for (int match = 0; match < kMatchCount; ++match) {
            for (int column = 0; column < kColumnCount; ++column) {
                expected.append(purchaseBox(window, match, column));
            }
        }
        for (const int id :
             {kIdcResultList, kIdcFirstCount, kIdcSecondCount, kIdcThirdCount, kIdcUnits, kIdcSingleOnly}) {
            expected.append(window.control(id));
        }
        QTRY_COMPARE(QApplication::focusWidget(), window.control(kIdOk));
        QList<QWidget*> visited{QApplication::focusWidget()};
        for (qsizetype i = 1; i <= expected.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited.append(QApplication::focusWidget());
        }
        expected.append(window.control(kIdOk));
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
        if (!closes) {
            QCOMPARE(window.controlAs<QTableWidget>(kIdcResultList)->rowCount(), 1);
            QCOMPARE(window.controlAs<QLineEdit>(kIdcUnits)->text(), QStringLiteral("1"));
        } else {
            QCOMPARE(window.result(), int(QDialog::Rejected));
        }
    }

    void escapeAndExitButtonClose_data() {
        QTest::addColumn<bool>("useEscape");
        QTest::newRow("Escape key") << true;
        QTest::newRow("終了 button") << false;
    }
    void escapeAndExitButtonClose() {
        QFETCH(bool, useEscape);
        CCheckerDlg& window = *m_window;
        if (useEscape) {
            QTest::keyClick(&window, Qt::Key_Escape);
        } else {
            QTest::mouseClick(window.control(kIdCancel), Qt::LeftButton);
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
        QCOMPARE(title, opensAbout ? QStringLiteral("Pomelakのﾊﾞｰｼﾞｮﾝ情報") : QString());
        QVERIFY(m_window->isVisible());
    }

    void backgroundMenuOffersTheAboutBox() {
        QString itemText;
        bool aboutShown = false;
        QTimer::singleShot(50, this, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (menu == nullptr) {
                return;
            }
            for (QAction* action : menu->actions()) {
                if (!action->isSeparator()) {
                    itemText = action->text();
                    testsupport::onNextModal([&aboutShown](QWidget* about) {
                        aboutShown = about->windowTitle() == QStringLiteral("Pomelakのﾊﾞｰｼﾞｮﾝ情報");
                        about->close();
                    });
                    menu->setActiveAction(action);
                    QTest::keyClick(menu, Qt::Key_Return);
                    return;
                }
            }
            menu->close();
        });
        const QPoint background(m_window->width() - 5, m_window->height() / 2);
        QContextMenuEvent event(QContextMenuEvent::Mouse, background, m_window->mapToGlobal(background));
        QApplication::sendEvent(m_window.get(), &event);
        QCOMPARE(itemText, QStringLiteral("Pomelak のﾊﾞｰｼﾞｮﾝ情報(&A)..."));
        QTRY_VERIFY(aboutShown);
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

    void f1OpensTheAboutBox() {
        QString title;
        testsupport::onNextModal([&title](QWidget* modal) {
            title = modal->windowTitle();
            modal->close();
        });
        QTest::keyClick(m_window.get(), Qt::Key_F1);
        QCOMPARE(title, QStringLiteral("Pomelakのﾊﾞｰｼﾞｮﾝ情報"));
    }

    void dialogFontIsAJapaneseGothicWithEveryGlyph() {
        const QFontInfo info(m_window->font());
        QCOMPARE(info.family(), QStringLiteral("IPAPGothic"));
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
        // 11 + 2), left = round(x * 7 / 4), top = round(y * 13 / 8), right and bottom likewise.
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

    void dialogUnitsRoundLikeTheDialogManager_data() {
        QTest::addColumn<QRect>("dialogUnits");
        QTest::addColumn<int>("baseX");
        QTest::addColumn<int>("baseY");
        QTest::addColumn<QRect>("pixels");
        QTest::newRow("6x12: START") << QRect(279, 267, 35, 14) << 6 << 12 << QRect(419, 401, 52, 21);
        QTest::newRow("6x12: halves round up") << QRect(1, 1, 1, 1) << 6 << 12 << QRect(2, 2, 1, 1);
        QTest::newRow("8x16: exact") << QRect(4, 8, 8, 16) << 8 << 16 << QRect(8, 16, 16, 32);
        QTest::newRow("7x13: edges, not sizes, are rounded")
            << QRect(1, 1, 2, 2) << 7 << 13 << QRect(2, 2, 3, 3);
    }
    void dialogUnitsRoundLikeTheDialogManager() {
        QFETCH(QRect, dialogUnits);
        QFETCH(int, baseX);
        QFETCH(int, baseY);
        QFETCH(QRect, pixels);
        const DialogRect rect{dialogUnits.x(), dialogUnits.y(), dialogUnits.width(), dialogUnits.height()};
        QCOMPARE(mapDialogRect(rect, {baseX, baseY}), pixels);
    }

    void minimisedIconIsCentred_data() {
        QTest::addColumn<QSize>("client");
        QTest::addColumn<QPoint>("origin");
        QTest::newRow("36x36 client: 2,2") << QSize(36, 36) << QPoint(2, 2);
        QTest::newRow("odd margin rounds up: 35x37") << QSize(35, 37) << QPoint(2, 3);
        QTest::newRow("smaller than the icon truncates toward zero") << QSize(10, 31) << QPoint(-10, 0);
    }
    void minimisedIconIsCentred() {
        QFETCH(QSize, client);
        QFETCH(QPoint, origin);
        QCOMPARE(minimizedIconOrigin(client, QSize(32, 32)), origin);
    }

private:
    std::unique_ptr<CCheckerDlg> m_window;
};

POMELAK_GUI_TEST_MAIN(TestMainWindow)

#include "tst_mainwindow.moc"
