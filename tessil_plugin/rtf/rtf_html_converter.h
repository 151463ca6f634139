#pragma once

// The RTF to HTML converter: one forward pass over the RTF bytes (no
// separate tokenizer, no syntax tree) that builds the output HTML tree as it
// goes, then serialises it.

#include "rtf/format_state.h"
#include "rtf/html_serialiser.h"
#include "rtf/rtf_destinations.h"
#include "rtf/rtf_text_decoder.h"
#include "rtf/rtf_token.h"
#include "rtf/run_builder.h"
#include "rtf/table_builder.h"

#include <pugixml.hpp>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rtf {

// What the output shows as text, as far as the tree tells without an HTML
// engine: no text at all (only white space), certainly some (a letter or a
// digit), or a question for the engine.
enum class TextPresence { None, Certain, Unknown };

class RtfHtmlConverter
{
public:
    // Lists nested at once, at most; deeper items join the innermost list.
    static const std::size_t kMaxListNesting = 16;

    // `rtf` must outlive the converter; it is read, never copied. With
    // `writeAsItGoes`, parts of body that can no longer change are written
    // out during the pass and leave the tree; without, the whole document is
    // saved at the end. The bytes are the same.
    // With `utf16` (writing as it goes only), the document is decoded into
    // that QString instead of being kept as bytes.
    explicit RtfHtmlConverter(std::string_view rtf, bool writeAsItGoes = true, QString* utf16 = nullptr);
    RtfHtmlConverter(const RtfHtmlConverter&) = delete;
    RtfHtmlConverter& operator=(const RtfHtmlConverter&) = delete;

    // Thrown by run() once the flag given to setCancelFlag() is set.
    struct Cancelled
    {
    };

    // Makes run() look at `cancelled` now and then (every 64 KiB of input)
    // and give up when it is set; `cancelled` must outlive the pass.
    void setCancelFlag(const std::atomic<bool>* cancelled) { cancelled_ = cancelled; }

    // Runs the pass. Throws std::invalid_argument or std::out_of_range on a
    // malformed numeric parameter, Cancelled when cancelled.
    void run();

    // After run(): the serialised document (once; empty when it went into a
    // QString), and what it shows.
    std::string takeHtml();
    TextPresence textPresence() const { return presence_; }

private:
    struct SavedState
    {
        FormatState state;
        std::size_t count; // '{' in a row that saved this same state
    };

    void appendPending();
    void appendPlainText();
    void handleControl();
    void handleSymbol(char symbol);
    void handleWord(const RtfToken& token);
    void handleUnicode(std::int32_t param);
    void skipUnicodeFallback();
    void pushState();
    void popState();

    void paragraphMark();
    void listItem();
    void plainParagraph();
    void openList(pugi::xml_node parent, const char* tag);
    void closeList();
    void finishInput();
    void writeFinished();
    void notePresence(const pugi::xml_node& root);

    std::string_view rtf_;
    bool writeAsItGoes_;
    HtmlStreamWriter writer_;
    std::vector<pugi::xml_node> openPath_;
    std::string html_;
    TextPresence presence_ = TextPresence::None;
    pugi::xml_document document_;
    // Elements without a name beside "html", removed when the pass ends: the
    // paragraph being built and the content of table cells being collected.
    pugi::xml_node scratchHolder_;
    pugi::xml_node cellHolder_;
    std::vector<pugi::xml_node> nodeStack_;
    TextDecoder decoder_;
    bool bulletList_ = false;
    bool suppressText_ = false;

    const char* begin_ = nullptr;
    const char* cursor_ = nullptr;
    const char* end_ = nullptr;
    const std::atomic<bool>* cancelled_ = nullptr;
    const char* nextCancelCheck_ = nullptr;
    std::vector<SavedState> stateStack_;
    FormatState state_;
    bool ignorableNext_ = false;
    std::int32_t unicodeSkip_ = 1;
    FontTable fontTable_;
    ColourTable colourTable_;

    bool listTextMode_ = false;
    bool listOpen_ = false;
    std::int32_t prevLevel_ = 0;
    pugi::xml_node lastItem_;
    std::size_t suppressedLists_ = 0; // nested lists beyond kMaxListNesting

    TableCollector tables_;
    RunBuilder run_;
};

// Converts RTF bytes to UTF-8 HTML bytes. Throws on malformed numeric
// parameters. `presence`, when given, receives what the result shows.
std::string convert(std::string_view rtf, TextPresence* presence = nullptr);

// The same document as QString::fromUtf8 of convert() would give, decoded
// while it is written. Throws RtfHtmlConverter::Cancelled once `cancelled`
// (when given) is set.
QString convertToQString(std::string_view rtf, TextPresence* presence = nullptr,
                         const std::atomic<bool>* cancelled = nullptr);

} // namespace rtf
