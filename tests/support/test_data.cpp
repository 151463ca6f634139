#include "support/test_data.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace testsupport {

QString realSamplesDir()
{
    QString base = qEnvironmentVariable("QUORVIA_TESTDATA_DIR");
    if (base.isEmpty())
        base = QStringLiteral(QUORVIA_TESTDATA_DIR);
    const QString dir = QDir(base).absoluteFilePath(QStringLiteral("real"));
    return QFileInfo(dir).isDir() ? QDir::cleanPath(dir) : QString();
}

QString realSamplePath(const QString& name)
{
    const QString dir = realSamplesDir();
    return dir.isEmpty() ? QString() : dir + QLatin1Char('/') + name;
}

QByteArray readRealSample(const QString& name)
{
    QFile file(realSamplePath(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace testsupport
