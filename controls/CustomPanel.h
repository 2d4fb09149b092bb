// CustomPanel: a container surface with a gradient body, a gradient title band carrying an icon
// and a caption, and a border whose rounded corners also cut the window's shape. It has a normal,
// a mouse-over, a pressed and a disabled look, reports the pointer entering and leaving it, and
// reports its host window being moved or sized.
#pragma once

#include "controls/property_bag.h"

#include <QFont>
#include <QImage>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <array>
#include <vector>

namespace deskleaf {

class CustomPanel : public QWidget {
    Q_OBJECT
    Q_PROPERTY(qint32 hwnd READ hwnd)
    Q_PROPERTY(float GradientAngle READ GradientAngle WRITE setGradientAngle)
    Q_PROPERTY(qint32 DisabledBorderColor READ DisabledBorderColor WRITE setDisabledBorderColor)
    Q_PROPERTY(qint32 ForeColor READ ForeColor WRITE setForeColor)
    Q_PROPERTY(qint32 OverForeColor READ OverForeColor WRITE setOverForeColor)
    Q_PROPERTY(qint32 BGGradientStart READ BGGradientStart WRITE setBGGradientStart)
    Q_PROPERTY(qint32 BGGradientEnd READ BGGradientEnd WRITE setBGGradientEnd)
    Q_PROPERTY(qint32 TitleGradientStart READ TitleGradientStart WRITE setTitleGradientStart)
    Q_PROPERTY(qint32 TitleGradientEnd READ TitleGradientEnd WRITE setTitleGradientEnd)
    Q_PROPERTY(qint32 BorderColor READ BorderColor WRITE setBorderColor)
    Q_PROPERTY(QFont Font READ Font WRITE setPanelFont)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(qint16 TitleHeight READ TitleHeight WRITE setTitleHeight)
    Q_PROPERTY(qint32 RoundedCorners READ RoundedCorners WRITE setRoundedCorners)
    Q_PROPERTY(bool Enabled READ Enabled WRITE setPanelEnabled)
    Q_PROPERTY(QPixmap MouseIcon READ MouseIcon WRITE setMouseIcon)
    Q_PROPERTY(QPixmap SmallIcon READ SmallIcon WRITE setSmallIcon)
    Q_PROPERTY(qint32 MousePointer READ MousePointer WRITE setMousePointer)
    Q_PROPERTY(qint32 Alignment READ Alignment WRITE setAlignment)
    Q_PROPERTY(qint32 OverBGGradientStart READ OverBGGradientStart WRITE setOverBGGradientStart)
    Q_PROPERTY(qint32 OverBGGradientEnd READ OverBGGradientEnd WRITE setOverBGGradientEnd)
    Q_PROPERTY(
        qint32 OverTitleGradientStart READ OverTitleGradientStart WRITE setOverTitleGradientStart)
    Q_PROPERTY(qint32 OverTitleGradientEnd READ OverTitleGradientEnd WRITE setOverTitleGradientEnd)
    Q_PROPERTY(qint32 OverBorderColor READ OverBorderColor WRITE setOverBorderColor)
    Q_PROPERTY(qint32 DownBGGradientStart READ DownBGGradientStart WRITE setDownBGGradientStart)
    Q_PROPERTY(qint32 DownBGGradientEnd READ DownBGGradientEnd WRITE setDownBGGradientEnd)
    Q_PROPERTY(
        qint32 DownTitleGradientStart READ DownTitleGradientStart WRITE setDownTitleGradientStart)
    Q_PROPERTY(qint32 DownTitleGradientEnd READ DownTitleGradientEnd WRITE setDownTitleGradientEnd)
    Q_PROPERTY(qint32 DownBorderColor READ DownBorderColor WRITE setDownBorderColor)
    Q_PROPERTY(qint32 DisabledBGGradientStart READ DisabledBGGradientStart WRITE
                   setDisabledBGGradientStart)
    Q_PROPERTY(
        qint32 DisabledBGGradientEnd READ DisabledBGGradientEnd WRITE setDisabledBGGradientEnd)
    Q_PROPERTY(qint32 DisabledTitleGradientStart READ DisabledTitleGradientStart WRITE
                   setDisabledTitleGradientStart)
    Q_PROPERTY(qint32 DisabledTitleGradientEnd READ DisabledTitleGradientEnd WRITE
                   setDisabledTitleGradientEnd)
    Q_PROPERTY(QPixmap DisabledSmallIcon READ DisabledSmallIcon WRITE setDisabledSmallIcon)

public:
    explicit CustomPanel(QWidget* parent = nullptr);

    // Create, load and save, by property name.
    void InitProperties();
    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;

    qint32 hwnd() const;

    float GradientAngle() const { return gradientAngle_; }
    QFont Font() const { return font(); }
    QString Caption() const { return caption_; }
    qint16 TitleHeight() const { return titleHeight_; }
    bool Enabled() const { return enabled_; }
    QPixmap MouseIcon() const { return mouseIcon_; }
    QPixmap SmallIcon() const { return smallIcon_; }
    QPixmap DisabledSmallIcon() const { return disabledSmallIcon_; }
    qint32 MousePointer() const { return mousePointer_; }

    // Takes effect at the next redraw.
    void setGradientAngle(float angle);
    // The caption font, which is also the widget's font.
    void setPanelFont(const QFont& font);
    void setCaption(const QString& caption);
    void setTitleHeight(qint16 height);
    // The panel's own flag: a disabled panel still receives input but raises no input signals.
    void setPanelEnabled(bool enabled);
    // Kept only so that it persists; takes effect at the next redraw.
    void setMouseIcon(const QPixmap& icon);
    void setSmallIcon(const QPixmap& icon);
    void setDisabledSmallIcon(const QPixmap& icon);
    // Kept only so that it persists; the pointer shape does not change.
    void setMousePointer(qint32 pointer);

    // The colours of the normal, mouse-over, pressed and disabled looks, the caption colours,
    // the corners' diameter (0 square) and the caption's alignment (0 left, 1 right, 2 centre).
    qint32 BGGradientStart() const { return paint_.BGGradientStart; }
    void setBGGradientStart(qint32 v) { assign(&Paint::BGGradientStart, v); }
    qint32 BGGradientEnd() const { return paint_.BGGradientEnd; }
    void setBGGradientEnd(qint32 v) { assign(&Paint::BGGradientEnd, v); }
    qint32 TitleGradientStart() const { return paint_.TitleGradientStart; }
    void setTitleGradientStart(qint32 v) { assign(&Paint::TitleGradientStart, v); }
    qint32 TitleGradientEnd() const { return paint_.TitleGradientEnd; }
    void setTitleGradientEnd(qint32 v) { assign(&Paint::TitleGradientEnd, v); }
    qint32 BorderColor() const { return paint_.BorderColor; }
    void setBorderColor(qint32 v) { assign(&Paint::BorderColor, v); }
    qint32 OverBGGradientStart() const { return paint_.OverBGGradientStart; }
    void setOverBGGradientStart(qint32 v) { assign(&Paint::OverBGGradientStart, v); }
    qint32 OverBGGradientEnd() const { return paint_.OverBGGradientEnd; }
    void setOverBGGradientEnd(qint32 v) { assign(&Paint::OverBGGradientEnd, v); }
    qint32 OverTitleGradientStart() const { return paint_.OverTitleGradientStart; }
    void setOverTitleGradientStart(qint32 v) { assign(&Paint::OverTitleGradientStart, v); }
    qint32 OverTitleGradientEnd() const { return paint_.OverTitleGradientEnd; }
    void setOverTitleGradientEnd(qint32 v) { assign(&Paint::OverTitleGradientEnd, v); }
    qint32 OverBorderColor() const { return paint_.OverBorderColor; }
    void setOverBorderColor(qint32 v) { assign(&Paint::OverBorderColor, v); }
    qint32 DownBGGradientStart() const { return paint_.DownBGGradientStart; }
    void setDownBGGradientStart(qint32 v) { assign(&Paint::DownBGGradientStart, v); }
    qint32 DownBGGradientEnd() const { return paint_.DownBGGradientEnd; }
    void setDownBGGradientEnd(qint32 v) { assign(&Paint::DownBGGradientEnd, v); }
    qint32 DownTitleGradientStart() const { return paint_.DownTitleGradientStart; }
    void setDownTitleGradientStart(qint32 v) { assign(&Paint::DownTitleGradientStart, v); }
    qint32 DownTitleGradientEnd() const { return paint_.DownTitleGradientEnd; }
    void setDownTitleGradientEnd(qint32 v) { assign(&Paint::DownTitleGradientEnd, v); }
    qint32 DownBorderColor() const { return paint_.DownBorderColor; }
    void setDownBorderColor(qint32 v) { assign(&Paint::DownBorderColor, v); }
    qint32 DisabledBGGradientStart() const { return paint_.DisabledBGGradientStart; }
    void setDisabledBGGradientStart(qint32 v) { assign(&Paint::DisabledBGGradientStart, v); }
    qint32 DisabledBGGradientEnd() const { return paint_.DisabledBGGradientEnd; }
    void setDisabledBGGradientEnd(qint32 v) { assign(&Paint::DisabledBGGradientEnd, v); }
    qint32 DisabledTitleGradientStart() const { return paint_.DisabledTitleGradientStart; }
    void setDisabledTitleGradientStart(qint32 v) { assign(&Paint::DisabledTitleGradientStart, v); }
    qint32 DisabledTitleGradientEnd() const { return paint_.DisabledTitleGradientEnd; }
    void setDisabledTitleGradientEnd(qint32 v) { assign(&Paint::DisabledTitleGradientEnd, v); }
    qint32 DisabledBorderColor() const { return paint_.DisabledBorderColor; }
    void setDisabledBorderColor(qint32 v) { assign(&Paint::DisabledBorderColor, v); }
    qint32 ForeColor() const { return paint_.ForeColor; }
    void setForeColor(qint32 v) { assign(&Paint::ForeColor, v); }
    qint32 OverForeColor() const { return paint_.OverForeColor; }
    void setOverForeColor(qint32 v) { assign(&Paint::OverForeColor, v); }
    qint32 RoundedCorners() const { return paint_.RoundedCorners; }
    void setRoundedCorners(qint32 v) { assign(&Paint::RoundedCorners, v); }
    qint32 Alignment() const { return paint_.Alignment; }
    void setAlignment(qint32 v) { assign(&Paint::Alignment, v); }

    QSize sizeHint() const override { return {320, 180}; }

signals:
    void MouseEnters();
    void MouseLeaves();
    // "Form is moving...", "Form is sizing...", "Finished moving." or "Finished sizing.".
    void Status(QString sStatus);
    void Click();
    void DoubleClick();
    void KeyDown(short KeyCode, short Shift);
    void KeyPress(short KeyAscii);
    void KeyUp(short KeyCode, short Shift);
    // Button: 1 left, 2 right, 4 middle; Shift: 1 Shift, 2 Ctrl, 4 Alt; X and Y in pixels.
    void MouseDown(short Button, short Shift, float X, float Y);
    void MouseMove(short Button, short Shift, float X, float Y);
    void MouseUp(short Button, short Shift, float X, float Y);
    void PropertyChanged(const QString& name);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void childEvent(QChildEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    // The numbers the faces are painted from, each named as its property.
    struct Paint {
        qint32 BGGradientStart, BGGradientEnd, TitleGradientStart, TitleGradientEnd, BorderColor;
        qint32 OverBGGradientStart, OverBGGradientEnd, OverTitleGradientStart, OverTitleGradientEnd,
            OverBorderColor;
        qint32 DownBGGradientStart, DownBGGradientEnd, DownTitleGradientStart, DownTitleGradientEnd,
            DownBorderColor;
        qint32 DisabledBGGradientStart, DisabledBGGradientEnd, DisabledTitleGradientStart,
            DisabledTitleGradientEnd, DisabledBorderColor;
        qint32 ForeColor, OverForeColor, RoundedCorners, Alignment;
    };
    // A stored property: its name, its default and, for a number the faces are painted from,
    // how its setter takes a value. One table of them in load and save order is the panel's
    // defaults (CustomPanel.cpp).
    struct Property {
        const char* name;
        QVariant defaultValue; // none for the font, the caption and the pictures: see defaultOf
        qint32 Paint::*number = nullptr;
        bool gradientColour = false; // keeps a system colour's value, not its index
    };
    static const std::vector<Property>& properties();
    QVariant defaultOf(const Property& property) const;
    void assign(qint32 Paint::*number, qint32 value);

    // The faces the panel shows. A pressed panel's caption takes the over colour only while the
    // pointer is over it, so the pressed look has two faces.
    enum class Look { Normal, Over, Down, DownOver, Disabled, Count };

    void pointerEntered();
    void watchHostWindow();
    Look currentLook() const;
    // A property every face is drawn from has changed; the face on screen stays until showLook.
    void dropFaces();
    // Puts the current look on screen, drawing its face (and the window shape) only when missing.
    void showLook();
    void paintFace(QImage& image, Look look) const;

    // Set from the properties' table when the panel is made.
    Paint paint_{};
    float gradientAngle_ = 0;
    QString caption_;
    qint16 titleHeight_ = 0;
    bool enabled_ = false;
    QPixmap mouseIcon_;
    QPixmap smallIcon_;
    QPixmap disabledSmallIcon_;
    qint32 mousePointer_ = 0;

    bool pointerOver_ = false; // Qt's own enter/leave, whatever the panel's state
    bool inside_ = false;
    bool hot_ = false;
    bool down_ = false;
    bool suppressClick_ = false;
    bool lastWasMoving_ = false;
    bool batching_ = false;
    QPointer<QWidget> hostWindow_;
    QTimer finishTimer_;

    // One face per look, each drawn when first shown after dropFaces. They are also dropped when
    // the size, the colour group (enabled, active window) or the resolution differs from what
    // they were drawn for: the panel gets no event for the last two, and a hidden panel's size
    // changes before its resize event comes.
    std::array<QImage, std::size_t(Look::Count)> faces_;
    QSize facesSize_;
    QPalette::ColorGroup facesGroup_ = QPalette::Active;
    QSize facesDpi_;
    QImage face_; // on screen; shares its pixels with one of faces_ until they are dropped
    // The window shape was cut for this size and diameter.
    QSize maskSize_;
    qint32 maskCorners_ = -1;
};

} // namespace deskleaf
