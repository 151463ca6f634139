#pragma once

// Whether an HTML page shows any text, judged in one pass over the markup
// instead of importing it into a rich-text document. The scan reads the
// markup the way Qt's rich-text importer does (tags end at the next '>'
// outside quoted attribute values, entities as Qt knows them, the content of
// head, title, style, script and link hidden, and the elements around them
// opened and closed by Qt's rules), so its answer is the one that a
// QTextDocument built from the same page would give. It stops at the first
// character that counts, so a page with text costs almost nothing to judge.
// Needs no QGuiApplication.

#include <QStringView>

namespace htmltext {

// Which of the characters a page shows count as text.
enum class Counting {
    // Everything but white space; an image counts as a character (U+FFFC).
    NotWhiteSpace,
    // Printing characters only (isPrintingCharacter); images do not count.
    Printing,
};

// Not white space, not a control, format, private-use or unassigned
// character, not U+FFFC and not a surrogate.
bool isPrintingCharacter(char32_t codePoint);

// True when the page shows a character that counts.
bool showsText(QStringView html, Counting counting);

} // namespace htmltext
