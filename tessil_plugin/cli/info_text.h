#pragma once

// `tessil info`: for one decoded file, what the viewer shows, as text for a
// terminal. Texts from the file are shown with control characters and
// direction overrides replaced, so that a message cannot rewrite the
// terminal or disguise a name.

#include <QByteArray>

struct MessageReport;

QByteArray infoText(const MessageReport& report);
