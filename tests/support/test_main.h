#pragma once

// Test entry points that never touch the real home directory or settings:
// HOME, the XDG folders and the temporary folder point into a fresh
// temporary directory before the application object exists, and the
// platform is offscreen.

#include <QtTest/QtTest>
#include <QByteArray>
#include <QDir>
#include <QString>
#include <QTemporaryDir>

#include <cstdlib>

namespace testsupport {

class IsolatedEnvironment
{
public:
    IsolatedEnvironment()
        : home_(QDir::tempPath() + QStringLiteral("/quorvia-test-home-XXXXXX"))
    {
        const QByteArray home = QFile::encodeName(home_.path());
        setenv("HOME", home.constData(), 1);
        setenv("XDG_CONFIG_HOME", (home + "/.config").constData(), 1);
        setenv("XDG_DATA_HOME", (home + "/.local/share").constData(), 1);
        setenv("XDG_CACHE_HOME", (home + "/.cache").constData(), 1);
        setenv("XDG_RUNTIME_DIR", (home + "/.runtime").constData(), 1);
        QDir().mkpath(home_.path() + QStringLiteral("/.runtime"));
        QFile::setPermissions(home_.path() + QStringLiteral("/.runtime"),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }

    QString home() const { return home_.path(); }

private:
    QTemporaryDir home_;
};

} // namespace testsupport

#define QUORVIA_TEST_MAIN_IMPL(AppClass, TestObject)                   \
    int main(int argc, char** argv)                                    \
    {                                                                  \
        testsupport::IsolatedEnvironment environment;                  \
        AppClass app(argc, argv);                                      \
        app.setAttribute(Qt::AA_Use96Dpi, true);                       \
        TestObject tc;                                                 \
        QTEST_SET_MAIN_SOURCE_PATH                                     \
        return QTest::qExec(&tc, argc, argv);                          \
    }

// For tests of the core library (QtCore/QtGui only).
#define QUORVIA_GUI_TEST_MAIN(TestObject) QUORVIA_TEST_MAIN_IMPL(QGuiApplication, TestObject)
// For widget tests.
#define QUORVIA_WIDGET_TEST_MAIN(TestObject) QUORVIA_TEST_MAIN_IMPL(QApplication, TestObject)
