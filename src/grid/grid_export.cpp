#include "grid_export.h"

#include <QHash>
#include <algorithm>

TMyAlign AlignFromByte(std::uint8_t value) {
    return value <= 3 ? static_cast<TMyAlign>(value) : TMyAlign::alDefault;
}

QString ExportSeparatedText(const TGridTable &table, QChar separator, int firstRow, int lastRow, int firstCol,
                            int lastCol) {
    firstRow = std::max(firstRow, 0);
    firstCol = std::max(firstCol, 0);
    lastRow = std::min(lastRow, table.Rows - 1);
    lastCol = std::min(lastCol, table.Cols - 1);
    QString out;
    for (int r = firstRow; r <= lastRow; ++r) {
        for (int c = firstCol; c <= lastCol; ++c) {
            out += table.cell(r, c).Text;
            out += separator;
        }
        out += QLatin1String("\r\n");
    }
    return out;
}

QString ExportSeparatedText(const TGridTable &table, QChar separator) {
    return ExportSeparatedText(table, separator, 0, table.Rows - 1, 0, table.Cols - 1);
}

QString HtmlColor(std::uint32_t rgb) {
    return QStringLiteral("%1").arg(rgb & 0xFFFFFFu, 6, 16, QLatin1Char('0')).toUpper();
}

namespace {

const QHash<char16_t, const char *> &NamedEntities() {
    static const QHash<char16_t, const char *> names = {
        {u'&', "amp"},    {u'<', "lt"},     {u'>', "gt"},     {u'"', "quot"},   {0xA0, "nbsp"},
        {0xA7, "sect"},   {0xA9, "copy"},   {0xAB, "laquo"},  {0xAE, "reg"},    {0xB0, "deg"},
        {0xB1, "plusmn"}, {0xB2, "sup2"},   {0xB3, "sup3"},   {0xB5, "micro"},  {0xB7, "middot"},
        {0xBB, "raquo"},  {0xBD, "frac12"}, {0xC4, "Auml"},   {0xD6, "Ouml"},   {0xDC, "Uuml"},
        {0xDF, "szlig"},  {0xE4, "auml"},   {0xF6, "ouml"},   {0xFC, "uuml"},   {0xE9, "eacute"},
        {0xE8, "egrave"}, {0xC9, "Eacute"}, {0xE0, "agrave"}, {0xE1, "aacute"}, {0xE7, "ccedil"},
        {0xD7, "times"},  {0xF7, "divide"}, {0x20AC, "euro"},
    };
    return names;
}

// HTML font sizes 1..7 for a point size.
int HtmlFontSize(int pointSize) {
    constexpr int limits[] = {8, 10, 12, 14, 18, 24};
    int size = 1;
    for (int limit : limits) {
        if (pointSize <= limit)
            return size;
        ++size;
    }
    return 7;
}

QString AlignAttribute(TMyAlign align) {
    switch (align) {
    case TMyAlign::alRight:
        return QStringLiteral(" align=right");
    case TMyAlign::alLeft:
        return QStringLiteral(" align=left");
    case TMyAlign::alCenter:
        return QStringLiteral(" align=center");
    case TMyAlign::alDefault:
        break;
    }
    return {};
}

QString CellContent(const TExportCell &cell) {
    QString text = HtmlEntities(cell.Text);
    if (!cell.Font)
        return text;
    const TExportFont &f = *cell.Font;
    QString open = QStringLiteral("<font face=\"%1\" size=%2 color=#%3>")
                       .arg(HtmlEntities(f.Face))
                       .arg(HtmlFontSize(f.PointSize))
                       .arg(HtmlColor(f.Color));
    QString close = QStringLiteral("</font>");
    const struct {
        bool on;
        const char *tag;
    } styles[] = {{f.Bold, "b"}, {f.Italic, "i"}, {f.StrikeOut, "strike"}, {f.Underline, "u"}};
    for (const auto &s : styles) {
        if (!s.on)
            continue;
        open += QStringLiteral("<%1>").arg(QLatin1String(s.tag));
        close.prepend(QStringLiteral("</%1>").arg(QLatin1String(s.tag)));
    }
    return open + text + close;
}

} // namespace

QString HtmlEntities(const QString &text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        const auto it = NamedEntities().constFind(ch.unicode());
        if (it != NamedEntities().constEnd()) {
            out += QLatin1Char('&') + QLatin1String(it.value()) + QLatin1Char(';');
        } else if (ch.unicode() < 0x80) {
            out += ch;
        } else if (ch.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            out += QStringLiteral("&#%1;").arg(QChar::surrogateToUcs4(ch, text.at(i + 1)));
            ++i;
        } else {
            out += QStringLiteral("&#%1;").arg(ch.unicode());
        }
    }
    return out;
}

QString ExportHtmlTable(const TGridTable &table, const QString &caption) {
    const QLatin1String crlf("\r\n");
    QString out = QStringLiteral("<table bgcolor=#") + HtmlColor(table.GridColor);
    if (table.Border >= 0)
        out += QStringLiteral(" border=%1").arg(table.Border);
    if (!caption.isEmpty())
        out += QStringLiteral(" caption=\"%1\"").arg(HtmlEntities(caption));
    out += QLatin1Char('>') + crlf;
    // Browsers ignore the caption attribute: the caption element shows the
    // title as the table's heading.
    if (!caption.isEmpty())
        out += QStringLiteral(" <caption><h2>%1</h2></caption>").arg(HtmlEntities(caption)) + crlf;
    for (int r = 0; r < table.Rows; ++r) {
        out += QStringLiteral(" <tr>") + crlf;
        for (int c = 0; c < table.Cols; ++c) {
            const TExportCell &cell = table.cell(r, c);
            const bool fixed = r < table.FixedRows || c < table.FixedCols;
            out += fixed ? QStringLiteral("  <th") : QStringLiteral("  <td");
            out += AlignAttribute(cell.Align);
            if (cell.Color && (*cell.Color & 0xFFFFFFu) != (table.GridColor & 0xFFFFFFu))
                out += QStringLiteral(" bgcolor=#") + HtmlColor(*cell.Color);
            out += QLatin1Char('>') + crlf;
            out += CellContent(cell) + crlf;
            out += (fixed ? QStringLiteral("  </th>") : QStringLiteral("  </td>")) + crlf;
        }
        out += QStringLiteral(" </tr>") + crlf;
    }
    out += QStringLiteral("</table>") + crlf;
    return out;
}
