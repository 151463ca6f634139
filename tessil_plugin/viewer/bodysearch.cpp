#include "bodysearch.h"

#include <algorithm>

void BodySearch::search(const QTextDocument* document, const QString& text, Qt::CaseSensitivity sensitivity, int from)
{
    starts_.clear();
    current_ = -1;
    length_ = int(text.size());
    if (!document || text.isEmpty()) {
        if (!document)
            clear();
        return;
    }
    if (document != document_ || document->revision() != revision_) {
        document_ = document;
        revision_ = document->revision();
        // One character per document position: toPlainText only turns
        // paragraph ends into line feeds and no-break spaces into spaces.
        plainText_ = document->toPlainText();
    }
    for (qsizetype at = plainText_.indexOf(text, 0, sensitivity); at >= 0;
         at = plainText_.indexOf(text, at + text.size(), sensitivity))
        starts_.append(int(at));
    if (!starts_.isEmpty()) {
        const int first = firstFrom(from);
        current_ = first < count() ? first : 0;
    }
}

void BodySearch::clear()
{
    document_ = nullptr;
    revision_ = -1;
    plainText_.clear();
    starts_.clear();
    length_ = 0;
    current_ = -1;
}

void BodySearch::next()
{
    if (!starts_.isEmpty())
        current_ = (current_ + 1) % count();
}

void BodySearch::previous()
{
    if (!starts_.isEmpty())
        current_ = (current_ + count() - 1) % count();
}

int BodySearch::firstFrom(int position) const
{
    return int(std::lower_bound(starts_.begin(), starts_.end(), position) - starts_.begin());
}
