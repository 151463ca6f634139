#include "attachmentdialogs.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPoint>
#include <QUrl>

AttachmentDialogs::~AttachmentDialogs() = default;

QString AttachmentDialogs::getSaveFileName(QWidget* parent, const QString& title, const QString& proposedPath)
{
    return QFileDialog::getSaveFileName(parent, title, proposedPath);
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

bool AttachmentDialogs::openUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}
