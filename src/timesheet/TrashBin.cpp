#include "TrashBin.h"

#include "Messages.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QStyle>

StaffCodeDrag::StaffCodeDrag(QLineEdit* field)
    : QObject(field)
    , m_field(field)
{
    field->setDragEnabled(false); // the field's own text drag would compete with this one
    field->installEventFilter(this);
}

bool StaffCodeDrag::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_field)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        m_pressed = mouse->button() == Qt::LeftButton;
        m_pressedAt = mouse->position().toPoint();
        break;
    }
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (m_pressed && (mouse->buttons() & Qt::LeftButton) &&
            (mouse->position().toPoint() - m_pressedAt).manhattanLength() >=
                QApplication::startDragDistance()) {
            m_pressed = false;
            startDrag();
            return true;
        }
        break;
    }
    case QEvent::MouseButtonRelease:
        m_pressed = false;
        break;
    default:
        break;
    }
    return false;
}

void StaffCodeDrag::startDrag()
{
    try {
        auto* data = new QMimeData;
        data->setData(QLatin1String(kStaffCodeMimeType), m_field->text().toUtf8());
        data->setText(m_field->text());
        auto* drag = new QDrag(m_field);
        drag->setMimeData(data);
        drag->exec(Qt::MoveAction);
    } catch (const std::exception&) {
        ShowMsg(kMsgError, QStringLiteral("データ読み込み時にエラーが発生しました"));
    }
}

TrashBin::TrashBin(QWidget* parent)
    : QLabel(parent)
{
    setAcceptDrops(true);
    setAlignment(Qt::AlignCenter);
    setPixmap(style()->standardIcon(QStyle::SP_TrashIcon).pixmap(32, 32));
    setToolTip(
        QStringLiteral("スタッフIDをここへドラッグすると、表示中の月度のデータを削除します。"));
}

void TrashBin::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasFormat(QLatin1String(kStaffCodeMimeType)))
        event->acceptProposedAction();
}

void TrashBin::dropEvent(QDropEvent* event)
{
    if (!event->mimeData()->hasFormat(QLatin1String(kStaffCodeMimeType)))
        return;
    event->acceptProposedAction();
    emit dropped(QString::fromUtf8(event->mimeData()->data(QLatin1String(kStaffCodeMimeType))));
}
