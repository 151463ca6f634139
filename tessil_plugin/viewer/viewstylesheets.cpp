#include "viewstylesheets.h"

QString scrollBarStyleSheet()
{
    return QStringLiteral(
        "QScrollBar:vertical { background: #ffffff; width: 8px; margin: 0px; }"
        "QScrollBar::handle:vertical { background: rgba(120, 120, 120, 120); border-radius: 4px; min-height: 36px; }"
        "QScrollBar::handle:vertical:hover { background: rgba(90, 90, 90, 170); }"
        "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical,"
        " QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical"
        " { background: transparent; border: none; height: 0px; }"
        "QScrollBar:horizontal { background: transparent; height: 8px; margin: 0px; }"
        "QScrollBar::handle:horizontal { background: rgba(240, 240, 240, 240); border-radius: 4px; min-width: 36px; }"
        "QScrollBar::handle:horizontal:hover { background: rgba(90, 90, 90, 170); }"
        "QScrollBar::add-line:horizontal, QScrollBar::sub-line:horizontal,"
        " QScrollBar::add-page:horizontal, QScrollBar::sub-page:horizontal"
        " { background: transparent; border: none; width: 0px; }");
}

QString bodyBrowserStyleSheet()
{
    return QStringLiteral(
               "QTextBrowser { margin-top:4px;border: none; background: transparent; }"
               "QTextBrowser::viewport { background: transparent; }")
        + scrollBarStyleSheet();
}

QString bodyDefaultStyleSheet()
{
    return QStringLiteral(
        "body, table, td, p, div, span, pre { font-family: \"Segoe UI\", \"Microsoft YaHei\", \"PingFang SC\","
        " \"Helvetica Neue\", Arial, sans-serif; font-size: 15px; }\n"
        "body { margin: 0; }\n"
        "pre { white-space: pre-wrap; }\n"
        "a { color: #1a5fb4; text-decoration: none; }\n");
}
