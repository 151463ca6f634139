#pragma once

#include <QString>
#include <QtGlobal>

#include <string>

// The Qt message handler that sends every diagnostic to the service log.
namespace logmessages {

// "Debug", "Warning", "Critical", "Fatal", "Info"; empty for anything else.
QString levelLabel(QtMsgType type);

// "[label] (file:line) text", or "[label] text" when the context names no file.
QString formatLine(QtMsgType type, const QMessageLogContext& context, const QString& text);

// Installs the handler, remembering the one that was installed before. Calling
// it again while installed changes nothing.
void install();
// Puts the previous handler back (tests).
void uninstall();

// The handler itself.
void handleMessage(QtMsgType type, const QMessageLogContext& context, const QString& text);

// Writes one formatted line by level: warning -> Warning + flush, critical and
// fatal -> Fatal + flush, debug and info -> Info. Replaceable so that a test can
// put something in the logging path that logs in turn.
using LineWriter = void (*)(QtMsgType type, const std::string& line);
void writeToServiceLog(QtMsgType type, const std::string& line);
void setLineWriter(LineWriter writer);

} // namespace logmessages
