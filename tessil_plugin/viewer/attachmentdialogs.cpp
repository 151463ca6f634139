#include "attachmentdialogs.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPoint>
#include <QPushButton>

AttachmentDialogs::~AttachmentDialogs() = default;

QString AttachmentDialogs::getSaveFileName(QWidget* parent, const QString& title, const QString& proposedPath,
                                           const QString& filter)
{
    return QFileDialog::getSaveFileName(parent, title, proposedPath, filter);
}

QString AttachmentDialogs::getExistingDirectory(QWidget* parent, const QString& title,
                                                const QString& startDirectory)
{
    return QFileDialog::getExistingDirectory(parent, title, startDirectory, QFileDialog::ShowDirsOnly);
}

QAction* AttachmentDialogs::execMenu(QMenu* menu, const QPoint& globalPosition)
{
    return menu->exec(globalPosition);
}

void AttachmentDialogs::warning(QWidget* parent, const QString& title, const QString& text)
{
    QMessageBox::warning(parent, title, text, QMessageBox::Ok);
}

bool AttachmentDialogs::confirm(QWidget* parent, const QString& title, const QString& text)
{
    return QMessageBox::warning(parent, title, text, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel)
        == QMessageBox::Ok;
}

void AttachmentDialogs::offerSaveInstead(QWidget* parent, const QString& title, const QString& text,
                                         std::function<void()> save)
{
    // Window-modal and without a loop of its own: the window goes on
    // painting, and each offer is answered on its own.
    auto* box = new QMessageBox(QMessageBox::Information, title, text, QMessageBox::Cancel, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    // The view's own words for the same command.
    QPushButton* saveButton =
        box->addButton(QCoreApplication::translate("TessilViewWidget", "Save as..."), QMessageBox::AcceptRole);
    saveButton->setObjectName(QStringLiteral("saveInstead"));
    box->setDefaultButton(saveButton);
    // Once the box is gone, so that the save dialog does not open over it.
    QObject::connect(box, &QDialog::finished, box, [box, saveButton, save = std::move(save)] {
        if (box->clickedButton() == saveButton && save)
            save();
    });
    box->open();
}
