#include "message/open_failure.h"

QString openFailureText(OpenFailure failure)
{
    switch (failure) {
    case OpenFailure::None:
        break;
    case OpenFailure::NotFound:
        return QStringLiteral("no such file");
    case OpenFailure::IsDirectory:
        return QStringLiteral("is a directory");
    case OpenFailure::PermissionDenied:
        return QStringLiteral("permission denied");
    case OpenFailure::Unreadable:
        return QStringLiteral("cannot read the file");
    case OpenFailure::Empty:
        return QStringLiteral("empty file");
    case OpenFailure::NotRecognised:
        return QStringLiteral("not a TNEF file");
    case OpenFailure::Damaged:
        return QStringLiteral("damaged file");
    }
    return QString();
}
