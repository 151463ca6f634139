#include "rtf/visible_text.h"

#include "common/html_visible_text.h"

namespace rtf {

bool hasVisibleText(const QString& html)
{
    return htmltext::showsText(html, htmltext::Counting::NotWhiteSpace);
}

} // namespace rtf
