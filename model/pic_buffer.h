// The composing surface: a background picture and the image composed on it, with a
// drawing state (font, size, colour, current position) that lasts between operations.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>

#include <memory>
#include <stdexcept>

namespace deskleaf {

class PendingFile;

// A picture or bitmap that could not be read or written; what() is a UTF-8 sentence.
class PictureError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What the calendar renderer needs of a surface: printing texts at positions.
class TextSurface {
public:
    virtual ~TextSurface() = default;
    virtual int width() const = 0; // of the drawing area, in pixels
    virtual void setFontName(const QString& name) = 0;
    virtual void setBold(bool bold) = 0;
    virtual void setFontSize(double points) = 0;
    virtual void setForeColor(QColor colour) = 0;
    virtual void setCurrentX(double x) = 0;
    virtual void setCurrentY(double y) = 0;
    // Draws the glyphs of text, without a background, with the text's top-left corner
    // at the current position.
    virtual void print(const QString& text) = 0;
    // Prints text as print() does when it is at most width pixels wide. A wider text is broken
    // between words, or between any two Chinese characters, into lines of at most width, each
    // under the one before, at most maxLines of them; the last ends in "…" when the text goes
    // on. A surface that cannot measure text prints it whole.
    virtual void printWrapped(const QString& text, double /*width*/, int /*maxLines*/)
    {
        print(text);
    }
    // Draws mark, one glyph at the current font size, in white on a small rounded square of
    // fill whose top-left corner is at the current position. A surface without such squares
    // prints the glyph alone.
    virtual void printBadge(const QString& mark, QColor fill)
    {
        setForeColor(fill);
        print(mark);
    }
};

class picBuffer final : public TextSurface {
public:
    // A new surface holds no picture: 381 x 201 pixels of light blue.
    picBuffer();

    // Makes image the background, at its own size; the composed image starts over from it.
    void setBackground(const QImage& image);
    // Throws away everything drawn since the background was set.
    void restartFromBackground();
    const QImage& background() const { return background_; }
    const QImage& composed() const { return composed_; }

    int width() const override { return composed_.width(); }
    void setFontName(const QString& name) override { fontName_ = name; }
    void setBold(bool bold) override { bold_ = bold; }
    void setFontSize(double points) override { points_ = points; }
    void setForeColor(QColor colour) override { colour_ = colour; }
    void setCurrentX(double x) override { x_ = x; }
    void setCurrentY(double y) override { y_ = y; }
    void print(const QString& text) override;
    void printWrapped(const QString& text, double width, int maxLines) override;
    void printBadge(const QString& mark, QColor fill) override;

private:
    QFont textFont() const;

    QImage background_;
    QImage composed_;
    QString fontName_ = QStringLiteral("Times New Roman");
    bool bold_ = false;
    double points_ = 9;
    QColor colour_ = Qt::black;
    double x_ = 0;
    double y_ = 0;
};

// A 24-bit Windows bitmap written beside its final path, which it replaces whole on
// commit(); dropped without commit(), it leaves the old file as it was.
class PendingBitmap {
public:
    PendingBitmap(const QImage& image, const QString& path); // throws PictureError
    ~PendingBitmap();
    void sync();   // writes it through to the disk before commit(); throws PictureError
    void commit(); // throws PictureError

private:
    std::unique_ptr<PendingFile> file_;
};

// Writes image as a 24-bit Windows bitmap, replacing path whole or not at all.
void saveBitmap(const QImage& image, const QString& path);

} // namespace deskleaf
