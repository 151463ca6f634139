// Started by the logging test: logs into the folder given as the only argument
// and then issues a fatal message, which must reach the file before the
// process dies.

#include "cvfoundation/icvlogconfig.h"
#include "logmessagehandler.h"

#include <QtGlobal>

#include <string>

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    ICVLogConfig::InitializeLogConfig(std::string(argv[1]));
    logmessages::install();
    qInfo("child is about to fail");
    qFatal("unrecoverable state %d", 42);
    return 3; // never reached: the handler aborts
}
