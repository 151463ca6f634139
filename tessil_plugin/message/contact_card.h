#pragma once

#include "message/tessil_message.h"

#include <QByteArray>

// A vCard 4.0 of a contact message, as UTF-8: the formatted name (display
// name, else the subject), the name parts, company, job title, business,
// mobile and home phones and the first e-mail address, where present.
// Never empty.
QByteArray renderContactCard(const TessilMessage& message);
