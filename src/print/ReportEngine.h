#pragma once

#include <QColor>
#include <QFont>
#include <QLineF>
#include <QMap>
#include <QPageLayout>
#include <QRectF>
#include <QString>
#include <QVariant>

#include <vector>

// A small banded report engine. A report is a definition of sections (page header, one group
// header and footer keyed on a data field, detail, page footer), each with a height and its
// labels, lines and text fields, and a source: the program's code that declares the data fields
// and hands over one row at a time. runReport lays the rows out into pages; painting them onto a
// printer, a preview or a PDF is a separate step. Lengths are twips (1440 to the inch).
// The engine has no failures of its own: a source that sets a field it never declared is a
// fault of the program's code and raises std::logic_error.

struct ReportFont {
    QString family; // a screen font name; the installed substitute is used
    double points = 10;
    bool bold = false;

    friend bool operator==(const ReportFont&, const ReportFont&) = default;
};

// A text of a section: a fixed caption, a data field's value, or the date of the run.
struct ReportText {
    enum class Source { Caption, Field, Today };

    QString name; // control name; the source may colour it per row
    Source source = Source::Caption;
    QString value; // the caption, or the name of the field
    QRect rect;    // within the section
    ReportFont font;
    Qt::Alignment alignment = Qt::AlignLeft;
    QString format; // output format: "#,##0.00" for numbers, "ggge年m月d日" for dates
    // A text too long for its width goes on in lines below, each as high as the rect, and its
    // section grows by them; otherwise a text keeps to one line.
    bool wraps = false;
};

// A section's text showing a field's value, and one showing a fixed caption.
ReportText reportField(const QString& name, const QString& field, QRect rect,
                       const ReportFont& font, Qt::Alignment alignment, const QString& format = {});
ReportText reportLabel(const QString& name, const QString& caption, QRect rect,
                       const ReportFont& font, Qt::Alignment alignment = Qt::AlignHCenter);

struct ReportSection {
    QString name;
    int height = 0;
    std::vector<ReportText> texts;
    std::vector<QLine> lines;
};

struct ReportDefinition {
    ReportSection pageHeader;
    ReportSection groupHeader;
    ReportSection detail;
    ReportSection groupFooter;
    ReportSection pageFooter;
    QString groupField; // a new group begins when its value changes
    bool groupStartsNewPage = false;
    QPageLayout pageLayout; // paper, orientation and margins
    QString title;
};

// The data fields of a run, looked up without regard to letter case. Each holds the value that
// the source last assigned to it.
class ReportFields {
public:
    void clear();
    void declare(const QString& name);
    // Assigns a declared field; an undeclared name is a fault of the source.
    void set(const QString& name, const QVariant& value);
    QVariant value(const QString& name) const;
    bool isDeclared(const QString& name) const;

private:
    QMap<QString, QVariant> m_values; // by lower-case name
};

// Text colours that the source sets for named controls; a colour stays until it is set again.
class ReportStyle {
public:
    void setTextColour(const QString& control, const QColor& colour);
    QColor textColour(const QString& control) const;

private:
    QMap<QString, QColor> m_colours;
};

// The program's side of a run.
class ReportSource {
public:
    virtual ~ReportSource() = default;
    // Once before the first row: declares the data fields.
    virtual void dataInitialize(ReportFields& fields) = 0;
    // Assigns the next row to the fields; true at the end of the data (eof).
    virtual bool fetchData(ReportFields& fields, ReportStyle& style) = 0;
};

// What a page shows, in twips from the top left of the printable area.
struct PlacedText {
    QString control;
    QString section;
    QRectF rect;
    QString text;
    ReportFont font;
    Qt::Alignment alignment;
    QColor colour;
};

struct ReportPage {
    std::vector<PlacedText> texts;
    std::vector<QLineF> lines;

    // The texts of one control on the page, top to bottom.
    std::vector<PlacedText> textsOf(const QString& control) const;
};

struct ReportDocument {
    QString title; // what the preview, the printer's queue and a saved PDF are named
    QPageLayout pageLayout;
    std::vector<ReportPage> pages;
};

// The font a report's text is laid out and painted in, its size in twips.
QFont reportQFont(const ReportFont& font);

// Runs the source through the definition. today is the date that "current date" texts show.
ReportDocument runReport(const ReportDefinition& definition, ReportSource& source,
                         const QDate& today);

// The program's paper: A4 portrait, with side margins that leave the body 10488 twips.
QPageLayout a4PortraitLayout();

// A page footer with the date of the run at its right, as the program's lists end each page.
ReportSection todayFooter(const ReportFont& font);

// The printable area of a page layout in twips.
QSizeF printableTwips(const QPageLayout& layout);
