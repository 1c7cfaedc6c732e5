// The application object: names the application after its executable, gives every dialog the same
// three-dimensional style, Qt's own texts in Japanese and a Japanese gothic face for "ＭＳ Ｐゴシック",
// and runs the main window modally. Nothing is read or written: no settings, no files.
#pragma once

#include <QApplication>
#include <QTranslator>

namespace pomelak {

class CCheckerApp : public QApplication {
    Q_OBJECT

public:
    CCheckerApp(int& argc, char** argv);

    // Runs the main window until it is closed by any means; returns the process exit code.
    int InitInstance();

private:
    QTranslator m_qtTexts;
};

// Makes "ＭＳ Ｐゴシック" resolve where the face is missing: first to IPAPGothic, which has its metrics,
// then to another proportional Japanese gothic face.
void installDialogFontSubstitutes();

} // namespace pomelak
