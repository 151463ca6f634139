#include "support/fuzz_environment.h"

#include "support/allocation_meter.h"
#include "tnef/tnef.h"

#include <QGuiApplication>
#include <QtGlobal>

#include <cstdlib>

namespace fuzzenv {
namespace {

void dropMessage(QtMsgType, const QMessageLogContext&, const QString&)
{
}

} // namespace

void initialise(bool gui)
{
    tnef_set_diagnostics(nullptr);
    if (!std::getenv("QUORVIA_FUZZ_VERBOSE"))
        qInstallMessageHandler(dropMessage);
    if (gui && !QGuiApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "quorvia-fuzz";
        static char* argv[] = {name, nullptr};
        new QGuiApplication(argc, argv); // lives as long as the process
    }
    fuzzmeter::install();
}

std::uint32_t leadingWord(const std::uint8_t* data, std::size_t size)
{
    if (size < 4)
        return 0;
    return std::uint32_t(data[0]) | std::uint32_t(data[1]) << 8 | std::uint32_t(data[2]) << 16
        | std::uint32_t(data[3]) << 24;
}

void touch(const unsigned char* data, std::uint64_t length)
{
    static volatile unsigned sink;
    if (!data) {
        if (length != 0)
            std::abort(); // a length without its buffer
        return;
    }
    unsigned sum = 0;
    for (std::uint64_t i = 0; i < length; ++i)
        sum += data[i];
    sink = sink + sum;
}

} // namespace fuzzenv
