#pragma once

// How a person of a message is written on one line: "Name <address>". Only
// an Internet address is worth showing; Exchange keeps a directory name
// ("/O=ORG/OU=GROUP/CN=RECIPIENTS/CN=ANA") where senders inside one
// organisation have no Internet address, which tells a reader nothing.

#include <QString>

// True for an Exchange directory name ("/O=..." in any case, blanks ignored).
bool isExchangeAddress(const QString& address);

// "Name <address>"; the name alone when there is no address, or only an
// Exchange one, or the address is the name itself; the address alone when
// there is no name. Blanks around either are dropped. Empty when neither
// is there.
QString mailboxText(const QString& name, const QString& address);
