#pragma once

// The output document as bytes: pugixml's document save with a TAB indent
// text, no flags but format_no_empty_element_tags, UTF-8. So the bytes start
// with the XML declaration and a LF, put element tags on lines of their own
// (without indentation) except next to text, and write empty elements as a
// start and an end tag, which HTML readers need for "b", "p" and the like.

#include <QString>
#include <QStringDecoder>

#include <pugixml.hpp>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace rtf {

// The whole document at once. Iterative inside pugixml (no recursion over
// the tree depth). `expectedSize` is reserved up front.
std::string saveHtml(const pugi::xml_document& document, std::size_t expectedSize = 0);

// The same bytes piece by piece, so that the tree never holds more than the
// part that can still change. That part is an open path: elements from
// "html" down, each the last child of the one before, that may still receive
// children; everything else is finished. Finished nodes are written and
// removed from the tree; start tags of open elements are written when
// something inside them is, end tags when they leave the path.
class HtmlStreamWriter
{
public:
    using Visitor = std::function<void(const pugi::xml_node&)>;

    // With `utf16`, the bytes are decoded into it as they are written (as
    // QString::fromUtf8 decodes them) instead of being kept: a caller that
    // wants a QString then holds no second copy of the document.
    HtmlStreamWriter(std::size_t expectedSize, QString* utf16 = nullptr);

    // Writes and removes everything finished with respect to `openPath`
    // (which starts at "html"); `visit` sees each finished subtree first.
    void writeFinished(const std::vector<pugi::xml_node>& openPath, const Visitor& visit);

    // Writes the rest of `document` and hands over the bytes (none when
    // they went into the QString).
    std::string finish(pugi::xml_document& document, const Visitor& visit);

private:
    void writeStartTag(const pugi::xml_node& element);
    void writeEndTag(const pugi::xml_node& element);
    void writeWhole(const pugi::xml_node& node);
    void writeChildren(pugi::xml_node parent, const pugi::xml_node& stop, const Visitor& visit);
    void closeLeft(std::size_t keep, const Visitor& visit);
    void spill();

    std::string out_;
    QString* utf16_;
    QStringDecoder decoder_;
    // A line break is owed before the next tag (not before text): pugixml
    // writes it lazily after an element's start or end.
    bool newlineOwed_ = false;
    std::vector<pugi::xml_node> open_; // start tag written, end tag not yet
    pugi::xml_document shell_;         // for printing start tags
};

} // namespace rtf
