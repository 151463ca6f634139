#include "message/attachment_file_names.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTextBoundaryFinder>

namespace {

// The longest file name that common file systems (ext4, NTFS, APFS) accept.
const qsizetype kMaxNameBytes = 255;
// A longer "extension" is more likely part of a sentence than a file type,
// and keeping it could leave no room for the name itself.
const qsizetype kMaxExtensionBytes = 32;
// How often openUniqueFile() moves on when another writer takes a name first.
const int kCreateAttempts = 100;

const QLatin1String kFallbackBase("attachment");

qsizetype utf8Size(const QString& text)
{
    qsizetype bytes = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text.at(i).unicode();
        if (unit < 0x80)
            bytes += 1;
        else if (unit < 0x800)
            bytes += 2;
        else if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            bytes += 4;
            ++i;
        } else
            bytes += 3;
    }
    return bytes;
}

bool isForbidden(char32_t c)
{
    switch (c) {
    case '/': case '\\': case '<': case '>': case ':': case '"': case '|': case '?': case '*':
        return true;
    default:
        break;
    }
    if ((c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069))
        return true; // bidirectional embeddings, overrides and isolates
    if (c >= 0xD800 && c <= 0xDFFF)
        return true; // an unpaired surrogate cannot be encoded in a file name
    return QChar::category(c) == QChar::Other_Control;
}

QString replaceForbidden(const QString& name)
{
    QString out;
    out.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar unit = name.at(i);
        if (unit.isHighSurrogate() && i + 1 < name.size() && name.at(i + 1).isLowSurrogate()) {
            out.append(unit);
            out.append(name.at(++i));
            continue;
        }
        out.append(isForbidden(unit.unicode()) ? QChar(u'_') : unit);
    }
    return out;
}

bool isDotOrSpace(QChar c)
{
    return c == u'.' || c.isSpace();
}

bool isReservedDeviceName(const QString& name)
{
    QString stem = name.left(name.indexOf(u'.'));
    while (!stem.isEmpty() && stem.back().isSpace())
        stem.chop(1);
    stem = stem.toUpper();
    static const QStringList plain{QStringLiteral("CON"), QStringLiteral("PRN"), QStringLiteral("AUX"),
                                   QStringLiteral("NUL"), QStringLiteral("CONIN$"), QStringLiteral("CONOUT$")};
    if (plain.contains(stem))
        return true;
    if (stem.size() != 4 || !(stem.startsWith(QLatin1String("COM")) || stem.startsWith(QLatin1String("LPT"))))
        return false;
    const QChar digit = stem.at(3);
    return (digit >= u'0' && digit <= u'9') || digit == QChar(0xB9) || digit == QChar(0xB2) || digit == QChar(0xB3);
}

// The longest start of `text` that fits into `maxBytes` of UTF-8, cut
// between user-perceived characters where possible, else between code points.
QString truncateUtf8(const QString& text, qsizetype maxBytes)
{
    if (utf8Size(text) <= maxBytes)
        return text;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype best = 0;
    for (qsizetype at = finder.toNextBoundary(); at > 0; at = finder.toNextBoundary()) {
        if (utf8Size(text.left(at)) > maxBytes)
            break;
        best = at;
    }
    if (best > 0)
        return text.left(best);
    // One "character" longer than the limit (a base with endless combining marks).
    qsizetype bytes = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        const bool pair = text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        const qsizetype width = pair ? 2 : 1;
        const qsizetype size = utf8Size(text.mid(i, width));
        if (bytes + size > maxBytes)
            break;
        bytes += size;
        i += width;
    }
    return text.left(i);
}

QString trimTrailingDotsAndSpaces(QString text)
{
    while (!text.isEmpty() && isDotOrSpace(text.back()))
        text.chop(1);
    return text;
}

// base + middle + extension within the byte limit: the base gives way first;
// an extension too long to leave room for any base is treated as base.
QString fitName(QString base, const QString& middle, QString extension)
{
    if (utf8Size(base) + utf8Size(middle) + utf8Size(extension) <= kMaxNameBytes)
        return base + middle + extension;
    if (utf8Size(extension) > kMaxExtensionBytes) {
        base += extension;
        extension.clear();
    }
    const qsizetype room = kMaxNameBytes - utf8Size(middle) - utf8Size(extension);
    base = truncateUtf8(base, room);
    if (middle.isEmpty() && extension.isEmpty())
        base = trimTrailingDotsAndSpaces(base);
    else
        while (!base.isEmpty() && base.back().isSpace())
            base.chop(1);
    if (base.isEmpty())
        base = kFallbackBase;
    return base + middle + extension;
}

void splitName(const QString& name, QString* base, QString* extension)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot <= 0) {
        *base = name;
        extension->clear();
    } else {
        *base = name.left(dot);
        *extension = name.mid(dot);
    }
}

// Any directory entry, a dangling symbolic link included: writing through a
// link could land outside the directory.
bool entryExists(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

} // namespace

QString safeAttachmentFileName(const QString& name)
{
    // Leading dots, spaces and separators: what hides a file or climbs out
    // of the directory ("../../x", "/etc/x", ".bashrc"). A dot right before
    // the rest was the extension's: ".bin" keeps it as "attachment.bin".
    qsizetype start = 0;
    while (start < name.size()) {
        const QChar c = name.at(start);
        if (!isDotOrSpace(c) && c != u'/' && c != u'\\')
            break;
        ++start;
    }
    const bool bareExtension = start > 0 && name.at(start - 1) == u'.';

    QString safe = trimTrailingDotsAndSpaces(replaceForbidden(name.mid(start)));
    if (safe.isEmpty())
        return kFallbackBase;
    if (bareExtension)
        safe = kFallbackBase + u'.' + safe;

    if (isReservedDeviceName(safe))
        safe.prepend(u'_');

    QString base;
    QString extension;
    splitName(safe, &base, &extension);
    return fitName(base, QString(), extension);
}

QString uniqueFilePath(const QString& directory, const QString& fileName)
{
    const QDir dir(directory);
    const QString name = safeAttachmentFileName(fileName);
    const QString first = dir.filePath(name);
    if (!entryExists(first))
        return first;

    QString base;
    QString extension;
    splitName(name, &base, &extension);
    for (qint64 k = 2;; ++k) {
        const QString candidate = dir.filePath(fitName(base, QStringLiteral(" (%1)").arg(k), extension));
        if (!entryExists(candidate))
            return candidate;
    }
}

bool openUniqueFile(const QString& directory, const QString& fileName, QFile* file)
{
    for (int attempt = 0; attempt < kCreateAttempts; ++attempt) {
        const QString path = uniqueFilePath(directory, fileName);
        file->close();
        file->setFileName(path);
        if (file->open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return true;
        if (!entryExists(path))
            return false; // not a lost race: the directory refuses the file
    }
    return false;
}
