#include "cli/console.h"

#include <cstdio>

bool writeOut(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return true;
    const size_t written = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    return written == size_t(bytes.size()) && std::fflush(stdout) == 0;
}

void reportError(const QString& text)
{
    const QByteArray line = "tessil: " + text.toUtf8() + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    std::fflush(stderr);
}

void reportFileError(const QString& file, const QString& reason)
{
    reportError(file + QStringLiteral(": ") + reason);
}
