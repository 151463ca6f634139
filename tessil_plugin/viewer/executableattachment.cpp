#include "executableattachment.h"

#include <QMimeDatabase>
#include <QMimeType>

#include <algorithm>

namespace {

bool isExecutableMimeType(const QMimeType& type)
{
    if (!type.isValid())
        return false;
    const QStringList& executable = executableMimeTypes();
    for (const QString& name : executable) {
        if (type.inherits(name))
            return true;
    }
    return false;
}

} // namespace

const QStringList& executableSuffixes()
{
    static const QStringList suffixes = {
        // Windows programs, libraries, installers and control-panel items
        QStringLiteral("exe"), QStringLiteral("com"), QStringLiteral("scr"), QStringLiteral("pif"),
        QStringLiteral("cpl"), QStringLiteral("dll"), QStringLiteral("ocx"), QStringLiteral("sys"),
        QStringLiteral("drv"), QStringLiteral("msi"), QStringLiteral("msp"), QStringLiteral("mst"),
        QStringLiteral("msc"), QStringLiteral("appx"), QStringLiteral("msix"), QStringLiteral("appxbundle"),
        QStringLiteral("msixbundle"), QStringLiteral("application"), QStringLiteral("appref-ms"),
        QStringLiteral("gadget"), QStringLiteral("xbap"), QStringLiteral("xll"),
        // Windows scripts and script hosts
        QStringLiteral("bat"), QStringLiteral("cmd"), QStringLiteral("vb"), QStringLiteral("vbs"),
        QStringLiteral("vbe"), QStringLiteral("js"), QStringLiteral("jse"), QStringLiteral("ws"),
        QStringLiteral("wsf"), QStringLiteral("wsc"), QStringLiteral("wsh"), QStringLiteral("ps1"),
        QStringLiteral("ps1xml"), QStringLiteral("ps2"), QStringLiteral("ps2xml"), QStringLiteral("psc1"),
        QStringLiteral("psc2"), QStringLiteral("psd1"), QStringLiteral("psm1"), QStringLiteral("msh"),
        QStringLiteral("msh1"), QStringLiteral("msh2"), QStringLiteral("mshxml"), QStringLiteral("hta"),
        QStringLiteral("sct"), QStringLiteral("chm"), QStringLiteral("hlp"), QStringLiteral("inf"),
        QStringLiteral("ins"), QStringLiteral("isp"), QStringLiteral("reg"), QStringLiteral("scf"),
        QStringLiteral("settingcontent-ms"),
        // Shortcuts and links that start programs
        QStringLiteral("lnk"), QStringLiteral("url"), QStringLiteral("website"), QStringLiteral("library-ms"),
        QStringLiteral("search-ms"), QStringLiteral("searchconnector-ms"),
        // Java
        QStringLiteral("jar"), QStringLiteral("class"), QStringLiteral("jnlp"),
        // Linux and other Unix launchers, programs, packages and scripts
        QStringLiteral("desktop"), QStringLiteral("kdelnk"), QStringLiteral("sh"), QStringLiteral("bash"),
        QStringLiteral("zsh"), QStringLiteral("csh"), QStringLiteral("tcsh"), QStringLiteral("ksh"),
        QStringLiteral("fish"), QStringLiteral("run"), QStringLiteral("bin"), QStringLiteral("out"),
        QStringLiteral("elf"), QStringLiteral("so"), QStringLiteral("appimage"), QStringLiteral("flatpak"),
        QStringLiteral("flatpakref"), QStringLiteral("snap"), QStringLiteral("deb"), QStringLiteral("rpm"),
        QStringLiteral("py"), QStringLiteral("pyc"), QStringLiteral("pyo"), QStringLiteral("pyw"),
        QStringLiteral("pyz"), QStringLiteral("pl"), QStringLiteral("pm"), QStringLiteral("rb"),
        QStringLiteral("php"), QStringLiteral("lua"), QStringLiteral("tcl"), QStringLiteral("awk"),
        // macOS
        QStringLiteral("app"), QStringLiteral("command"), QStringLiteral("tool"), QStringLiteral("pkg"),
        QStringLiteral("mpkg"), QStringLiteral("dmg"), QStringLiteral("scpt"), QStringLiteral("workflow"),
    };
    return suffixes;
}

const QStringList& executableMimeTypes()
{
    static const QStringList types = {
        QStringLiteral("application/x-executable"),
        QStringLiteral("application/x-pie-executable"),
        QStringLiteral("application/x-sharedlib"),
        QStringLiteral("application/x-shellscript"),
        QStringLiteral("application/x-desktop"),
        QStringLiteral("application/x-ms-dos-executable"),
        QStringLiteral("application/x-ms-ne-executable"),
        QStringLiteral("application/x-msdownload"),
        QStringLiteral("application/vnd.microsoft.portable-executable"),
        QStringLiteral("application/x-msi"),
        QStringLiteral("application/x-ms-shortcut"),
        QStringLiteral("application/x-mswinurl"),
        QStringLiteral("application/x-bat"),
        QStringLiteral("text/vbscript"),
        QStringLiteral("text/x-ms-regedit"),
        QStringLiteral("application/java-archive"),
        QStringLiteral("application/x-java-archive"),
        QStringLiteral("application/x-java"),
        QStringLiteral("application/x-java-jnlp-file"),
        QStringLiteral("application/x-mach-binary"),
        QStringLiteral("application/x-appimage"),
        QStringLiteral("application/vnd.appimage"),
        QStringLiteral("application/x-iso9660-appimage"),
        QStringLiteral("application/vnd.flatpak"),
        QStringLiteral("application/vnd.flatpak.ref"),
        QStringLiteral("application/vnd.snap"),
        QStringLiteral("application/vnd.debian.binary-package"),
        QStringLiteral("application/x-rpm"),
    };
    return types;
}

bool isExecutableAttachment(const QString& fileName, const QByteArray& content)
{
    // Windows drops trailing dots and blanks from file names, so "run.exe. "
    // is run.exe; a suffix is compared without them.
    QString name = fileName;
    while (!name.isEmpty() && (name.back() == QLatin1Char('.') || name.back().isSpace()))
        name.chop(1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const qsizetype slash = std::max(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char('\\')));
    if (dot > slash && executableSuffixes().contains(name.mid(dot + 1).toLower()))
        return true;

    const QMimeDatabase database;
    if (isExecutableMimeType(database.mimeTypeForFile(name, QMimeDatabase::MatchExtension)))
        return true;
    return isExecutableMimeType(database.mimeTypeForData(content));
}
