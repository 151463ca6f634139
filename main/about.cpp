#include "about.h"

#include "ui_about.h"

#include "applicationservices.h"
#include "productlinks.h"

#include <QApplication>
#include <QDate>
#include <QDesktopServices>
#include <QEvent>
#include <QIcon>

About::About(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::About>())
{
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    // A close button and nothing else in the title bar.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(340, 240);

    ui->iconLabel->setPixmap(QApplication::windowIcon().pixmap(QSize(80, 80), devicePixelRatioF()));
    setTexts();
}

About::~About() = default;

QString About::noticeText(int year)
{
    return tr("© %1 Veltrano. All rights reserved.").arg(year);
}

void About::setTexts()
{
    ui->lab_version->setText(tr("Version %1").arg(ApplicationServices::productVersion()));
    ui->lab_notice->setText(noticeText(QDate::currentDate().year()));
}

void About::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        setTexts();
    }
    QDialog::changeEvent(event);
}

void About::on_btnMoreInfo_clicked()
{
    QDesktopServices::openUrl(productlinks::productWebPage());
}
