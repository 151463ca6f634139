#include "openfailuresdialog.h"

#include "ui_openfailuresdialog.h"

#include <QEvent>
#include <QFontMetrics>
#include <QFileInfo>
#include <QHeaderView>
#include <QLayout>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>

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
    widenForReasons();
}

void OpenFailuresDialog::widenForReasons()
{
    // A reason cut short reads as a different reason, so the dialog grows to
    // show each one whole where the screen has room; the tool tip keeps the
    // rest. It never shrinks under a width the user gave it.
    QTreeWidget* list = ui->failureList;
    const QFontMetrics metrics = list->fontMetrics();
    const int padding = 2 * (list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1) + 4;
    int names = list->header()->sectionSizeHint(0);
    int reasons = list->header()->sectionSizeHint(1);
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        names = std::max(names, metrics.horizontalAdvance(list->topLevelItem(i)->text(0)) + padding);
        reasons = std::max(reasons, metrics.horizontalAdvance(list->topLevelItem(i)->text(1)) + padding);
    }
    const int wanted = names + reasons + 2 * list->frameWidth() + list->verticalScrollBar()->sizeHint().width()
        + layout()->contentsMargins().left() + layout()->contentsMargins().right();
    int limit = wanted;
    if (const QScreen* screen = this->screen())
        limit = screen->availableGeometry().width() * 4 / 5;
    const int target = std::min(wanted, limit);
    if (target > width())
        resize(target, height());
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
