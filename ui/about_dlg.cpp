#include "ui/about_dlg.h"

#include "res/resource_ids.h"
#include "res/strings.h"
#include "ui/app_resources.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QUrl>

namespace pomelak {

CAboutDlg::CAboutDlg(QWidget* parent) : TemplateDialog(kIddAbout, parent) {
    connect(controlAs<QPushButton>(kIdOk), &QPushButton::clicked, this, &QDialog::accept);
    connect(controlAs<QPushButton>(kIdcMakerPage), &QPushButton::clicked, this,
            [this] { OnMakerPageButton(); });
    for (auto* label : findChildren<QLabel*>()) {
        if (!label->pixmap().isNull()) {
            label->setAccessibleName(QCoreApplication::applicationName());
        }
    }
}

void CAboutDlg::OnMakerPageButton() {
    // A failure to open the page is not reported: the box simply stays as it is.
    QDesktopServices::openUrl(QUrl(qtString(kMakerPageUrl)));
}

} // namespace pomelak
