#include "rtf/html_serialiser.h"

#include "common/huge_pages.h"

#include <cstdint>
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

namespace {

// Bytes gathered before they are decoded into the QString.
const std::size_t kSpillSize = 64 * 1024;

} // namespace

HtmlStreamWriter::HtmlStreamWriter(std::size_t expectedSize, QString* utf16)
    : utf16_(utf16)
    , decoder_(QStringDecoder::Utf8)
{
    // Unused capacity of a large reservation is never touched, so it costs
    // address space only.
    if (utf16_) {
        utf16_->clear();
        utf16_->reserve(static_cast<qsizetype>(expectedSize));
        // A large result is one large fresh buffer, which the kernel maps in page
        // by page as it fills; huge pages make that one fault per 2 MiB.
        memoryhint::preferHugePages(utf16_->constData(), std::uint64_t(utf16_->capacity()) * sizeof(QChar));
        out_.reserve(2 * kSpillSize);
    } else {
        out_.reserve(expectedSize);
    }
    out_ += "<?xml version=\"1.0\"?>\n";
}

void HtmlStreamWriter::spill()
{
    if (!utf16_ || out_.empty())
        return;
    // The decoder keeps a sequence cut at the end of one spill for the next,
    // so the text is what one decoding of the whole would give.
    utf16_->append(decoder_.decode(QByteArrayView(out_.data(), static_cast<qsizetype>(out_.size()))));
    out_.clear();
}

void HtmlStreamWriter::writeStartTag(const pugi::xml_node& element)
{
    if (newlineOwed_)
        out_ += '\n';
    // pugixml prints the tag itself: a shell with the same name and
    // attributes and one character of text, cut before that character.
    shell_.reset();
    pugi::xml_node shell = shell_.append_child(element.name());
    for (const pugi::xml_attribute& attribute : element.attributes())
        shell.append_copy(attribute);
    shell.append_child(pugi::node_pcdata).set_value("x");
    std::string printed;
    StringWriter writer(printed);
    shell.print(writer, "\t", kFormat, pugi::encoding_utf8);
    const std::size_t tail = 1 + 2 + std::char_traits<char>::length(element.name()) + 2; // x</name>\n
    out_.append(printed, 0, printed.size() - tail);
    newlineOwed_ = true;
}

void HtmlStreamWriter::writeEndTag(const pugi::xml_node& element)
{
    if (newlineOwed_)
        out_ += '\n';
    out_ += "</";
    out_ += element.name();
    out_ += '>';
    newlineOwed_ = true;
}

void HtmlStreamWriter::writeWhole(const pugi::xml_node& node)
{
    const bool element = node.type() == pugi::node_element;
    if (element && newlineOwed_)
        out_ += '\n';
    StringWriter writer(out_);
    node.print(writer, "\t", kFormat, pugi::encoding_utf8);
    // An element prints with a line break after it, which the whole
    // document writes only before a following tag.
    if (element && !out_.empty() && out_.back() == '\n')
        out_.pop_back();
    newlineOwed_ = element;
}

void HtmlStreamWriter::writeChildren(pugi::xml_node parent, const pugi::xml_node& stop, const Visitor& visit)
{
    for (pugi::xml_node child = parent.first_child(); child && child != stop;) {
        const pugi::xml_node next = child.next_sibling();
        visit(child);
        writeWhole(child);
        // The tree's depth is bounded, so the recursive removal is safe.
        parent.remove_child(child);
        child = next;
    }
}

void HtmlStreamWriter::closeLeft(std::size_t keep, const Visitor& visit)
{
    while (open_.size() > keep) {
        const pugi::xml_node element = open_.back();
        writeChildren(element, pugi::xml_node(), visit);
        writeEndTag(element);
        open_.pop_back();
        element.parent().remove_child(element);
    }
}

void HtmlStreamWriter::writeFinished(const std::vector<pugi::xml_node>& openPath, const Visitor& visit)
{
    std::size_t common = 0;
    while (common < open_.size() && common < openPath.size() && open_[common] == openPath[common])
        ++common;
    closeLeft(common, visit);

    for (std::size_t k = 0; k < openPath.size(); ++k) {
        const pugi::xml_node element = openPath[k];
        const pugi::xml_node next = k + 1 < openPath.size() ? openPath[k + 1] : pugi::xml_node();
        if (element.first_child() == next)
            continue; // nothing finished before the next open element
        while (open_.size() <= k) {
            writeStartTag(openPath[open_.size()]);
            open_.push_back(openPath[open_.size()]);
        }
        writeChildren(element, next, visit);
    }
    if (out_.size() >= kSpillSize)
        spill();
}

std::string HtmlStreamWriter::finish(pugi::xml_document& document, const Visitor& visit)
{
    closeLeft(0, visit);
    writeChildren(document, pugi::xml_node(), visit);
    if (newlineOwed_)
        out_ += '\n';
    if (utf16_) {
        spill();
        return std::string();
    }
    return std::move(out_);
}

} // namespace rtf
