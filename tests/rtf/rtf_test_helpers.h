#pragma once

// Helpers for the converter tests: run the pass on RTF text and look at the
// part of the result between <body> and </body>.

#include "rtf/rtf_html_converter.h"

#include <QByteArray>
#include <QString>

#include <string>

namespace rtftest {

inline QByteArray convertBytes(const QByteArray& rtf)
{
    const std::string html = rtf::convert(std::string_view(rtf.constData(), static_cast<std::size_t>(rtf.size())));
    return QByteArray(html.data(), static_cast<qsizetype>(html.size()));
}

// The serialised children of body, without the line breaks around them;
// "<empty body>" when body has no children.
inline QByteArray bodyOf(const QByteArray& rtf)
{
    const QByteArray html = convertBytes(rtf);
    const QByteArray open = "<body>\n";
    const QByteArray close = "\n</body>";
    const qsizetype begin = html.indexOf(open);
    const qsizetype end = html.lastIndexOf(close);
    if (html.contains("<body></body>"))
        return "<empty body>";
    if (begin < 0 || end < begin)
        return "<malformed: " + html + ">";
    return html.mid(begin + open.size(), end - begin - open.size());
}

} // namespace rtftest
