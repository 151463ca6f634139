#pragma once

// Every place a text occurs in a message's body, and which of them is the
// current one. The body's text is read once per document; a search is one
// pass over it, so even a very long body answers as the user types.

#include <QList>
#include <QPointer>
#include <QString>
#include <QTextDocument>

class BodySearch
{
public:
    // Finds every occurrence of `text` in `document` (none for an empty text
    // or no document), without overlaps, in order. The current match becomes
    // the first one at or after `from` (a document position), else the
    // first one.
    void search(const QTextDocument* document, const QString& text, Qt::CaseSensitivity sensitivity, int from = 0);
    // Forgets the matches (and the document's text).
    void clear();

    int count() const { return int(starts_.size()); }
    // Counted from 0; -1 without matches.
    int current() const { return current_; }
    // Moves to the next or the previous match, round from the last to the
    // first and back.
    void next();
    void previous();

    // Where each match starts, in document positions, in order; all are
    // length() characters long.
    const QList<int>& starts() const { return starts_; }
    int length() const { return length_; }
    // The index of the first match that starts at or after `position`
    // (count() when none does).
    int firstFrom(int position) const;

private:
    QPointer<const QTextDocument> document_;
    int revision_ = -1;
    QString plainText_; // the document's text, a character per position
    QList<int> starts_;
    int length_ = 0;
    int current_ = -1;
};
