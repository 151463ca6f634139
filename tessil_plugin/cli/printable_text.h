#pragma once

#include <QString>

// `text` as a terminal may show it: control characters, unpaired
// surrogates and direction overrides or isolates become "?", so that a
// message cannot rewrite the terminal or disguise a name.
QString printable(const QString& text);
