#include "ReportEngine.h"

#include "ReportFormat.h"

#include <QPageSize>
#include <QTextLayout>

#include <algorithm>
#include <stdexcept>

void ReportFields::clear()
{
    m_values.clear();
}

void ReportFields::declare(const QString& name)
{
    if (isDeclared(name))
        return;
    m_values.insert(name.toLower(), QVariant());
}

void ReportFields::set(const QString& name, const QVariant& value)
{
    const auto it = m_values.find(name.toLower());
    if (it == m_values.end())
        throw std::logic_error("report field not declared: " + name.toStdString());
    *it = value;
}

QVariant ReportFields::value(const QString& name) const
{
    return m_values.value(name.toLower());
}

bool ReportFields::isDeclared(const QString& name) const
{
    return m_values.contains(name.toLower());
}

void ReportStyle::setTextColour(const QString& control, const QColor& colour)
{
    m_colours.insert(control.toLower(), colour);
}

QColor ReportStyle::textColour(const QString& control) const
{
    return m_colours.value(control.toLower(), QColor(Qt::black));
}

std::vector<PlacedText> ReportPage::textsOf(const QString& control) const
{
    std::vector<PlacedText> found;
    for (const PlacedText& t : texts) {
        if (t.control.compare(control, Qt::CaseInsensitive) == 0)
            found.push_back(t);
    }
    return found;
}

QFont reportQFont(const ReportFont& font)
{
    QFont qfont(font.family);
    // Logical units are twips: 20 to the point.
    qfont.setPixelSize(qRound(font.points * 20));
    qfont.setBold(font.bold);
    qfont.setKerning(false);
    return qfont;
}

QSizeF printableTwips(const QPageLayout& layout)
{
    const QRectF rect = layout.paintRect(QPageLayout::Point);
    return rect.size() * 20.0; // 20 twips to the point
}

namespace {

// The lines a wrapping text takes within its width, broken between words, or anywhere in a word
// too long for a line; a line break of the text starts a new line.
QStringList wrappedLines(const QString& text, const ReportFont& font, double width)
{
    // A little room is kept, as a printer's glyphs may come out a shade wider than measured here.
    const double room = width * 0.97;
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    QStringList lines;
    for (const QString& paragraph : text.split(u'\n')) {
        QTextLayout layout(paragraph, reportQFont(font));
        layout.setTextOption(option);
        layout.beginLayout();
        int taken = 0;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(room);
            lines << paragraph.mid(line.textStart(), line.textLength()).trimmed();
            ++taken;
        }
        layout.endLayout();
        if (taken == 0)
            lines << QString();
    }
    return lines;
}

// Lays sections out one below the other, page after page.
class PageComposer {
public:
    PageComposer(const ReportDefinition& definition, const QDate& today)
        : m_definition(definition)
        , m_today(today)
        , m_pageHeight(printableTwips(definition.pageLayout).height())
    {
    }

    void place(const ReportSection& section, const ReportFields& fields, const ReportStyle& style)
    {
        const double height = section.height + grownBy(section, fields);
        if (!m_open)
            startPage(fields, style);
        else if (m_y + height > bodyBottom()) {
            endPage(fields, style);
            startPage(fields, style);
        }
        draw(section, m_y, fields, style);
        m_y += height;
    }

    void newPage(const ReportFields& fields, const ReportStyle& style)
    {
        if (m_open)
            endPage(fields, style);
    }

    ReportDocument finish(const ReportFields& fields, const ReportStyle& style)
    {
        if (!m_open && m_document.pages.empty())
            startPage(fields, style); // a run without rows still gives its page
        if (m_open)
            endPage(fields, style);
        m_document.pageLayout = m_definition.pageLayout;
        m_document.title = m_definition.title;
        return std::move(m_document);
    }

private:
    double bodyBottom() const { return m_pageHeight - m_definition.pageFooter.height; }

    void startPage(const ReportFields& fields, const ReportStyle& style)
    {
        m_document.pages.emplace_back();
        m_open = true;
        m_y = 0;
        draw(m_definition.pageHeader, 0, fields, style);
        m_y = m_definition.pageHeader.height;
    }

    void endPage(const ReportFields& fields, const ReportStyle& style)
    {
        draw(m_definition.pageFooter, bodyBottom(), fields, style);
        m_open = false;
    }

    // The lines of a text as it is placed: one, or as many as a wrapping text takes.
    QStringList linesOf(const ReportText& text, const ReportFields& fields) const
    {
        const QString value = textOf(text, fields);
        if (!text.wraps || value.isEmpty())
            return {value};
        return wrappedLines(value, text.font, text.rect.width());
    }

    // How much taller than its height a section's wrapping texts make it.
    double grownBy(const ReportSection& section, const ReportFields& fields) const
    {
        double grown = 0;
        for (const ReportText& text : section.texts) {
            if (text.wraps)
                grown =
                    std::max(grown, double(linesOf(text, fields).size() - 1) * text.rect.height());
        }
        return grown;
    }

    void draw(const ReportSection& section, double top, const ReportFields& fields,
              const ReportStyle& style)
    {
        ReportPage& page = m_document.pages.back();
        for (const QLine& line : section.lines)
            page.lines.push_back(QLineF(line).translated(0, top));
        for (const ReportText& text : section.texts) {
            QRectF rect = QRectF(text.rect).translated(0, top);
            for (const QString& line : linesOf(text, fields)) {
                page.texts.push_back({text.name, section.name, rect, line, text.font,
                                      text.alignment, style.textColour(text.name)});
                rect.translate(0, rect.height());
            }
        }
    }

    QString textOf(const ReportText& text, const ReportFields& fields) const
    {
        switch (text.source) {
        case ReportText::Source::Caption:
            return text.value;
        case ReportText::Source::Today:
            return formatValue(m_today, text.format);
        case ReportText::Source::Field:
            break;
        }
        return formatValue(fields.value(text.value), text.format);
    }

    const ReportDefinition& m_definition;
    QDate m_today;
    double m_pageHeight;
    ReportDocument m_document;
    bool m_open = false;
    double m_y = 0;
};

} // namespace

ReportDocument runReport(const ReportDefinition& definition, ReportSource& source,
                         const QDate& today)
{
    ReportFields fields;
    ReportStyle style;
    PageComposer composer(definition, today);
    source.dataInitialize(fields);

    // The footer of a group shows the fields of the group's last row.
    ReportFields lastRow;
    bool inGroup = false;
    QVariant group;
    while (!source.fetchData(fields, style)) {
        const QVariant key = fields.value(definition.groupField);
        if (!inGroup || key != group) {
            if (inGroup) {
                composer.place(definition.groupFooter, lastRow, style);
                if (definition.groupStartsNewPage)
                    composer.newPage(lastRow, style);
            }
            composer.place(definition.groupHeader, fields, style);
            group = key;
            inGroup = true;
        }
        composer.place(definition.detail, fields, style);
        lastRow = fields;
    }
    if (inGroup)
        composer.place(definition.groupFooter, lastRow, style);
    return composer.finish(lastRow, style);
}

ReportText reportField(const QString& name, const QString& field, QRect rect,
                       const ReportFont& font, Qt::Alignment alignment, const QString& format)
{
    return {name, ReportText::Source::Field, field, rect, font, alignment, format};
}

ReportText reportLabel(const QString& name, const QString& caption, QRect rect,
                       const ReportFont& font, Qt::Alignment alignment)
{
    return {name, ReportText::Source::Caption, caption, rect, font, alignment, {}};
}

QPageLayout a4PortraitLayout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                       QMarginsF(33.5, 50, 33.5, 50), QPageLayout::Point);
}

ReportSection todayFooter(const ReportFont& font)
{
    ReportSection footer{QStringLiteral("PageFooter"), 300, {}, {}};
    footer.texts = {{QStringLiteral("txt_today"),
                     ReportText::Source::Today,
                     {},
                     QRect(0, 0, 10488, 280),
                     font,
                     Qt::AlignRight,
                     QStringLiteral("ggge年m月d日")}};
    return footer;
}
