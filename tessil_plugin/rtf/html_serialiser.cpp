#include "rtf/html_serialiser.h"

#include <sstream>

namespace rtf {

std::string saveHtml(const pugi::xml_document& document)
{
    std::ostringstream stream;
    document.save(stream, "\t", pugi::format_no_empty_element_tags, pugi::encoding_utf8);
    return stream.str();
}

} // namespace rtf
