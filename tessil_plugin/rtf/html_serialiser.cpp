#include "rtf/html_serialiser.h"

#include <utility>

namespace rtf {
namespace {

const unsigned kFormat = pugi::format_no_empty_element_tags;

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
    document.save(writer, "\t", kFormat, pugi::encoding_utf8);
    return out;
}

HtmlStreamWriter::HtmlStreamWriter(std::size_t expectedSize)
{
    // Unused capacity of a large reservation is never touched, so it costs
    // address space only.
    out_.reserve(expectedSize);
    out_ += "<?xml version=\"1.0\"?>\n<html>\n<body>";
}

void HtmlStreamWriter::writeBodyChild(const pugi::xml_node& child)
{
    // Without indentation a node prints the same at any depth: its own tags,
    // then a line break. In the whole document a line break follows <body>
    // before the first child element.
    if (!hasChildren_) {
        out_ += '\n';
        hasChildren_ = true;
    }
    StringWriter writer(out_);
    child.print(writer, "\t", kFormat, pugi::encoding_utf8);
}

std::string HtmlStreamWriter::finish()
{
    out_ += "</body>\n</html>\n";
    return std::move(out_);
}

} // namespace rtf
