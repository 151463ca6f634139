#pragma once

// Access to the real Outlook samples kept outside the project. A user's clone
// has no such folder; the tests that need it then skip with a clear message.

#include <QByteArray>
#include <QString>

namespace testsupport {

// Folder of the real samples, or an empty string when it is absent.
QString realSamplesDir();
// Absolute path of one real sample (it may not exist).
QString realSamplePath(const QString& name);
// Contents of one real sample; empty when it cannot be read.
QByteArray readRealSample(const QString& name);

} // namespace testsupport

#define REQUIRE_REAL_SAMPLES()                                                              \
    do {                                                                                    \
        if (testsupport::realSamplesDir().isEmpty())                                        \
            QSKIP("The real sample folder ../shared/testdata/real is absent; skipping");    \
    } while (false)
