#pragma once

// Messages attached to messages, several levels deep, in both containers,
// written with our TNEF and .msg writers.
//
// Level 0 is the file's own message; its first attachment is the message
// of level 1, and so on down to level `depth`, whose first attachment is
// the file "leaf.txt" (attachedLeafText()). The message of level N has the
// subject "Level N", the plain body "Body of level N", the sender
// "Sender N" <sN@example.com>, sent attachedMessageSent() + N hours; its
// second attachment is "pad-N.bin" (attachedPadding()), of 64 bytes above
// the last level and of `padding` bytes at the last: a large `padding`
// makes every level nearly as large as the whole file. In .msg files each level
// also carries a named string property (attachedNamedSet(), name
// "Tag") of "Named N", which only the root's named-property map names.

#include <QByteArray>
#include <QDateTime>
#include <QtGlobal>

namespace testsupport {

QByteArray nestedTnefMessage(int depth, qsizetype padding = 64);
QByteArray nestedMsgMessage(int depth, qsizetype padding = 64);

QByteArray attachedLeafText();
QByteArray attachedPadding(int level, qsizetype size);
QDateTime attachedMessageSent();
QByteArray attachedNamedSet();

} // namespace testsupport
