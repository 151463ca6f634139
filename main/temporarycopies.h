#pragma once

#include <QString>

#include <memory>

class QLockFile;

// This instance's folder for the temporary copies of opened attachments: a
// fresh folder under the root, locked while the program runs and removed with
// its content when the object goes (when the program quits). Folders that
// instances ended without removing (a crash, a power cut) are removed when the
// next instance starts; the folder of another instance that still runs is
// left alone.
class TemporaryCopies
{
public:
    // Removes stale folders under root, then makes this instance's folder.
    explicit TemporaryCopies(const QString& root);
    ~TemporaryCopies();

    TemporaryCopies(const TemporaryCopies&) = delete;
    TemporaryCopies& operator=(const TemporaryCopies&) = delete;

    // The folder, or the root itself when no folder of our own could be made.
    QString path() const;

    // Removes the folders under root whose instance no longer runs; returns
    // how many went.
    static int removeStale(const QString& root);

private:
    QString root_;
    QString folder_;
    std::unique_ptr<QLockFile> lock_;
};
