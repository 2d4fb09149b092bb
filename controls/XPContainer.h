// XPContainer: the framed background of the dialogs. A header strip with a caption, a body, each
// a vertical gradient, and a one-pixel border; a Theme number picks all six colours from a table
// of twelve schemes, and Style switches the header off. The host places its controls on it.
#pragma once

#include "controls/property_bag.h"

#include <QImage>
#include <QWidget>

namespace deskleaf {

class XPContainer : public QWidget {
    Q_OBJECT
    Q_PROPERTY(qint32 BackDarkColor READ BackDarkColor WRITE setBackDarkColor)
    Q_PROPERTY(qint32 BackLightColor READ BackLightColor WRITE setBackLightColor)
    Q_PROPERTY(qint32 BorderColor READ BorderColor WRITE setBorderColor)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(qint32 HeaderDarkColor READ HeaderDarkColor WRITE setHeaderDarkColor)
    Q_PROPERTY(qint32 HeaderLightColor READ HeaderLightColor WRITE setHeaderLightColor)
    Q_PROPERTY(qint32 Style READ Style WRITE setStyle)
    Q_PROPERTY(qint32 TextColor READ TextColor WRITE setTextColor)
    Q_PROPERTY(qint32 Theme READ Theme WRITE setTheme)

public:
    static constexpr int kThemeCount = 12;
    // The header strip runs from row 1 to the row above this one, where the body begins.
    static constexpr int kHeaderBottom = 24;

    // The six colours a theme sets.
    struct Colours {
        qint32 headerLight, headerDark, backLight, backDark, border, text;
    };

    explicit XPContainer(QWidget* parent = nullptr);

    // Create, load and save, by property name. Loading does not apply the stored Theme: the
    // stored colours decide the look.
    void InitProperties();
    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;

    qint32 BackDarkColor() const { return colours_.backDark; }
    qint32 BackLightColor() const { return colours_.backLight; }
    qint32 BorderColor() const { return colours_.border; }
    QString Caption() const { return caption_; }
    qint32 HeaderDarkColor() const { return colours_.headerDark; }
    qint32 HeaderLightColor() const { return colours_.headerLight; }
    qint32 Style() const { return style_; }
    qint32 TextColor() const { return colours_.text; }
    qint32 Theme() const { return theme_; }

    void setBackDarkColor(qint32 v) { setColour(&Colours::backDark, v); }
    void setBackLightColor(qint32 v) { setColour(&Colours::backLight, v); }
    void setBorderColor(qint32 v) { setColour(&Colours::border, v); }
    void setHeaderDarkColor(qint32 v) { setColour(&Colours::headerDark, v); }
    void setHeaderLightColor(qint32 v) { setColour(&Colours::headerLight, v); }
    void setTextColor(qint32 v) { setColour(&Colours::text, v); }
    void setCaption(const QString& caption);
    // 0 shows the header; any other value hides it.
    void setStyle(qint32 style);
    using QWidget::setStyle; // the widget style, unrelated to the header
    // 0 to 11 set the six colours from the theme table; any other number is only stored.
    void setTheme(qint32 theme);

    QSize sizeHint() const override { return {165, 128}; }

signals:
    void PropertyChanged(const QString& name);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void setValue(qint32& field, qint32 value, const char* name);
    void setColour(qint32 Colours::*colour, qint32 value);
    void layoutCaption();
    void redraw();

    // Set from the defaults when the frame is made.
    Colours colours_{};
    QString caption_;
    qint32 style_{};
    qint32 theme_{};

    int captionTop_ = 0; // caption's top inside the header, set on resize only
    QColor captionColour_ = Qt::white;
    QImage face_;
};

// Makes frame, placed on a frameless dialog that has its final size, the dialog's skinned frame:
// it fills the dialog, so that its border shows all round, and its header strip moves the
// dialog. The frame takes title as its accessible name and the dialog as its window title.
void frameDialog(XPContainer* frame, const char* name, const QString& caption, qint32 theme,
                 const QString& title);

} // namespace deskleaf
