#include "interfacelocale.h"

#include <QCoreApplication>

QLocale interfaceLocale()
{
    return QLocale(QCoreApplication::translate(
        "InterfaceLocale", "en_US",
        "The locale of this translation, for writing dates and numbers: a language code, optionally followed by "
        "an underscore and a country code (de, fr_FR, pt_BR, ja). Not shown to the user."));
}
