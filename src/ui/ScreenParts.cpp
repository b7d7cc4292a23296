#include "ScreenParts.h"

#include "InputFields.h"
#include "Placement.h"
#include "Records.h"
#include "Stopwatch.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QStyle>

QIcon programIcon()
{
    QPixmap pixmap(128, 128);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    paintStopwatch(p, QRectF(0, 0, 128, 128), 0);
    p.end();
    return QIcon(pixmap);
}

QLabel* addProductTitle(QWidget* parent, const QRect& geometry)
{
    auto* title = new QLabel(QStringLiteral("ヌビラ"), parent);
    title->setObjectName(QStringLiteral("Label1"));
    QFont font(QStringLiteral("ＭＳ ゴシック"));
    font.setPointSizeF(15.75);
    font.setBold(true);
    title->setFont(font);
    title->setGeometry(geometry);
    return title;
}

QLabel* addHeading(QWidget* parent, const QString& text, const QRect& geometry)
{
    auto* heading = new QLabel(text, parent);
    heading->setObjectName(QStringLiteral("lbl_title_0"));
    QFont font = heading->font();
    font.setBold(true);
    heading->setFont(font);
    heading->setGeometry(geometry);
    return heading;
}

void setTextColour(QLabel* label, const QColor& colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

QLabel* addGuidance(QWidget* parent, const QString& text, const QRect& geometry)
{
    auto* frame = new QGroupBox(QStringLiteral("ガイダンス"), parent);
    frame->setObjectName(QStringLiteral("obj_frame_gaidansu"));
    frame->setGeometry(geometry);
    auto* layout = new QHBoxLayout(frame);
    auto* picture = new QLabel(frame);
    picture->setObjectName(QStringLiteral("pic_seikyu"));
    const int side = twipsToPixels(480, parent);
    picture->setPixmap(
        frame->style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(side, side));
    picture->setAlignment(Qt::AlignTop);
    layout->addWidget(picture);
    auto* info = new QLabel(text, frame);
    info->setObjectName(QStringLiteral("lbl_info"));
    info->setWordWrap(true);
    info->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(info, 1);
    return info;
}

QPushButton* addScreenButton(QWidget* screen, const QString& objectName, const QString& caption,
                             const QRect& geometry, std::function<void()> onClick)
{
    auto* button = new QPushButton(caption, screen);
    button->setObjectName(objectName);
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    QObject::connect(button, &QPushButton::clicked, button, std::move(onClick));
    return button;
}

QPushButton* addCommandButton(QWidget* screen, int index, const QString& caption,
                              const QRect& geometry, std::function<void(int)> onClick)
{
    return addScreenButton(screen, QStringLiteral("cmd_button_%1").arg(index), caption, geometry,
                           [index, onClick = std::move(onClick)] { onClick(index); });
}

WaitCursor::WaitCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor()
{
    QApplication::restoreOverrideCursor();
}

MonthAndStaffRange addMonthAndStaffRange(QWidget* screen, const QDate& month, int monthTop,
                                         int rangeTop)
{
    const auto px = [screen](int left, int top, int width) {
        return QRect(twipsToPixels(left, screen), twipsToPixels(top, screen),
                     twipsToPixels(width, screen), twipsToPixels(330, screen));
    };
    auto* monthField = new DateField(DateField::Pattern::Month, screen);
    monthField->setObjectName(QStringLiteral("txt_syoriDt"));
    monthField->setCaption(QStringLiteral("処理年月："));
    monthField->setGeometry(px(795, monthTop, 2070));
    monthField->setValue(month);

    auto* idLabel = new QLabel(QStringLiteral("ｽﾀｯﾌID："), screen);
    idLabel->setGeometry(px(735, rangeTop, 1260));
    const auto codeField = [&](int index, const QString& initial, int left) {
        auto* field = new TextField(32767, screen);
        field->setObjectName(QStringLiteral("txt_staffCd_%1").arg(index));
        field->setGeometry(px(left, rangeTop, 870));
        field->setValue(initial);
        field->setLatinInput(Qt::ImhPreferNumbers);
        QObject::connect(field, &TextField::committed, field,
                         [field] { field->setValue(padStaffCode(field->value())); });
        return field;
    };
    TextField* from = codeField(0, QStringLiteral("0000"), 2010);
    auto* tilde = new QLabel(QStringLiteral("～"), screen);
    tilde->setAlignment(Qt::AlignCenter);
    tilde->setGeometry(px(2880, rangeTop, 330));
    return {monthField, from, codeField(1, QStringLiteral("9999"), 3210)};
}
