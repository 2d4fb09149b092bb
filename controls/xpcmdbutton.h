// The skinned push button of Deskleaf's windows. Its face is one of five sprite cells stretched
// by a nine-slice rule, with a centred caption on top. It tracks the pointer itself: once the
// pointer has moved over it, a 10 ms poll notices when the pointer has left, even while a
// button is held.
#pragma once

#include "controls/SpriteSheet.h"
#include "controls/property_bag.h"

#include <QFont>
#include <QPixmap>
#include <QWidget>

class QLabel;
class QTimer;

namespace deskleaf {

class xpcmdbutton : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool Enabled READ isEnabled WRITE setEnabled)
    Q_PROPERTY(int State READ state WRITE setState)
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)
    Q_PROPERTY(QFont Font READ font WRITE setFont)

public:
    // Cells of the face sheet.
    enum Face { Normal = 0, Pressed = 1, Disabled = 2, Hover = 3, Highlighted = 4 };

    explicit xpcmdbutton(QWidget* parent = nullptr);
    // A button destroyed with the focus gives it up first, while it can still answer the
    // FocusOut that the widget would otherwise send half destroyed.
    ~xpcmdbutton() override;

    // Hide QWidget's setters so that a change is also reported through PropertyChanged.
    // Called through a QWidget pointer they still repaint the face, without the notice.
    void setEnabled(bool enabled);
    void setFont(const QFont& font);

    // 0 rests on the normal face, 1 on the highlighted one; other values keep the last choice.
    int state() const { return state_; }
    void setState(int state);
    QString caption() const;
    void setCaption(const QString& caption);

    void InitProperties();
    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;

    QSize sizeHint() const override { return {113, 59}; }

signals:
    void PropertyChanged(const QString& name);
    void Click();
    void KeyDown(short KeyCode, short Shift);
    void KeyPress(short KeyAscii);
    void KeyUp(short KeyCode, short Shift);
    void MouseOut();
    void MouseDown(short Button, short Shift, float X, float Y);
    void MouseMove(short Button, short Shift, float X, float Y);
    void MouseUp(short Button, short Shift, float X, float Y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    // pos is relative to the widget that received the event: this control or its caption.
    void pressed(const QMouseEvent& event, QPointF pos);
    void moved(const QMouseEvent& event, QPointF pos);
    void released(const QMouseEvent& event, QPointF pos, QPointF posInButton);
    void poll();
    void refresh();
    void relayout();
    void paintFace(int face);
    QFont ambientFont() const;

    SpriteSheet faces_;
    QLabel* label_ = nullptr;
    QTimer* timer_ = nullptr;
    QPixmap cache_;
    int state_ = 0;
    int restFace_ = Normal;
    int face_ = -1;
    bool clickArmed_ = false;
};

} // namespace deskleaf
