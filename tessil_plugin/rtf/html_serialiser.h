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

// Iterative inside pugixml (no recursion over the tree depth). `expectedSize`
// is reserved up front, sparing the copies of a growing string.
std::string saveHtml(const pugi::xml_document& document, std::size_t expectedSize = 0);

} // namespace rtf
