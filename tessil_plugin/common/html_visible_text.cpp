#include "common/html_visible_text.h"

#include <QChar>
#include <QHash>
#include <QString>

#include <array>
#include <vector>

namespace htmltext {
namespace {

// The elements whose rules decide what shows. Inline and Block are the other
// elements Qt knows (matched by name when closed); Unknown is any name Qt
// does not know.
enum class Tag : quint8 {
    Unknown,
    Inline,
    Block,
    Head, Link, Meta, Script, Style, Title,
    Img, Hr, Br,
    Body, Qt, P, Li,
    Table, Thead, Tbody, Tfoot, Tr, Td, Th, Caption,
    Dl, Dd, Dt,
    Count
};

// How Qt lays a node out; None shows nothing of it.
enum class Display : quint8 { Inline, Block, Table, None };

Tag tagOf(const QString& name)
{
    static const QHash<QString, Tag> known = [] {
        QHash<QString, Tag> table = {
            {QStringLiteral("head"), Tag::Head},     {QStringLiteral("link"), Tag::Link},
            {QStringLiteral("meta"), Tag::Meta},     {QStringLiteral("script"), Tag::Script},
            {QStringLiteral("style"), Tag::Style},   {QStringLiteral("title"), Tag::Title},
            {QStringLiteral("img"), Tag::Img},       {QStringLiteral("hr"), Tag::Hr},
            {QStringLiteral("br"), Tag::Br},         {QStringLiteral("body"), Tag::Body},
            {QStringLiteral("qt"), Tag::Qt},         {QStringLiteral("p"), Tag::P},
            {QStringLiteral("li"), Tag::Li},         {QStringLiteral("table"), Tag::Table},
            {QStringLiteral("thead"), Tag::Thead},   {QStringLiteral("tbody"), Tag::Tbody},
            {QStringLiteral("tfoot"), Tag::Tfoot},   {QStringLiteral("tr"), Tag::Tr},
            {QStringLiteral("td"), Tag::Td},         {QStringLiteral("th"), Tag::Th},
            {QStringLiteral("caption"), Tag::Caption}, {QStringLiteral("dl"), Tag::Dl},
            {QStringLiteral("dd"), Tag::Dd},         {QStringLiteral("dt"), Tag::Dt},
        };
        for (const char* name : {"blockquote", "center", "div", "h1", "h2", "h3", "h4", "h5", "h6", "ol", "pre", "ul"})
            table.insert(QLatin1String(name), Tag::Block);
        for (const char* name : {"a", "address", "b", "big", "cite", "code", "dfn", "em", "font", "html", "i", "kbd",
                                 "nobr", "s", "samp", "small", "span", "strong", "sub", "sup", "tt", "u", "var"})
            table.insert(QLatin1String(name), Tag::Inline);
        return table;
    }();
    return known.value(name, Tag::Unknown);
}

Display displayOf(Tag tag)
{
    switch (tag) {
    case Tag::Head:
    case Tag::Link:
    case Tag::Meta:
    case Tag::Script:
    case Tag::Style:
    case Tag::Title:
        return Display::None;
    case Tag::Block:
    case Tag::Body:
    case Tag::Qt:
    case Tag::P:
    case Tag::Li:
    case Tag::Td:
    case Tag::Th:
    case Tag::Caption:
    case Tag::Dl:
    case Tag::Dd:
    case Tag::Dt:
    case Tag::Hr:
        return Display::Block;
    case Tag::Table:
    case Tag::Thead:
    case Tag::Tbody:
    case Tag::Tfoot:
    case Tag::Tr:
        return Display::Table;
    default:
        return Display::Inline;
    }
}

// Elements that never have children.
bool isVoid(Tag tag)
{
    return tag == Tag::Img || tag == Tag::Hr || tag == Tag::Br || tag == Tag::Meta;
}

// Matched by name when closed; the others by their tag.
bool byName(Tag tag)
{
    return tag == Tag::Unknown || tag == Tag::Inline || tag == Tag::Block;
}

// Where Qt lets an element go; it is moved up until its parent allows it.
bool allowedIn(Tag tag, Tag parent)
{
    switch (tag) {
    case Tag::Dd:
    case Tag::Dt:
        return parent == Tag::Dl;
    case Tag::Tr:
        return parent == Tag::Table || parent == Tag::Thead || parent == Tag::Tbody || parent == Tag::Tfoot;
    case Tag::Td:
    case Tag::Th:
        return parent == Tag::Tr;
    case Tag::Thead:
    case Tag::Tbody:
    case Tag::Tfoot:
    case Tag::Caption:
        return parent == Tag::Table;
    case Tag::Body:
    case Tag::Qt:
        return parent != Tag::Head;
    default:
        return true;
    }
}

// The few named entities that stand for a character which shows nothing.
char32_t invisibleEntity(QStringView name)
{
    static const struct { const char16_t* name; char32_t codePoint; } entities[] = {
        {u"nbsp", 0x00A0}, {u"ensp", 0x2002}, {u"emsp", 0x2003}, {u"thinsp", 0x2009}, {u"zwnj", 0x200C},
        {u"zwj", 0x200D},  {u"lrm", 0x200E},  {u"rlm", 0x200F},  {u"shy", 0x00AD},
    };
    for (const auto& entity : entities) {
        if (name == QStringView(entity.name))
            return entity.codePoint;
    }
    return 0;
}

// What Qt makes of numeric character references 0x80 to 0x9F.
const char16_t kWindows1252[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// Reads the markup as Qt's parser does and keeps what decides visibility: a
// list of nodes in document order (each element, and a nameless node for
// the text between tags) with their parent and display, the open elements
// around the node that text goes to, and how much text that node holds.
// Qt reuses an empty nameless node for the next node, display and all,
// which is how text right after "</head>" can stay hidden; that is kept.
class Scanner
{
public:
    Scanner(QStringView html, Counting counting)
        : text_(html)
        , end_(html.size())
        , counting_(counting)
    {
        counts_.fill(0);
        nodes_.push_back(Node{0, Display::Inline, Tag::Unknown, false});
    }

    bool run()
    {
        while (pos_ < end_ && !found_) {
            const QChar c = text_.at(pos_++);
            if (c == u'<') {
                tag();
            } else if (c == u'&') {
                appendText(entity());
            } else {
                char32_t codePoint = c.unicode();
                qsizetype units = 1;
                if (c.isHighSurrogate() && pos_ < end_ && text_.at(pos_).isLowSurrogate()) {
                    codePoint = QChar::surrogateToUcs4(c, text_.at(pos_++));
                    units = 2;
                }
                noteTextLength(units, units == 1 && c.isSpace());
                if (textShows())
                    noteCharacter(codePoint);
            }
        }
        return found_;
    }

private:
    struct Node
    {
        int parent;
        Display display;
        Tag tag;
        bool named; // nameless nodes hold text and are never parents
    };

    struct Open
    {
        int node;
        int nearestBlock; // index in open_ of the innermost block element from here out; -1: none
        QString name;     // for the elements matched by name
    };

    enum class TextLength : quint8 { Empty, OneSpace, More };

    int last() const { return int(nodes_.size()) - 1; }

    // Text goes to the last node; Qt shows it unless that node shows
    // nothing, or is a table or a row (text outside any cell).
    bool textShows() const
    {
        const Node& node = nodes_.back();
        return node.display != Display::None && !(node.named && (node.tag == Tag::Table || node.tag == Tag::Tr));
    }

    void noteTextLength(qsizetype units, bool space)
    {
        if (lastText_ == TextLength::Empty)
            lastText_ = units == 1 && space ? TextLength::OneSpace : TextLength::More;
        else
            lastText_ = TextLength::More;
    }

    void appendText(const QString& text)
    {
        if (text.isEmpty())
            return;
        noteTextLength(text.size(), text.size() == 1 && text.at(0).isSpace());
        if (!textShows())
            return;
        for (qsizetype i = 0; i < text.size() && !found_; ++i) {
            char32_t codePoint = text.at(i).unicode();
            if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
                codePoint = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
                ++i;
            }
            noteCharacter(codePoint);
        }
    }

    void noteCharacter(char32_t codePoint)
    {
        if (counting_ == Counting::Printing) {
            found_ = isPrintingCharacter(codePoint);
            return;
        }
        // Frame marks become line breaks in the plain text.
        found_ = !(QChar::isSpace(codePoint) || codePoint == 0xFDD0 || codePoint == 0xFDD1);
    }

    bool atChar(char16_t c, qsizetype ahead = 0) const { return pos_ + ahead < end_ && text_.at(pos_ + ahead) == c; }

    void skipSpace()
    {
        while (pos_ < end_ && text_.at(pos_).isSpace() && text_.at(pos_) != QChar::ParagraphSeparator)
            ++pos_;
    }

    void skipPast(char16_t c)
    {
        while (pos_ < end_) {
            if (text_.at(pos_++) == c)
                break;
        }
    }

    // After '&': the characters the reference stands for, or "&" when Qt
    // reads none (the rest is then read again as text).
    QString entity()
    {
        const qsizetype start = pos_;
        qsizetype length = 0;
        bool malformed = false;
        while (pos_ < end_) {
            const QChar c = text_.at(pos_++);
            if (c.isSpace() || pos_ - start > 9) {
                malformed = true;
                break;
            }
            if (c == u';')
                break;
            ++length;
        }
        if (!malformed && length > 0) {
            const QString resolved = resolve(text_.mid(start, length));
            if (!resolved.isNull())
                return resolved;
        }
        pos_ = start;
        return QStringLiteral("&");
    }

    static QString resolve(QStringView name)
    {
        if (name.size() > 1 && name.at(0) == u'#') {
            QStringView digits = name.mid(1);
            int base = 10;
            if (digits.at(0).toLower() == u'x') {
                digits = digits.mid(1);
                base = 16;
            }
            bool ok = false;
            uint code = digits.toUInt(&ok, base);
            if (!ok)
                return {};
            if (code >= 0x80 && code < 0xA0)
                code = kWindows1252[code - 0x80];
            const auto units = QChar::fromUcs4(char32_t(code));
            return QStringView(units).toString();
        }
        if (const char32_t invisible = invisibleEntity(name))
            return QString(QChar(char16_t(invisible)));
        // Qt's names are letters and digits. Any other one is no reference,
        // and its characters are read again as text: one may begin a tag.
        for (const QChar c : name) {
            if (c.unicode() > 0x7F || !c.isLetterOrNumber())
                return {};
        }
        // A name Qt knows shows its character, one it does not know shows
        // as written, beginning with '&': something visible either way.
        return QStringLiteral("&");
    }

    // One word as Qt's parser reads tag names and attributes: quoted, or up
    // to white space, '>', "/>", '<' or '='. Its text only when `text` is
    // given; whether it had any is returned either way. References need no
    // reading where the text is not kept: none that Qt resolves holds a
    // character that would end the word.
    bool word(QString* text)
    {
        bool any = false;
        if (atChar(u'"')) {
            ++pos_;
            while (pos_ < end_) {
                const QChar c = text_.at(pos_++);
                if (c == u'"')
                    break;
                any = true;
                if (text)
                    c == u'&' ? text->append(entity()) : text->append(c);
            }
        } else if (atChar(u'\'')) {
            ++pos_;
            while (pos_ < end_) {
                const QChar c = text_.at(pos_++);
                if (c == u'\'' && text_.at(pos_ - 2) != u'\\')
                    break;
                any = true;
                if (text)
                    text->append(c);
            }
        } else {
            while (pos_ < end_) {
                const QChar c = text_.at(pos_++);
                if (c == u'>' || (c == u'/' && atChar(u'>')) || c == u'<' || c == u'=' || c.isSpace()) {
                    --pos_;
                    break;
                }
                any = true;
                if (text)
                    c == u'&' ? text->append(entity()) : text->append(c);
            }
        }
        return any;
    }

    void attributes()
    {
        while (pos_ < end_) {
            skipSpace();
            if (atChar(u'>') || atChar(u'/'))
                break;
            if (!word(nullptr))
                break;
            skipSpace();
            if (atChar(u'=')) {
                ++pos_;
                skipSpace();
                word(nullptr);
            }
        }
    }

    // After '<'.
    void tag()
    {
        skipSpace();
        if (atChar(u'!')) {
            ++pos_;
            if (atChar(u'-') && atChar(u'-', 1)) {
                const qsizetype close = text_.indexOf(u"-->", pos_ + 2);
                pos_ = close >= 0 ? close + 3 : end_;
            } else {
                skipPast(u'>');
            }
            return;
        }
        if (atChar(u'/')) {
            ++pos_;
            closeTag();
            return;
        }
        startTag();
    }

    // A node for what comes next, under `parent`: the last node again when
    // it is nameless and holds no text (or one space after a block), keeping
    // its display, else a new inline one.
    int newNode(int parent)
    {
        bool reuse = false;
        const Node& lastNode = nodes_.back();
        if (nodes_.size() > 1 && !lastNode.named) {
            if (lastText_ == TextLength::Empty) {
                reuse = true;
            } else if (lastText_ == TextLength::OneSpace) {
                int sibling = last() - 1;
                while (sibling && nodes_[size_t(sibling)].parent != lastNode.parent
                       && nodes_[size_t(sibling)].display == Display::Inline)
                    sibling = nodes_[size_t(sibling)].parent;
                reuse = nodes_[size_t(sibling)].display != Display::Inline;
            }
        }
        if (!reuse)
            nodes_.push_back(Node{0, Display::Inline, Tag::Unknown, false});
        Node& node = nodes_.back();
        node.parent = parent;
        node.named = false;
        node.tag = Tag::Unknown;
        lastText_ = TextLength::Empty;
        return last();
    }

    // What a node takes from its parent: nothing shows inside what shows nothing.
    void inherit(int index)
    {
        Node& node = nodes_[size_t(index)];
        if (nodes_[size_t(node.parent)].display == Display::None)
            node.display = Display::None;
    }

    int openTop() const { return open_.empty() ? 0 : open_.back().node; }

    void startTag()
    {
        const int parent = openTop();
        int index = newNode(parent);
        QString name;
        word(&name);
        name = name.toLower();
        const Tag tag = name.isEmpty() ? Tag::Unknown : tagOf(name);
        nodes_.back().named = !name.isEmpty();
        nodes_.back().tag = tag;
        if (tag != Tag::Unknown)
            nodes_.back().display = displayOf(tag);
        if (pos_ < end_ && text_.at(pos_).isSpace())
            attributes();
        if (!name.isEmpty())
            index = place(index, tag);
        inherit(index);
        bool closed = false;
        while (pos_ < end_ && text_.at(pos_) != u'>') {
            if (text_.at(pos_) == u'/')
                closed = true;
            ++pos_;
        }
        ++pos_;
        if (tag == Tag::Img && counting_ == Counting::NotWhiteSpace && nodes_[size_t(index)].display != Display::None)
            found_ = true; // an image shows as U+FFFC
        if (name.isEmpty()) {
            if (closed)
                inherit(newNode(parent));
            return; // a nameless node: Qt treats it like text
        }
        if (isVoid(tag) || closed) {
            inherit(newNode(nodes_[size_t(index)].parent));
            return;
        }
        push(index, name);
    }

    void push(int index, const QString& name)
    {
        const Node& node = nodes_[size_t(index)];
        Open entry{index, -1, QString()};
        if (byName(node.tag)) {
            // One copy of each name, shared by every element that has it.
            auto counted = named_.find(name);
            if (counted == named_.end())
                counted = named_.insert(name, 0);
            entry.name = counted.key();
        }
        if (node.display == Display::Block)
            entry.nearestBlock = int(open_.size());
        else if (!open_.empty())
            entry.nearestBlock = open_.back().nearestBlock;
        open_.push_back(std::move(entry));
        count(open_.back(), +1);
    }

    // An inserted table or row, with none of its parent's display.
    void insertBefore(int index, Tag tag, int parent)
    {
        nodes_.insert(nodes_.begin() + index, Node{parent, Display::Inline, tag, true});
        push(index, QString());
    }

    // Where Qt puts an element: possibly under a table and a row it inserts
    // for it, or further out than the element it came in. Returns the
    // element's index, which the inserted nodes move on.
    int place(int index, Tag tag)
    {
        if (tag == Tag::Td && counts_[size_t(Tag::Tr)] == 0) {
            const int parent = openTop();
            insertBefore(index, Tag::Table, parent);
            insertBefore(index + 1, Tag::Tr, index);
            index += 2;
        } else if (tag == Tag::Tr && counts_[size_t(Tag::Table)] == 0) {
            insertBefore(index, Tag::Table, openTop());
            index += 1;
        }
        bool placed = false;
        if (tag == Tag::P && !open_.empty()) {
            // A paragraph ends the one it would be inside.
            const int block = open_.back().nearestBlock;
            if (block >= 0 && nodes_[size_t(open_[size_t(block)].node)].tag == Tag::P) {
                popTo(block);
                placed = true;
            }
        }
        if (!placed && (tag == Tag::P || tag == Tag::Li) && !open_.empty()
            && nodes_[size_t(open_.back().node)].tag == tag)
            popTo(int(open_.size()) - 1);
        while (!open_.empty() && !allowedIn(tag, nodes_[size_t(open_.back().node)].tag))
            popTo(int(open_.size()) - 1);
        nodes_[size_t(index)].parent = openTop();
        return index;
    }

    void popTo(int size)
    {
        while (int(open_.size()) > size) {
            count(open_.back(), -1);
            open_.pop_back();
        }
    }

    void count(const Open& entry, int step)
    {
        const Tag tag = nodes_[size_t(entry.node)].tag;
        if (byName(tag)) {
            const auto counted = named_.find(entry.name);
            if (counted != named_.end() && (*counted += step) == 0)
                named_.erase(counted);
        } else {
            counts_[size_t(tag)] += step;
        }
    }

    // After "</": closes the innermost open element of that name and
    // everything inside it; a name that is not open is ignored.
    void closeTag()
    {
        QString name;
        word(&name);
        name = name.toLower().trimmed();
        skipPast(u'>');
        const Node& lastNode = nodes_.back();
        if (name.isEmpty()) {
            // Only a nameless last node matches an empty name.
            if (!lastNode.named)
                inherit(newNode(lastNode.parent));
            return;
        }
        const Tag tag = tagOf(name);
        // A void element just before is closed again: what follows goes
        // where that element was, outside anything opened since.
        if (last() > 0 && isVoid(tag)) {
            const Node& before = nodes_[size_t(last() - 1)];
            if (before.named && before.tag == tag) {
                const int parent = before.parent;
                while (!open_.empty() && open_.back().node != parent)
                    popTo(int(open_.size()) - 1);
                inherit(newNode(parent));
                return;
            }
        }
        const bool matchName = byName(tag);
        if (matchName ? named_.value(name) == 0 : counts_[size_t(tag)] == 0)
            return;
        int at = int(open_.size()) - 1;
        while (at >= 0
               && (matchName ? open_[size_t(at)].name != name : nodes_[size_t(open_[size_t(at)].node)].tag != tag))
            --at;
        const int parent = nodes_[size_t(open_[size_t(at)].node)].parent;
        popTo(at);
        inherit(newNode(parent));
    }

    QStringView text_;
    qsizetype pos_ = 0;
    const qsizetype end_;
    const Counting counting_;
    bool found_ = false;
    std::vector<Node> nodes_;
    TextLength lastText_ = TextLength::Empty;
    std::vector<Open> open_;
    std::array<int, size_t(Tag::Count)> counts_;
    QHash<QString, int> named_;
};

} // namespace

bool isPrintingCharacter(char32_t codePoint)
{
    if (codePoint == 0xFFFC || QChar::isSpace(codePoint))
        return false;
    switch (QChar::category(codePoint)) {
    case QChar::Separator_Space:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Other_PrivateUse:
    case QChar::Other_NotAssigned:
        return false;
    default:
        return true;
    }
}

bool showsText(QStringView html, Counting counting)
{
    // Qt imports only the part of a page between these marks, which some
    // programs leave in what they copy to the clipboard.
    const qsizetype start = html.indexOf(u"<!--StartFragment-->");
    if (start >= 0) {
        const qsizetype end = html.indexOf(u"<!--EndFragment-->");
        html = start < end ? html.mid(start, end - start) : html.mid(start);
    }
    return Scanner(html, counting).run();
}

} // namespace htmltext
