#include "rtf/html_serialiser.h"

namespace rtf {
namespace {

// The bytes go straight into a string: the same bytes as pugixml's stream
// writer, without a stream buffer's growth and final copy.
class StringWriter : public pugi::xml_writer
{
public:
    explicit StringWriter(std::string& out)
        : out_(out)
    {
    }

    void write(const void* data, size_t size) override
    {
        out_.append(static_cast<const char*>(data), size);
    }

private:
    std::string& out_;
};

} // namespace

std::string saveHtml(const pugi::xml_document& document, std::size_t expectedSize)
{
    std::string out;
    out.reserve(expectedSize);
    StringWriter writer(out);
    document.save(writer, "\t", pugi::format_no_empty_element_tags, pugi::encoding_utf8);
    return out;
}

} // namespace rtf
