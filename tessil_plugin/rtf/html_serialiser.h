#pragma once

// The output document as bytes: pugixml's document save with a TAB indent
// text, no flags but format_no_empty_element_tags, UTF-8. So the bytes start
// with the XML declaration and a LF, put element tags on lines of their own
// (without indentation) except next to text, and write empty elements as a
// start and an end tag, which HTML readers need for "b", "p" and the like.

#include <pugixml.hpp>

#include <cstddef>
#include <string>

namespace rtf {

// The whole document at once. Iterative inside pugixml (no recursion over
// the tree depth). `expectedSize` is reserved up front.
std::string saveHtml(const pugi::xml_document& document, std::size_t expectedSize = 0);

// The same bytes piece by piece, for a document that is html > body > child
// elements: the children of body are written as they are finished, so the
// tree never holds more than the part still being built.
class HtmlStreamWriter
{
public:
    explicit HtmlStreamWriter(std::size_t expectedSize);

    // Writes the next child element of body (with everything inside it).
    void writeBodyChild(const pugi::xml_node& child);

    // Closes body and html and hands over the bytes.
    std::string finish();

private:
    std::string out_;
    bool hasChildren_ = false;
};

} // namespace rtf
