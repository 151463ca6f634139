#include "cvfoundation/icvlogconfig.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QString>

#include <cstdio>
#include <mutex>

#if defined(Q_OS_WIN)
#  include <io.h>
#else
#  include <unistd.h>
#endif

namespace {

// Nothing in here may issue a Qt message: the message handler calls us, and a
// warning from this path would come straight back.
struct LogState
{
    std::mutex mutex;
    QString directory;
    QDate fileDate;
    QString filePath;
    std::FILE* file = nullptr;
};

LogState& state()
{
    // Never destroyed: threads may still log while static destructors run.
    static LogState* s = new LogState;
    return *s;
}

void closeFile(LogState& s)
{
    if (s.file) {
        std::fclose(s.file);
        s.file = nullptr;
    }
    s.filePath.clear();
    s.fileDate = QDate();
}

// Opens (or rolls over to) the file of the given day. Caller holds the mutex.
bool ensureFile(LogState& s, const QDate& today)
{
    if (s.directory.isEmpty())
        return false;
    if (s.file && s.fileDate == today)
        return true;
    closeFile(s);
    const QString path = s.directory + QLatin1String("/Quorvia_")
        + today.toString(QStringLiteral("yyyy-MM-dd")) + QLatin1String(".log");
    std::FILE* f = std::fopen(QFile::encodeName(path).constData(), "ab");
    if (!f)
        return false;
    s.file = f;
    s.fileDate = today;
    s.filePath = path;
    return true;
}

int writeLine(const char* level, const std::string& line)
{
    LogState& s = state();
    const QDateTime now = QDateTime::currentDateTime();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (!ensureFile(s, now.date()))
        return -1;
    const QByteArray stamp = now.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")).toLatin1();
    const int written = std::fprintf(s.file, "%s [%s] %.*s\n", stamp.constData(), level,
                                     static_cast<int>(line.size()), line.data());
    // Hand each line to the operating system at once: a crash a moment later
    // must not lose what led up to it.
    std::fflush(s.file);
    return written < 0 ? -1 : 0;
}

} // namespace

bool ICVLogConfig::InitializeLogConfig(const std::string& logDirectory)
{
    const QString dir = QDir::cleanPath(QString::fromStdString(logDirectory));
    if (dir.isEmpty() || !QDir().mkpath(dir))
        return false;
    LogState& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (s.directory != dir) {
        closeFile(s);
        s.directory = dir;
    }
    return true;
}

int ICVLogConfig::Info(const std::string& line)
{
    return writeLine("I", line);
}

int ICVLogConfig::Warning(const std::string& line)
{
    return writeLine("W", line);
}

int ICVLogConfig::Fatal(const std::string& line)
{
    return writeLine("F", line);
}

void ICVLogConfig::FlushBuffer()
{
    LogState& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (!s.file)
        return;
    std::fflush(s.file);
#if defined(Q_OS_WIN)
    _commit(_fileno(s.file));
#else
    ::fsync(fileno(s.file));
#endif
}

std::string ICVLogConfig::CurrentLogFilePath()
{
    LogState& s = state();
    const QDate today = QDate::currentDate();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (!ensureFile(s, today))
        return std::string();
    return s.filePath.toStdString();
}
