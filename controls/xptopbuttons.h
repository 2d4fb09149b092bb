// The skinned caption button that the windows put at their top-right corner: close, maximise
// or minimise, chosen by Value, always 21 x 21 pixels. Like the command button it polls the
// pointer every 10 ms to notice that it has left; the poll already runs when the button is
// made, so a new button reports MouseOut once unless the pointer is over it.
#pragma once

#include "controls/SpriteSheet.h"
#include "controls/property_bag.h"

#include <QPixmap>
#include <QWidget>

#include <array>

class QTimer;

namespace deskleaf {

class xptopbuttons : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool Enabled READ isEnabled WRITE setEnabled)
    Q_PROPERTY(int Value READ value WRITE setValue)

public:
    enum Glyph { Close = 0, Maximise = 1, Minimise = 2 };
    // Cells of each glyph's sheet.
    enum Cell { Normal = 0, Hover = 1, Pressed = 2, Disabled = 3 };

    explicit xptopbuttons(QWidget* parent = nullptr);

    // Value 0 to 2 picks the glyph; any other value keeps the glyph shown.
    int value() const { return value_; }
    void setValue(int value);

    void InitProperties();
    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;

    QSize sizeHint() const override { return {21, 21}; }

signals:
    void PropertyChanged(const QString& name);
    void Click();
    void MouseOut();
    void MouseDown(short Button, short Shift, float X, float Y);
    void MouseMove(short Button, short Shift, float X, float Y);
    void MouseUp(short Button, short Shift, float X, float Y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void poll();
    void refresh();
    void showCell(int cell);

    std::array<SpriteSheet, 3> sheets_;
    QTimer* timer_ = nullptr;
    QPixmap cache_;
    int value_ = 0;
    int sheet_ = Close;
    int shownSheet_ = -1;
    int cell_ = -1;
    bool clickArmed_ = false;
};

} // namespace deskleaf
