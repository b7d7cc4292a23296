#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPoint>

// Deleting by dragging: the staff code field of the timesheet screen can be dragged off with the
// left mouse button and dropped on the bin. A plain click still puts the cursor in the field.

inline constexpr char kStaffCodeMimeType[] = "application/x-nubira-staff-code";

// Makes a line edit's text draggable as a staff code.
class StaffCodeDrag : public QObject {
    Q_OBJECT

public:
    explicit StaffCodeDrag(QLineEdit* field);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void startDrag();

    QLineEdit* m_field;
    QPoint m_pressedAt;
    bool m_pressed = false;
};

// The bin picture that takes a dropped staff code.
class TrashBin : public QLabel {
    Q_OBJECT

public:
    explicit TrashBin(QWidget* parent = nullptr);

signals:
    void dropped(const QString& staffCode);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};
