#include "temporarycopies.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QTemporaryDir>

namespace {

// Each folder's lock lies beside it, so that removing the folder never pulls
// the lock away from an instance that still holds it.
QString lockPathFor(const QString& folder)
{
    return folder + QLatin1String(".lock");
}

} // namespace

TemporaryCopies::TemporaryCopies(const QString& root)
    : root_(root)
{
    if (!QDir().mkpath(root_))
        return;
    removeStale(root_);

    QTemporaryDir made(QDir(root_).filePath(QStringLiteral("session-XXXXXX")));
    if (!made.isValid())
        return;
    auto lock = std::make_unique<QLockFile>(lockPathFor(made.path()));
    if (!lock->tryLock(0))
        return; // the temporary folder removes itself
    made.setAutoRemove(false);
    folder_ = made.path();
    lock_ = std::move(lock);
}

TemporaryCopies::~TemporaryCopies()
{
    if (folder_.isEmpty())
        return;
    QDir(folder_).removeRecursively();
    lock_->unlock(); // removes the lock file
}

QString TemporaryCopies::path() const
{
    return folder_.isEmpty() ? root_ : folder_;
}

int TemporaryCopies::removeStale(const QString& root)
{
    int removed = 0;
    const QFileInfoList folders =
        QDir(root).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::NoSymLinks);
    for (const QFileInfo& folder : folders) {
        // A lock whose process has ended counts as stale and is taken over;
        // one held by a running instance is not, however old.
        QLockFile lock(lockPathFor(folder.absoluteFilePath()));
        lock.setStaleLockTime(0);
        if (!lock.tryLock(0))
            continue;
        if (QDir(folder.absoluteFilePath()).removeRecursively())
            ++removed;
        lock.unlock();
    }
    return removed;
}
