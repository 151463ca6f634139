#include "openfailuresdialog.h"

#include "ui_openfailuresdialog.h"

#include <QEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QStyle>

OpenFailuresDialog::OpenFailuresDialog(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::OpenFailuresDialog>())
{
    ui->setupUi(this);
    const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    ui->iconLabel->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning, nullptr, this).pixmap(iconSize));
    ui->failureList->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    ui->failureList->header()->setStretchLastSection(true);
    updateHeading();
}

OpenFailuresDialog::~OpenFailuresDialog() = default;

void OpenFailuresDialog::addFailure(const QString& path, const QString& reason)
{
    for (int i = 0; i < ui->failureList->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = ui->failureList->topLevelItem(i);
        if (item->toolTip(0) == path && item->text(1) == reason)
            return;
    }
    auto* item = new QTreeWidgetItem(ui->failureList);
    const QString name = QFileInfo(path).fileName();
    item->setText(0, name.isEmpty() ? path : name);
    item->setToolTip(0, path);
    item->setText(1, reason);
    item->setToolTip(1, reason);
    updateHeading();
}

int OpenFailuresDialog::failureCount() const
{
    return ui->failureList->topLevelItemCount();
}

void OpenFailuresDialog::updateHeading()
{
    ui->headingLabel->setText(tr("%n file(s) could not be opened.", "", failureCount()));
}

void OpenFailuresDialog::changeEvent(QEvent* event)
{
    // The listed reasons stay in the language they were given in; the
    // dialog's own texts follow a switch.
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        updateHeading();
    }
    QDialog::changeEvent(event);
}
