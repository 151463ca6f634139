#include "rtf/rtf_html_converter.h"

#include "common/codepage.h"
#include "rtf/control_words.h"
#include "rtf/html_serialiser.h"

#include <QChar>

#include <algorithm>
#include <cstring>
#include <utility>

namespace rtf {
namespace {

bool isAsciiAlphanumeric(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool isAsciiSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// The code point of a well-formed UTF-8 sequence of two to four bytes at
// `p` (the lead byte at or above 0x80), advancing `p`; 0 when malformed.
char32_t decodeUtf8(const char*& p)
{
    const auto lead = static_cast<unsigned char>(*p++);
    int length = 0;
    char32_t codePoint = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 1;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 2;
        codePoint = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 3;
        codePoint = lead & 0x07;
    } else {
        return 0;
    }
    for (int i = 0; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(*p);
        if ((byte & 0xC0) != 0x80)
            return 0;
        codePoint = codePoint << 6 | (byte & 0x3F);
        ++p;
    }
    return codePoint;
}

bool isHighSurrogate(std::uint16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(std::uint16_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

} // namespace

RtfHtmlConverter::RtfHtmlConverter(std::string_view rtf, bool writeAsItGoes, QString* utf16)
    : rtf_(rtf)
    , writeAsItGoes_(writeAsItGoes)
    // Mail bodies come out at two to three times their RTF size.
    , writer_(writeAsItGoes ? rtf.size() / 2 * 5 + 256 : 0, writeAsItGoes ? utf16 : nullptr)
    , scratchHolder_(document_.append_child(pugi::node_element))
    , cellHolder_(document_.append_child(pugi::node_element))
    , tables_(cellHolder_)
    , run_(state_, scratchHolder_)
{
}

void RtfHtmlConverter::run()
{
    begin_ = rtf_.data();
    cursor_ = begin_;
    end_ = begin_ + rtf_.size();

    pugi::xml_node body = document_.prepend_child("html").append_child("body");
    nodeStack_.assign(1, body);
    lastItem_ = body;
    state_ = FormatState();
    unicodeSkip_ = 1;

    nextCancelCheck_ = begin_;
    while (cursor_ < end_) {
        if (cancelled_ && cursor_ >= nextCancelCheck_) {
            if (cancelled_->load(std::memory_order_relaxed))
                throw Cancelled();
            nextCancelCheck_ = end_ - cursor_ > 65536 ? cursor_ + 65536 : end_;
        }
        switch (*cursor_) {
        case '\n':
        case '\r':
            ++cursor_;
            break;
        case '\\':
            ++cursor_;
            if (cursor_ >= end_)
                break;
            handleControl();
            break;
        case '{':
            ++cursor_;
            appendPending();
            pushState();
            break;
        case '}':
            ++cursor_;
            appendPending();
            popState();
            break;
        default:
            appendPlainText();
            break;
        }
    }
    finishInput();
    // Their depth is bounded, so the recursive removal is safe.
    document_.remove_child(scratchHolder_);
    document_.remove_child(cellHolder_);
    const auto visit = [this](const pugi::xml_node& node) { notePresence(node); };
    if (writeAsItGoes_) {
        html_ = writer_.finish(document_, visit);
    } else {
        notePresence(document_);
        // Mail bodies come out at two to three times their RTF size.
        html_ = saveHtml(document_, rtf_.size() / 2 * 5 + 256);
    }
}

void RtfHtmlConverter::appendPending()
{
    run_.appendText(decoder_.flushPendingBytes(true));
}

// A stretch of plain bytes up to the next backslash or brace goes to the run
// with one formatting, so it is handed over in pieces without looking at the
// formatting again. Line breaks in it are ignored; inside \listtext only '<'
// and '>' get through.
void RtfHtmlConverter::appendPlainText()
{
    run_.appendText(decoder_.flushPendingBytes(true));
    while (cursor_ < end_) {
        const char* piece = cursor_;
        while (cursor_ < end_) {
            const char c = *cursor_;
            if (c == '\\' || c == '{' || c == '}' || c == '\n' || c == '\r')
                break;
            ++cursor_;
        }
        if (!suppressText_) {
            const std::string_view text(piece, static_cast<std::size_t>(cursor_ - piece));
            if (decoder_.passesThrough(text))
                run_.appendText(text);
            else
                run_.appendText(decoder_.decodePlainText(text, state_.font.charset));
        } else {
            for (const char* p = piece; p < cursor_; ++p)
                if (*p == '<' || *p == '>')
                    run_.appendText(std::string_view(p, 1));
        }
        if (cursor_ >= end_ || (*cursor_ != '\n' && *cursor_ != '\r'))
            break;
        ++cursor_;
    }
}

void RtfHtmlConverter::pushState()
{
    // Runs of identical saved states share one entry: deep nesting of plain
    // braces costs no memory per level.
    if (!stateStack_.empty() && identicalState(stateStack_.back().state, state_))
        ++stateStack_.back().count;
    else
        stateStack_.push_back(SavedState{state_, 1});
}

void RtfHtmlConverter::popState()
{
    if (stateStack_.empty())
        return;
    SavedState& top = stateStack_.back();
    state_ = top.state;
    if (--top.count == 0)
        stateStack_.pop_back();
}

void RtfHtmlConverter::handleControl()
{
    const RtfToken token = readToken(cursor_, end_);
    if (token.isSymbol) {
        handleSymbol(token.symbol);
        return;
    }
    if (ignorableNext_) {
        // {\*\destination ...}: the group goes, and with it the state its
        // opening brace saved.
        ignorableNext_ = false;
        popState();
        skipGroup(cursor_, end_);
        return;
    }
    appendPending();
    handleWord(token);
}

void RtfHtmlConverter::handleSymbol(char symbol)
{
    switch (symbol) {
    case '\'':
        run_.appendText(decoder_.decodeHexByte(begin_, cursor_, end_, state_.font.charset, suppressText_, bulletList_));
        break;
    case '*':
        appendPending();
        // {\*\shppict ...} holds the picture that \pict drops; the group
        // itself is read like any other.
        if (!(end_ - cursor_ >= 8 && std::memcmp(cursor_, "\\shppict", 8) == 0))
            ignorableNext_ = true;
        break;
    case '\\':
    case '{':
    case '}': {
        std::string text = decoder_.flushPendingBytes(true);
        text.push_back(symbol);
        run_.appendText(text);
        break;
    }
    case '~': {
        std::string text = decoder_.flushPendingBytes(true);
        text += "\xC2\xA0";
        run_.appendText(text);
        break;
    }
    default:
        // \-, \_, \:, \| and an escaped line break show nothing.
        break;
    }
}

void RtfHtmlConverter::handleWord(const RtfToken& token)
{
    const std::int32_t param = token.param;
    switch (lookupWord(token.name)) {
    case Word::Unknown:
        break;

    case Word::SkippedDestination:
        // The skip eats the group's closing brace, so the state saved by its
        // opening brace is restored here; otherwise formatting set before the
        // group (bold around a picture) would outlive the enclosing group.
        popState();
        skipGroup(cursor_, end_);
        break;
    case Word::ColourTable:
        readColourTable(cursor_, end_, colourTable_);
        popState();
        break;
    case Word::FontTable:
        readFontTable(cursor_, end_, fontTable_);
        popState();
        break;

    case Word::UnicodeSkip:
        if (param >= 0)
            unicodeSkip_ = param;
        break;
    case Word::Unicode:
        if (param != -1)
            handleUnicode(param);
        break;

    case Word::Bold: state_.bold = param != 0; break;
    case Word::Italic: state_.italic = param != 0; break;
    case Word::Underline: state_.underline = param != 0; break;
    case Word::UnderlineNone: state_.underline = false; break;
    case Word::Strike: state_.strike = param != 0; break;
    case Word::Outline: state_.outline = param != 0; break;
    case Word::Subscript: state_.subscript = param != 0; break;
    case Word::Superscript: state_.superscript = param != 0; break;
    case Word::FontSize: state_.fontSize = param / 2; break;
    case Word::Font: state_.font = fontTable_[param]; break;
    case Word::Foreground:
        if (param >= 0 && static_cast<std::size_t>(param) < colourTable_.size())
            state_.foreground = colourTable_[static_cast<std::size_t>(param)];
        break;
    case Word::Background:
        if (param >= 0 && static_cast<std::size_t>(param) < colourTable_.size())
            state_.background = colourTable_[static_cast<std::size_t>(param)];
        break;
    case Word::Plain: resetToPlain(state_); break;

    case Word::AlignLeft: state_.textAlign = TextAlign::Left; break;
    case Word::AlignCenter: state_.textAlign = TextAlign::Center; break;
    case Word::AlignRight: state_.textAlign = TextAlign::Right; break;
    case Word::AlignJustify: state_.textAlign = TextAlign::Justify; break;
    case Word::CellAlignBottom: state_.verticalAlign = VerticalAlign::Bottom; break;
    case Word::CellAlignMiddle: state_.verticalAlign = VerticalAlign::Middle; break;
    case Word::CellAlignTop: state_.verticalAlign = VerticalAlign::Top; break;
    case Word::LeftIndent: state_.listLevel = param / 20; break;
    case Word::ParagraphDefaults:
        state_.listLevel = 0;
        state_.inTable = false;
        break;
    case Word::InTable: state_.inTable = true; break;
    case Word::Paragraph: paragraphMark(); break;
    case Word::ListText:
        listTextMode_ = true;
        suppressText_ = true;
        break;
    case Word::BulletLevel: bulletList_ = true; break;

    case Word::Line: run_.appendText("\n"); break;
    case Word::Tab:
        // The tab that ends a list item's number or bullet lets text through again.
        if (listTextMode_)
            suppressText_ = false;
        else
            run_.appendText("\t");
        break;
    case Word::NoBreakSpace: run_.appendText("\xC2\xA0"); break;
    case Word::EnDash: run_.appendText("\xE2\x80\x93"); break;
    case Word::EmDash: run_.appendText("\xE2\x80\x94"); break;
    case Word::Bullet: run_.appendText("\xE2\x80\xA2"); break;
    case Word::LeftQuote: run_.appendText("\xE2\x80\x98"); break;
    case Word::RightQuote: run_.appendText("\xE2\x80\x99"); break;
    case Word::LeftDoubleQuote: run_.appendText("\xE2\x80\x9C"); break;
    case Word::RightDoubleQuote: run_.appendText("\xE2\x80\x9D"); break;

    case Word::RowDefaults: tables_.startRowDef(); break;
    case Word::RowLeft: tables_.setRowLeft(param); break;
    case Word::CellFirstMerged: tables_.markFirstMerged(); break;
    case Word::CellMerged: tables_.markMerged(); break;
    case Word::CellEdge: tables_.addCellEdge(param); break;
    case Word::Cell:
        run_.flushRun();
        run_.emitRun(tables_.currentCellContent());
        run_.resetRun();
        tables_.finishCell();
        break;
    case Word::Row: tables_.finishRow(); break;
    }
}

void RtfHtmlConverter::handleUnicode(std::int32_t param)
{
    const auto unit = static_cast<std::uint16_t>(param);
    skipUnicodeFallback();

    if (isHighSurrogate(unit)) {
        // A character beyond the Basic Multilingual Plane comes as two \u
        // escapes, each with its fallback; together they are one character.
        const char* p = cursor_;
        while (p < end_ && (*p == '\r' || *p == '\n'))
            ++p;
        if (p < end_ && *p == '\\') {
            const char* next = p + 1;
            const RtfToken token = readToken(next, end_);
            const auto low = static_cast<std::uint16_t>(token.param);
            if (!token.isSymbol && token.name == "u" && token.param != -1 && isLowSurrogate(low)) {
                cursor_ = next;
                skipUnicodeFallback();
                std::string text;
                codepage::appendUtf8(text, 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10)
                                               + (static_cast<char32_t>(low) - 0xDC00));
                run_.appendText(text);
                return;
            }
        }
    }
    run_.appendText(utf16UnitToUtf8(unit));
}

// The characters after a \u escape stand in for it in older readers: plain
// bytes (braces too) or escapes, a \'hh with its two digits.
void RtfHtmlConverter::skipUnicodeFallback()
{
    for (std::int32_t n = 0; n < unicodeSkip_ && cursor_ < end_; ++n) {
        if (*cursor_ != '\\') {
            ++cursor_;
            continue;
        }
        ++cursor_;
        if (cursor_ < end_ && *cursor_ == '\'') {
            ++cursor_;
            cursor_ += end_ - cursor_ < 2 ? end_ - cursor_ : 2;
        } else {
            readToken(cursor_, end_);
        }
    }
}

void RtfHtmlConverter::paragraphMark()
{
    run_.flushRun();
    if (tables_.isOpen()) {
        if (state_.inTable) {
            pugi::xml_node content = tables_.currentCellContent();
            run_.emitRun(content);
            content.append_child("br");
            run_.resetRun();
            return;
        }
        tables_.writeTable(nodeStack_.back());
        // The paragraph whose mark ends the table follows it.
        plainParagraph();
    } else if (listTextMode_) {
        listItem();
    } else {
        plainParagraph();
    }
    run_.resetRun();
    if (writeAsItGoes_)
        writeFinished();
}

// Only the open path can still change: the node stack's elements with their
// ancestors, and the last list item when it is a child of the stack's top
// (a nested list may yet go into it). Everything before them is final.
void RtfHtmlConverter::writeFinished()
{
    std::vector<pugi::xml_node>& path = openPath_;
    path.clear();
    const pugi::xml_node top = nodeStack_.back();
    for (pugi::xml_node node = top; node && node.type() == pugi::node_element; node = node.parent())
        path.push_back(node);
    std::reverse(path.begin(), path.end());
    if (lastItem_ != top) {
        if (lastItem_.parent() != top)
            return; // not a shape the list rules leave at a paragraph's end; wait
        path.push_back(lastItem_);
    }
    writer_.writeFinished(path, [this](const pugi::xml_node& node) { notePresence(node); });
}

void RtfHtmlConverter::openList(pugi::xml_node parent, const char* tag)
{
    nodeStack_.push_back(parent.append_child(tag));
    listOpen_ = true;
}

void RtfHtmlConverter::closeList()
{
    if (suppressedLists_ > 0)
        --suppressedLists_;
    else if (nodeStack_.size() > 1)
        nodeStack_.pop_back();
}

void RtfHtmlConverter::listItem()
{
    const char* tag = bulletList_ ? "ul" : "ol";
    const std::int32_t level = state_.listLevel;
    const bool changeType = level == prevLevel_ && std::strcmp(lastItem_.parent().name(), tag) != 0;

    if (level > prevLevel_) {
        if (nodeStack_.size() > kMaxListNesting) {
            ++suppressedLists_;
            listOpen_ = true;
        } else {
            openList(lastItem_, tag);
        }
    } else if (changeType) {
        if (!listOpen_ || nodeStack_.size() == 1) {
            // No list to step out of (the first item after a plain paragraph
            // at the same indent, or a list already closed down to body): the
            // new list goes into the current container, not after body.
            openList(nodeStack_.back(), tag);
        } else {
            lastItem_ = nodeStack_.back().parent();
            nodeStack_.pop_back();
            openList(lastItem_, tag);
        }
    } else if (level < prevLevel_) {
        closeList();
    }

    pugi::xml_node item = nodeStack_.back().append_child("li");
    lastItem_ = item;
    prevLevel_ = level;
    listTextMode_ = false;
    bulletList_ = false;
    run_.emitRun(item);
}

void RtfHtmlConverter::plainParagraph()
{
    if (listOpen_) {
        listOpen_ = false;
        closeList();
    }
    pugi::xml_node container = nodeStack_.back();
    prevLevel_ = state_.listLevel;
    lastItem_ = container;
    run_.emitRun(container.append_child("p"));
}

// The body's last line often has no paragraph mark, and a table may end the
// body: both are written rather than lost.
void RtfHtmlConverter::finishInput()
{
    appendPending();
    if (tables_.isOpen())
        tables_.writeTable(nodeStack_.back());
    if (run_.holdsText())
        paragraphMark();
}

std::string RtfHtmlConverter::takeHtml()
{
    return std::move(html_);
}

void RtfHtmlConverter::notePresence(const pugi::xml_node& root)
{
    // Iterative walk over root and its descendants: the tree's depth is
    // bounded, but no walk here recurses.
    pugi::xml_node node = root;
    while (node && presence_ != TextPresence::Certain) {
        if (node.type() == pugi::node_pcdata) {
            for (const char* p = node.value(); *p;) {
                // Letters and digits of any script certainly show.
                bool certain = false;
                if (static_cast<unsigned char>(*p) < 0x80) {
                    certain = isAsciiAlphanumeric(*p);
                    if (!certain && !isAsciiSpace(*p))
                        presence_ = TextPresence::Unknown;
                    ++p;
                } else {
                    const char32_t codePoint = decodeUtf8(p);
                    certain = codePoint != 0 && QChar::isLetterOrNumber(codePoint);
                    presence_ = TextPresence::Unknown;
                }
                if (certain) {
                    presence_ = TextPresence::Certain;
                    return;
                }
            }
        }
        if (node.first_child()) {
            node = node.first_child();
            continue;
        }
        while (node != root && !node.next_sibling())
            node = node.parent();
        if (node == root)
            break;
        node = node.next_sibling();
    }
}

std::string convert(std::string_view rtf, TextPresence* presence)
{
    RtfHtmlConverter converter(rtf);
    converter.run();
    if (presence)
        *presence = converter.textPresence();
    return converter.takeHtml();
}

QString convertToQString(std::string_view rtf, TextPresence* presence, const std::atomic<bool>* cancelled)
{
    QString html;
    RtfHtmlConverter converter(rtf, true, &html);
    converter.setCancelFlag(cancelled);
    converter.run();
    if (presence)
        *presence = converter.textPresence();
    return html;
}

} // namespace rtf
