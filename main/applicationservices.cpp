#include "applicationservices.h"

#include "apppaths.h"
#include "cvbaseservice/icverror.h"
#include "cvbaseservice/icvproductmeta.h"
#include "cvbaseservice/icvsentryservice.h"
#include "cvbaseservice/icvupdatesservice.h"
#include "cvfoundation/icvlogconfig.h"
#include "logmessagehandler.h"
#include "logpruning.h"

#include <QDir>
#include <QGuiApplication>
#include <QIcon>

namespace {
ApplicationServices* holder = nullptr;
} // namespace

ApplicationServices* ApplicationServices::instance()
{
    return holder;
}

ApplicationServices* ApplicationServices::startUp()
{
    if (!holder)
        holder = new ApplicationServices;
    return holder;
}

QString ApplicationServices::productId()
{
    return QStringLiteral("10021");
}

QString ApplicationServices::productVersion()
{
    return QStringLiteral(QUORVIA_VERSION);
}

QString ApplicationServices::vendorName()
{
    return QStringLiteral("Veltrano");
}

QString ApplicationServices::crashReportEndpoint()
{
    // The reporter of this build uploads nothing; the value only names where a
    // report would go.
    return QStringLiteral("local://veltrano/quorvia/crash-reports");
}

QString ApplicationServices::windowIconPath()
{
    return QStringLiteral(":/img/icons/%1").arg(QStringLiteral("tessil_icon.ico"));
}

ApplicationServices::ApplicationServices()
{
    apppaths::ensureAppDirectories();

    const QString logDir = apppaths::logDir();
    pruneOldLogs(logDir);

    ICVLogConfig::InitializeLogConfig(QDir::toNativeSeparators(logDir).toStdString());
    ICVLogConfig::Info("Program startup: initialization in progress...");

    QGuiApplication::setWindowIcon(QIcon(windowIconPath()));

    productMeta_ = ICVProductMeta::MallocProductMeta(productId().toStdString());
    productMeta_->SetVersion(productVersion().toStdString());
    productMeta_->SetVendor(vendorName().toStdString());
    ICVUpdatesService::Shared()->SetProductMeta(productMeta_, true);

    logmessages::install();

    ICVSentryService::StartSentryWith(crashReportEndpoint().toStdString());
}
