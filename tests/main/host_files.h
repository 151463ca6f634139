#pragma once

// Files for the host tests, by what their content is rather than by name.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

namespace hostfiles {

// The first bytes decide the type; the rest only makes the files look real.
inline QByteArray tnef() { return QByteArrayLiteral("\x78\x9f\x3e\x22\x01\x00\x01\x90\x06\x00\x08\x00"); }
inline QByteArray png() { return QByteArrayLiteral("\x89PNG\r\n\x1a\n\x00\x00\x00\rIHDR\x00\x00\x00\x01"); }
inline QByteArray pdf() { return QByteArrayLiteral("%PDF-1.4\n%\xe2\xe3\xcf\xd3\n1 0 obj\n<<>>\nendobj\n"); }
inline QByteArray svg()
{
    return QByteArrayLiteral("<?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"1\" height=\"1\"/>\n");
}
inline QByteArray binary() { return QByteArrayLiteral("\x01\x02\x03\xfe\xff\x00\x10\x80\x81\x82"); }

inline bool write(const QString& path, const QByteArray& content = {})
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

} // namespace hostfiles
