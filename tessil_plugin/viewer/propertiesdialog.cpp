#include "propertiesdialog.h"
#include "ui_propertiesdialog.h"

#include "propertymodel.h"

#include "message/message_properties.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QSortFilterProxyModel>

PropertiesDialog::PropertiesDialog(QSharedPointer<const TessilMessage> shown, int attachment, QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::PropertiesDialog>())
    , message(std::move(shown))
{
    ui->setupUi(this);
    properties = new PropertyModel(this);
    filter = new QSortFilterProxyModel(this);
    filter->setSourceModel(properties);
    filter->setFilterKeyColumn(-1);
    filter->setFilterCaseSensitivity(Qt::CaseInsensitive);
    filter->setSortRole(PropertyModel::SortRole);
    ui->tableView->setModel(filter);
    ui->tableView->sortByColumn(PropertyModel::TagColumn, Qt::AscendingOrder);
    ui->tableView->horizontalHeader()->setSectionResizeMode(PropertyModel::ValueColumn, QHeaderView::Stretch);
    // Every value is one line (line breaks are shown as marks), so rows are
    // one line high rather than the header's roomier default.
    ui->tableView->verticalHeader()->setMinimumSectionSize(0);
    ui->tableView->verticalHeader()->setDefaultSectionSize(ui->tableView->fontMetrics().height() + 6);
    connect(ui->filterEdit, &QLineEdit::textChanged, filter, &QSortFilterProxyModel::setFilterFixedString);
    connect(ui->sourceBox, &QComboBox::currentIndexChanged, this,
            [this](int index) { showSource(ui->sourceBox->itemData(index).toInt()); });
    connect(ui->copyButton, &QPushButton::clicked, this,
            [this] { QGuiApplication::clipboard()->setText(selectedValues()); });
    connect(ui->tableView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { ui->copyButton->setEnabled(ui->tableView->selectionModel()->hasSelection()); });
    ui->copyButton->setEnabled(false);
    fillSources();
    const int at = ui->sourceBox->findData(attachment);
    ui->sourceBox->setCurrentIndex(std::max(at, 0));
    showSource(ui->sourceBox->currentData().toInt());
}

PropertiesDialog::~PropertiesDialog() = default;

void PropertiesDialog::fillSources()
{
    const QSignalBlocker blocker(ui->sourceBox);
    const int current = ui->sourceBox->currentIndex();
    ui->sourceBox->clear();
    ui->sourceBox->addItem(tr("Message"), -1);
    if (message) {
        for (int i = 0; i < message->attachments.size(); ++i) {
            const QSharedPointer<TessilAttachment>& attachment = message->attachments.at(i);
            ui->sourceBox->addItem(tr("Attachment %1: %2").arg(i + 1).arg(attachment ? attachment->fileName : QString()), i);
        }
    }
    ui->sourceBox->setCurrentIndex(std::max(current, 0));
}

void PropertiesDialog::showSource(int attachment)
{
    if (!message)
        return;
    const quint32 codePage = messageCodePage(*message);
    const QSharedPointer<TessilAttachment> shown = message->attachments.value(attachment);
    properties->setProperties(attachment < 0 || !shown ? message->properties : shown->properties, codePage);
    ui->tableView->resizeColumnToContents(PropertyModel::TagColumn);
    ui->tableView->resizeColumnToContents(PropertyModel::NameColumn);
    ui->tableView->resizeColumnToContents(PropertyModel::TypeColumn);
}

QString PropertiesDialog::selectedValues() const
{
    QStringList values;
    for (const QModelIndex& index : ui->tableView->selectionModel()->selectedRows(PropertyModel::ValueColumn))
        values << index.data(PropertyModel::FullValueRole).toString();
    return values.join(QLatin1Char('\n'));
}

void PropertiesDialog::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        fillSources();
    }
}
