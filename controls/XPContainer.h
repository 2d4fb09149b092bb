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

    explicit XPContainer(QWidget* parent = nullptr);

    // Create, load and save, by property name. Loading does not apply the stored Theme: the
    // stored colours decide the look.
    void InitProperties();
    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;

    qint32 BackDarkColor() const { return backDark_; }
    qint32 BackLightColor() const { return backLight_; }
    qint32 BorderColor() const { return border_; }
    QString Caption() const { return caption_; }
    qint32 HeaderDarkColor() const { return headerDark_; }
    qint32 HeaderLightColor() const { return headerLight_; }
    qint32 Style() const { return style_; }
    qint32 TextColor() const { return text_; }
    qint32 Theme() const { return theme_; }

    void setBackDarkColor(qint32 colour);
    void setBackLightColor(qint32 colour);
    void setBorderColor(qint32 colour);
    void setCaption(const QString& caption);
    void setHeaderDarkColor(qint32 colour);
    void setHeaderLightColor(qint32 colour);
    // 0 shows the header; any other value hides it.
    void setStyle(qint32 style);
    using QWidget::setStyle; // the widget style, unrelated to the header
    void setTextColor(qint32 colour);
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
    void setValue(qint32& field, qint32 colour, const char* name);
    void layoutCaption();
    void redraw();

    qint32 headerLight_ = 16244947;
    qint32 headerDark_ = 15582631;
    qint32 backLight_ = 16577775;
    qint32 backDark_ = 16443612;
    qint32 border_ = 14467501;
    qint32 text_ = 8072450;
    QString caption_ = QStringLiteral("XPContainer");
    qint32 style_ = 0;
    qint32 theme_ = 0;

    int captionTop_ = 0; // caption's top inside the header, set on resize only
    QColor captionColour_ = Qt::white;
    QImage face_;
};

} // namespace deskleaf
