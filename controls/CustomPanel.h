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
    qint32 DisabledBorderColor() const { return disabledBorderColor_; }
    qint32 ForeColor() const { return foreColor_; }
    qint32 OverForeColor() const { return overForeColor_; }
    qint32 BGGradientStart() const { return normalLook_.bgStart; }
    qint32 BGGradientEnd() const { return normalLook_.bgEnd; }
    qint32 TitleGradientStart() const { return normalLook_.titleStart; }
    qint32 TitleGradientEnd() const { return normalLook_.titleEnd; }
    qint32 BorderColor() const { return borderColor_; }
    QFont Font() const { return font(); }
    QString Caption() const { return caption_; }
    qint16 TitleHeight() const { return titleHeight_; }
    qint32 RoundedCorners() const { return roundedCorners_; }
    bool Enabled() const { return enabled_; }
    QPixmap MouseIcon() const { return mouseIcon_; }
    QPixmap SmallIcon() const { return smallIcon_; }
    qint32 MousePointer() const { return mousePointer_; }
    qint32 Alignment() const { return alignment_; }
    qint32 OverBGGradientStart() const { return overLook_.bgStart; }
    qint32 OverBGGradientEnd() const { return overLook_.bgEnd; }
    qint32 OverTitleGradientStart() const { return overLook_.titleStart; }
    qint32 OverTitleGradientEnd() const { return overLook_.titleEnd; }
    qint32 OverBorderColor() const { return overBorderColor_; }
    qint32 DownBGGradientStart() const { return downLook_.bgStart; }
    qint32 DownBGGradientEnd() const { return downLook_.bgEnd; }
    qint32 DownTitleGradientStart() const { return downLook_.titleStart; }
    qint32 DownTitleGradientEnd() const { return downLook_.titleEnd; }
    qint32 DownBorderColor() const { return downBorderColor_; }
    qint32 DisabledBGGradientStart() const { return disabledLook_.bgStart; }
    qint32 DisabledBGGradientEnd() const { return disabledLook_.bgEnd; }
    qint32 DisabledTitleGradientStart() const { return disabledLook_.titleStart; }
    qint32 DisabledTitleGradientEnd() const { return disabledLook_.titleEnd; }
    QPixmap DisabledSmallIcon() const { return disabledSmallIcon_; }

    // Takes effect at the next redraw.
    void setGradientAngle(float angle);
    void setDisabledBorderColor(qint32 colour);
    void setForeColor(qint32 colour);
    void setOverForeColor(qint32 colour);
    void setBGGradientStart(qint32 colour);
    void setBGGradientEnd(qint32 colour);
    void setTitleGradientStart(qint32 colour);
    void setTitleGradientEnd(qint32 colour);
    void setBorderColor(qint32 colour);
    // The caption font, which is also the widget's font.
    void setPanelFont(const QFont& font);
    void setCaption(const QString& caption);
    void setTitleHeight(qint16 height);
    void setRoundedCorners(qint32 diameter);
    // The panel's own flag: a disabled panel still receives input but raises no input signals.
    void setPanelEnabled(bool enabled);
    // Kept only so that it persists; takes effect at the next redraw.
    void setMouseIcon(const QPixmap& icon);
    void setSmallIcon(const QPixmap& icon);
    // Kept only so that it persists; the pointer shape does not change.
    void setMousePointer(qint32 pointer);
    // 0 left, 1 right, 2 centre.
    void setAlignment(qint32 alignment);
    void setOverBGGradientStart(qint32 colour);
    void setOverBGGradientEnd(qint32 colour);
    void setOverTitleGradientStart(qint32 colour);
    void setOverTitleGradientEnd(qint32 colour);
    void setOverBorderColor(qint32 colour);
    void setDownBGGradientStart(qint32 colour);
    void setDownBGGradientEnd(qint32 colour);
    void setDownTitleGradientStart(qint32 colour);
    void setDownTitleGradientEnd(qint32 colour);
    void setDownBorderColor(qint32 colour);
    void setDisabledBGGradientStart(qint32 colour);
    void setDisabledBGGradientEnd(qint32 colour);
    void setDisabledTitleGradientStart(qint32 colour);
    void setDisabledTitleGradientEnd(qint32 colour);
    void setDisabledSmallIcon(const QPixmap& icon);

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
    struct GradientSet {
        qint32 bgStart;
        qint32 bgEnd;
        qint32 titleStart;
        qint32 titleEnd;
    };

    // The faces the panel shows. A pressed panel's caption takes the over colour only while the
    // pointer is over it, so the pressed look has two faces.
    enum class Look { Normal, Over, Down, DownOver, Disabled, Count };

    void setGradientColour(qint32& field, qint32 colour, const char* name);
    void setValue(qint32& field, qint32 colour, const char* name);
    void pointerEntered();
    void watchHostWindow();
    Look currentLook() const;
    // A property every face is drawn from has changed; the face on screen stays until showLook.
    void dropFaces();
    // Puts the current look on screen, drawing its face (and the window shape) only when missing.
    void showLook();
    void paintFace(QImage& image, Look look) const;

    GradientSet normalLook_{16246222, 16246222, 16246222, 15176238};
    GradientSet overLook_{16578028, 16578028, 16578028, 16693609};
    GradientSet downLook_{16246222, 16246222, 16569503, 13070861};
    GradientSet disabledLook_{qint32(0x8000000F), qint32(0x8000000F), 15596027, 14477803};
    float gradientAngle_ = 270;
    qint32 disabledBorderColor_ = 8092539;
    qint32 foreColor_ = 0;
    qint32 overForeColor_ = 0;
    qint32 borderColor_ = 12481573;
    qint32 overBorderColor_ = 16027427;
    qint32 downBorderColor_ = 13070861;
    QString caption_;
    qint16 titleHeight_ = 23;
    qint32 roundedCorners_ = 0;
    bool enabled_ = true;
    QPixmap mouseIcon_;
    QPixmap smallIcon_;
    QPixmap disabledSmallIcon_;
    qint32 mousePointer_ = 0;
    qint32 alignment_ = 2;

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
