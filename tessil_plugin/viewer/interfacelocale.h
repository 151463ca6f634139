#pragma once

// The locale of the interface language the user chose in the program (not
// the system's): dates and numbers in the view are written the way that
// language writes them. The host loads the chosen language's translation;
// each translation names its own locale, so the view follows every switch.

#include <QLocale>

QLocale interfaceLocale();
