#pragma once

#include <QDateTime>
#include <QString>

// Deletes the "*.log" files of a folder last modified before the cut-off.
// Returns how many were deleted; failures are passed over.
int pruneLogsOlderThan(const QString& logDirectory, const QDateTime& cutoff);

// The start-up pruning: everything older than one calendar month before now.
int pruneOldLogs(const QString& logDirectory);
