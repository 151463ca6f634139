#include "cvbaseservice/icvupdatesservice.h"

#include "cvbaseservice/icvproductmeta.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>
#include <QString>

std::shared_ptr<ICVUpdatesService> ICVUpdatesService::Shared()
{
    static const std::shared_ptr<ICVUpdatesService> shared = std::make_shared<ICVUpdatesService>();
    return shared;
}

void ICVUpdatesService::SetProductMeta(const std::shared_ptr<ICVProductMeta>& meta, bool enabled)
{
    meta_ = meta;
    enabled_ = enabled;
}

void ICVUpdatesService::CheckForUpdates(const std::function<void(bool)>& onResult)
{
    const QString version = meta_ ? QString::fromStdString(meta_->Version()) : QString();
    const QString title = QCoreApplication::translate("ICVUpdatesService", "Check for Updates");
    const QString text = QCoreApplication::translate(
        "ICVUpdatesService",
        "You are using version %1.\nThis build does not contact any update server.")
        .arg(version.isEmpty() ? QCoreApplication::translate("ICVUpdatesService", "(unknown)") : version);
    QMessageBox::information(QApplication::activeWindow(), title, text);
    if (onResult)
        onResult(false);
}
