#pragma once

// A message attached to a .msg file, as a .msg file of its own: what "Save
// as" writes and what a tab of its own reads. The attached message's
// storage becomes the new file's root; its property stream gets the longer
// header of a file's own message, and the named-property map, which only
// the outer file's root holds, is copied in beside it.

#include "msg/msg_container.h"

#include <QByteArray>

#include <cstdint>

// The file; empty when `messageStorage` is no storage or the file cannot be
// written. Streams are read through `container`, within its budget.
QByteArray msgStandaloneMessage(MsgContainer& container, std::uint32_t messageStorage);
