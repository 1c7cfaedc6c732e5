#include "ui/checker_app.h"

#include "ui/app_resources.h"
#include "ui/checker_dlg.h"
#include "ui/dialog_style.h"

#include <QFileInfo>
#include <QFont>
#include <QLibraryInfo>

namespace pomelak {

CCheckerApp::CCheckerApp(int& argc, char** argv) : QApplication(argc, argv) {
    // Message boxes without a caption of their own show the executable's name without its extension.
    setApplicationName(QFileInfo(applicationFilePath()).completeBaseName());
    setApplicationVersion(QStringLiteral(POMELAK_VERSION));
    // Lets desktops match the window to its installed desktop entry.
    setDesktopFileName(QStringLiteral("io.github.pomelak.Pomelak"));
    setStyle(new DialogStyle);
    setWindowIcon(applicationIcon());
    installDialogFontSubstitutes();
    // Qt's own texts (an edit's menu, for one) in the program's language, whatever the system's; without
    // the translation they stay in English.
#ifdef Q_OS_WIN
    // The Windows build is one file and carries the translation among its resources.
    const QString qtTranslations = QStringLiteral(":/translations");
#else
    const QString qtTranslations = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
#endif
    if (m_qtTexts.load(QStringLiteral("qtbase_ja"), qtTranslations)) {
        installTranslator(&m_qtTexts);
    }
}

int CCheckerApp::InitInstance() {
    CCheckerDlg dialog;
    dialog.exec();
    return 0;
}

void installDialogFontSubstitutes() {
    // Proportional faces first, as the dialog face is proportional; each face also carries Latin glyphs,
    // so digits and kana come from one family.
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"),
                               {QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"),
                                QStringLiteral("Noto Sans CJK JP"), QStringLiteral("Noto Sans JP"),
                                QStringLiteral("Source Han Sans JP"), QStringLiteral("TakaoPGothic"),
                                QStringLiteral("VL PGothic"), QStringLiteral("Droid Sans Japanese")});
}

} // namespace pomelak
