// The About box: the program's icon, version and maker, and a button that opens the maker's web page in
// the user's browser while the box stays open.
#pragma once

#include "ui/template_dialog.h"

namespace pomelak {

class CAboutDlg : public TemplateDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent);

private:
    void OnMakerPageButton();
};

} // namespace pomelak
