#include "DayGrid.h"

#include "DayGridLayout.h"
#include "Holidays.h"
#include "InputFields.h"
#include "Messages.h"
#include "Placement.h"
#include "ScreenParts.h"

#include <QLabel>
#include <QSignalBlocker>
#include <QTimer>

using namespace DayGridLayout;

namespace {

const QColor kBandCyan(192, 255, 255);
const QColor kListYellow(255, 255, 192);

// The grid's own top left on the screen, in twips: the column titles' row.
constexpr QPoint kOrigin(kLeftBlock, kRowTop - kRowPitch);

} // namespace

DayGrid::DayGrid(TimesheetMonth& month, QWidget* parent)
    : QWidget(parent)
    , m_month(month)
{
    setObjectName(QStringLiteral("obj_dayGrid"));
    // Over the two blocks, from the titles' row to the last row of the left block.
    setGeometry(px(kOrigin.x()), px(kOrigin.y()), px(kRightBlock + blockWidth()) - px(kOrigin.x()),
                px(kRowTop + kRowsInLeftBlock * kRowPitch) - px(kOrigin.y()));
    buildTitles();
    for (int n = 1; n <= kRows; ++n) {
        m_rows[n] = makeRow(n);
        bindRow(n);
    }
}

int DayGrid::px(int twips) const
{
    return twipsToPixels(twips, this);
}

QRect DayGrid::place(int left, int top, int width, int height) const
{
    // Whole pixels as the screen counts them, so that the grid lines up with its totals.
    return {px(left) - px(kOrigin.x()), px(top) - px(kOrigin.y()), px(width), px(height)};
}

void DayGrid::buildTitles()
{
    for (int blockLeft : {kLeftBlock, kRightBlock}) {
        for (int c = 0; c < ColumnCount; ++c) {
            auto* title = new QLabel(QString::fromUtf8(kColumns[c].title), this);
            title->setAlignment(Qt::AlignCenter);
            title->setFrameShape(QFrame::Panel);
            title->setFrameShadow(QFrame::Raised);
            title->setGeometry(
                place(columnLeft(blockLeft, c), kRowTop - kRowPitch, kColumns[c].width, kRowPitch));
        }
    }
}

std::array<QWidget*, 6> DayGrid::entryFields(const Row& row)
{
    return {row.syukinJn, row.taisyaJn, row.kihonJn, row.zangyouJn, row.sinyaJn, row.kyukeiJn};
}

DayGrid::Row DayGrid::makeRow(int n)
{
    const QPoint origin = rowOrigin(n);
    const auto cell = [&](int column) {
        return place(columnLeft(origin.x(), column), origin.y(), kColumns[column].width, kRowPitch);
    };
    const auto name = [n](const char* control) {
        return QStringLiteral("%1_%2").arg(QLatin1String(control)).arg(n);
    };

    Row row;
    row.band = new QLabel(this);
    row.band->setAutoFillBackground(true);
    QPalette bandPalette = row.band->palette();
    bandPalette.setColor(QPalette::Window, n % 2 == 1 ? kBandCyan : QColor(Qt::white));
    row.band->setPalette(bandPalette);
    row.band->setGeometry(place(origin.x(), origin.y(), blockWidth(), kRowPitch));

    row.date = new QLabel(this);
    row.date->setObjectName(name("txt_date"));
    row.date->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    row.date->setGeometry(cell(Date).adjusted(0, 0, -px(60), 0));
    row.week = new QLabel(this);
    row.week->setObjectName(name("txt_week"));
    row.week->setAlignment(Qt::AlignCenter);
    row.week->setGeometry(cell(Week));

    row.syukinKb = new ListField(this);
    row.syukinKb->setObjectName(name("cmb_syukinKb"));
    row.syukinKb->setGeometry(cell(Class));
    for (const DayClass dayClass : allDayClasses())
        row.syukinKb->addItem(dayClassCaption(dayClass), int(dayClass));
    QPalette listPalette = row.syukinKb->palette();
    listPalette.setColor(QPalette::Button, kListYellow);
    listPalette.setColor(QPalette::Base, kListYellow);
    row.syukinKb->setPalette(listPalette);

    row.syukinJn = new ClockField(this);
    row.syukinJn->setObjectName(name("txt_syukinJn"));
    row.syukinJn->setGeometry(cell(In));
    row.taisyaJn = new ClockField(this);
    row.taisyaJn->setObjectName(name("txt_taisyaJn"));
    row.taisyaJn->setGeometry(cell(Out));

    const auto hours = [&](const char* control, int column, int digits) {
        auto* field = new NumberField(digits, this);
        field->setObjectName(name(control));
        field->setGeometry(cell(column));
        field->setFocusPolicy(Qt::ClickFocus); // reached by mouse only
        return field;
    };
    row.kihonJn = hours("txt_kihonJn", Basic, 2);
    row.zangyouJn = hours("txt_zangyouJn", Overtime, 2);
    row.sinyaJn = hours("txt_sinyaJn", LateNight, 2);
    row.kyukeiJn = hours("txt_kyukeiJn", Break, 1);

    if (!m_month.hasRow(n)) {
        // No day of the period: blank, and no input reaches it for the life of the screen.
        row.syukinKb->addItem(QString(), -1);
        row.syukinKb->setCurrentIndex(row.syukinKb->count() - 1);
        row.syukinKb->setEnabled(false);
        for (QWidget* field : entryFields(row))
            field->setEnabled(false);
    }
    return row;
}

std::optional<DayClass> DayGrid::chosenClass(int n) const
{
    const QVariant data = m_rows[n].syukinKb->currentData();
    if (!data.isValid() || data.toInt() < 0)
        return std::nullopt;
    return DayClass(data.toInt());
}

void DayGrid::bindRow(int n)
{
    const Row& row = m_rows[n];
    connect(row.syukinKb, &QComboBox::currentIndexChanged, this, [this, n] {
        runReported(QStringLiteral("cmb_syukinKb_Click(%1)").arg(n), [&] {
            const std::optional<DayClass> chosen = chosenClass(n);
            if (chosen && m_month.selectClass(n, *chosen))
                emit totalsChanged();
            showRowTimesAndHours(n, !chosen || takesTimes(*chosen));
        });
    });
    connect(row.syukinKb, &ListField::committed, this, [this, n] {
        runReported(QStringLiteral("cmb_syukinKb_Validate(%1)").arg(n), [&] {
            const std::optional<DayClass> chosen = chosenClass(n);
            if (!chosen)
                return;
            // Paid leave beyond the balance is the clerk's call, asked once the class is chosen.
            if (const QString question = m_month.leaveShortQuestion(n, *chosen);
                !question.isEmpty() && ShowMsg(kMsgQuestion, question) != kMsgYes) {
                m_month.revertSelection(n);
                showRow(n);
                emit totalsChanged();
                return;
            }
            if (m_month.commitClass(n, *chosen))
                emit totalsChanged();
        });
    });

    const auto bindClock = [&](ClockField* field, TimesheetMonth::Clock which,
                               const char* handler) {
        connect(field, &ClockField::committed, this, [this, n, field, which, handler] {
            runReported(QStringLiteral("%1(%2)").arg(QLatin1String(handler)).arg(n), [&] {
                if (m_month.commitClock(n, which, field->value())) {
                    showRowTimesAndHours(n, true);
                    emit totalsChanged();
                }
                if (const QString refusal = field->refusal(); !refusal.isEmpty()) {
                    ShowMsg(kMsgError, refusal);
                    // The clerk mends the refused time where it was typed, not on the next day.
                    QTimer::singleShot(0, field, [field] {
                        field->setFocus(Qt::OtherFocusReason);
                        field->selectAll();
                    });
                }
            });
        });
    };
    bindClock(row.syukinJn, TimesheetMonth::Clock::In, "txt_syukinJn_Validate");
    bindClock(row.taisyaJn, TimesheetMonth::Clock::Out, "txt_taisyaJn_Validate");

    const auto bindHours = [&](NumberField* field, TimesheetMonth::Hours which,
                               const char* handler) {
        connect(field, &NumberField::committed, this, [this, n, field, which, handler] {
            runReported(QStringLiteral("%1(%2)").arg(QLatin1String(handler)).arg(n), [&] {
                if (!field->value()) {
                    // An emptied figure changes nothing: the row's comes back.
                    showRowTimesAndHours(n, true);
                    return;
                }
                if (m_month.commitHours(n, which, field->value()))
                    emit totalsChanged();
            });
        });
    };
    bindHours(row.kihonJn, TimesheetMonth::Hours::Basic, "txt_kihonJn_Validate");
    bindHours(row.zangyouJn, TimesheetMonth::Hours::Overtime, "txt_zangyouJn_Validate");
    bindHours(row.sinyaJn, TimesheetMonth::Hours::LateNight, "txt_sinyaJn_Validate");
    bindHours(row.kyukeiJn, TimesheetMonth::Hours::Break, "txt_kyukeiJn_Validate");
}

void DayGrid::showRow(int n)
{
    const Row& g = m_rows[n];
    if (!m_month.hasRow(n))
        return;
    const DayRow& row = m_month.row(n);
    g.date->setText(QString::number(row.kintaiDt.day()));
    g.week->setText(weekdayCaption(row.week));
    const QString dayOff = m_month.officeDayOff(row.kintaiDt);
    const QColor dayColour(dayRgb(row.kintaiDt, !dayOff.isEmpty()));
    setTextColour(g.date, dayColour);
    setTextColour(g.week, dayColour);
    g.date->setToolTip(dayNote(row.kintaiDt, dayOff));
    {
        const QSignalBlocker blocker(g.syukinKb); // the class is shown, not chosen
        const std::optional<DayClass> dayClass = readDayClass(row.syukinKb);
        g.syukinKb->setCurrentIndex(dayClass ? g.syukinKb->findData(int(*dayClass)) : -1);
    }
    showRowTimesAndHours(n);
}

void DayGrid::showRowTimesAndHours(int n, bool keepUntimedText)
{
    const Row& g = m_rows[n];
    if (!m_month.hasRow(n))
        return;
    const DayRow& row = m_month.row(n);
    const std::optional<DayClass> chosen = chosenClass(n);
    const bool working = !chosen || takesTimes(*chosen);
    for (QWidget* field : entryFields(g))
        field->setEnabled(working && !m_month.isClosed());
    g.syukinKb->setEnabled(!m_month.isClosed());
    // A clock field holding what is no time shows it until the clerk mends it; the row has none.
    for (const auto& [field, time] :
         {std::pair{g.syukinJn, row.syukin}, {g.taisyaJn, row.taisya}}) {
        if (!keepUntimedText || field->value() != time)
            field->setValue(time);
    }
    g.kihonJn->setValue(row.kihon1);
    g.zangyouJn->setValue(row.kihon2);
    g.sinyaJn->setValue(row.kihon3);
    g.kyukeiJn->setValue(row.kihon4);
}

QList<QWidget*> DayGrid::keyboardOrder() const
{
    QList<QWidget*> order;
    for (int n = 1; n <= kRows; ++n)
        order << m_rows[n].syukinKb << m_rows[n].syukinJn << m_rows[n].taisyaJn;
    return order;
}

void DayGrid::focusMissingTime(int n)
{
    const Row& row = m_rows[n];
    ClockField* missing = row.syukinJn->value().isEmpty() ? row.syukinJn : row.taisyaJn;
    missing->setFocus(Qt::OtherFocusReason);
}
