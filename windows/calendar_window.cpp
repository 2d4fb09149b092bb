#include "windows/calendar_window.h"

#include "controls/focus_ring.h"
#include "controls/sans_font.h"
#include "controls/twips.h"
#include "model/calendar_renderer.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QPushButton>
#include <QScrollBar>
#include <QShowEvent>
#include <QWheelEvent>

#include <algorithm>
#include <utility>

namespace deskleaf {
// A cell's 休 or 班: the glyph in white on a small rounded square, as on the wallpaper.
class MarkSquare final : public QLabel {
public:
    using QLabel::QLabel;
    QColor fill;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        painter.drawRoundedRect(QRectF(rect()), 2, 2);
        painter.setPen(Qt::white);
        painter.setFont(font());
        painter.drawText(rect(), Qt::AlignCenter, text());
    }
};

// A day cell: its caption, on a white square with a thin frame when it is the picked day.
class DayCell final : public QLabel {
public:
    using QLabel::QLabel;
    bool picked = false;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        if (picked) {
            QPainter painter(this);
            painter.fillRect(rect(), Qt::white);
            painter.setPen(MonthGrid::kCellColour);
            painter.drawRect(rect().adjusted(0, 0, -1, -1));
        }
        QLabel::paintEvent(event);
    }
};

namespace {

constexpr int kOffsetRange = 1500; // months or years either way of today
const QColor kHeadingColour{0, 0, 255};
const QColor kBackground{192, 192, 192};

// Label1's lefts, Monday to Sunday.
constexpr std::array<int, 7> kLabel1Left{435, 945, 1440, 1905, 2385, 2865, 3345};
// Cells are 75 twips wider than designed so that two Chinese characters fit.
constexpr int kCellWidth = 450, kCellHeight = 525;
constexpr int kMarkSide = 11; // pixels: a cell's 休 or 班 right of a two-digit number
// Weekday headers one line of their font tall, ending where cell 0 begins.
constexpr int kLabel1Top = 840, kLabel1Height = 240;
// Label8 and Text1 (Label8 15 twips narrower than designed, to end where Text1 begins) sit below
// Label6's lower place (4680 to 5055) so that they never meet.
constexpr int kPickedRowTop = 5160;

void setTextColour(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

QLabel* label(QWidget* parent, const QString& name, const QString& text, const QFont& font,
              QRect place)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setTextFormat(Qt::PlainText);
    l->setFont(font);
    l->setGeometry(place);
    return l;
}

QScrollBar* offsetBar(QWidget* parent, const char* name, const QString& accessible, QRect place)
{
    auto* bar = new QScrollBar(Qt::Horizontal, parent);
    bar->setObjectName(QLatin1String(name));
    bar->setRange(-kOffsetRange, kOffsetRange); // -1500 at the left end
    bar->setSingleStep(1);
    bar->setPageStep(1);
    bar->setValue(0);
    bar->setAccessibleName(accessible);
    bar->setGeometry(place);
    return bar;
}

// The cell's caption as a label shows it: the day number over the lunar text.
QString shownCaption(const QString& caption)
{
    return QString(caption).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace

Calendar::Calendar(std::function<QDate()> today, MonthGrid::CustomTextLookup customText,
                   QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      today_(std::move(today)), customText_(std::move(customText))
{
    setObjectName(QStringLiteral("Calendar"));
    setWindowTitle(QStringLiteral("Calendar"));
    setModal(true);
    setFixedSize(kWidth, kHeight);
    QPalette grey = palette();
    grey.setColor(QPalette::Window, kBackground);
    setPalette(grey);
    setAutoFillBackground(true);

    // MS Sans Serif 8.25 pt, the face the window's other texts are set in.
    const QFont text = sansFont(8.25);
    Label7_ = label(this, QStringLiteral("Label7"), QStringLiteral("公历："), text,
                    twipsRect(360, 120, 615, 255));
    // 15 twips narrower than designed, so that it ends where HScroll2 begins.
    Label4_ = label(this, QStringLiteral("Label4"), {}, text, twipsRect(1080, 120, 480, 255));
    HScroll2_ = offsetBar(this, "HScroll2", QStringLiteral("年"), twipsRect(1560, 120, 420, 375));
    Label2_ = label(this, QStringLiteral("Label2"), {}, sansFont(8.25, true),
                    twipsRect(2160, 120, 450, 315));
    HScroll1_ = offsetBar(this, "HScroll1", QStringLiteral("月"), twipsRect(2760, 120, 420, 405));
    Command1_ = new QPushButton(QStringLiteral("回今天"), this);
    Command1_->setObjectName(QStringLiteral("Command1"));
    Command1_->setFont(text);
    Command1_->setAutoDefault(false); // Enter elsewhere must not throw the paging away
    Command1_->setAccessibleName(Command1_->text());
    Command1_->setGeometry(twipsRect(3240, 120, 840, 360));
    Label5_ = label(this, QStringLiteral("Label5"), {}, text, twipsRect(480, 600, 1215, 240));

    for (int i = 0; i < 7; ++i) {
        QLabel* header =
            label(this, QStringLiteral("Label1_%1").arg(i), MonthGrid::Label1(i),
                  sansFont(8.25, true), twipsRect(kLabel1Left[i], kLabel1Top, 405, kLabel1Height));
        header->setAccessibleName(header->text());
        setTextColour(header, MonthGrid::Label1Colour(i));
        Label1_[i] = header;
    }
    for (int i = 0; i < MonthGrid::kCells; ++i) {
        auto* cell = new DayCell(this);
        cell->setObjectName(QStringLiteral("Label3_%1").arg(i));
        cell->setTextFormat(Qt::PlainText);
        cell->setFont(sansFont(9.75, true));
        cell->setGeometry(twipsRect(grid_.cellLeft(i), grid_.cellTop(i), kCellWidth, kCellHeight));
        cell->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        cell->setCursor(Qt::PointingHandCursor);
        cell->installEventFilter(this);
        cell->hide();
        Label3_[i] = cell;
        auto* mark = new MarkSquare(cell);
        mark->setObjectName(QStringLiteral("mark_%1").arg(i));
        QFont markFont = sansFont(6.75, true);
        markFont.setPixelSize(kMarkSide - 2);
        mark->setFont(markFont);
        mark->setGeometry(kCellWidth / kTwipsPerPixel - kMarkSide - 1, 1, kMarkSide, kMarkSide);
        mark->setAttribute(Qt::WA_TransparentForMouseEvents); // a click picks the cell
        mark->hide();
        marks_[i] = mark;
    }
    Label6_ = label(this, QStringLiteral("Label6"), {}, text, twipsRect(480, 5280, 3255, 375));
    setTextColour(Label6_, MonthGrid::kLabel6Colour);
    Label8_ = label(this, QStringLiteral("Label8"), QStringLiteral("你选择的日期是："), text,
                    twipsRect(960, kPickedRowTop, 1440, 375));
    Label8_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Text1_ = new QLineEdit(this);
    Text1_->setObjectName(QStringLiteral("Text1"));
    Text1_->setFont(text);
    Text1_->setReadOnly(true);
    Text1_->setGeometry(twipsRect(2400, kPickedRowTop, 1335, 375));
    Text1_->setAccessibleName(QStringLiteral("你选择的日期是"));
    Label8_->setBuddy(Text1_);

    for (QLabel* heading : {Label7_, Label4_, Label2_, Label5_, Label8_})
        setTextColour(heading, kHeadingColour);
    Label7_->setAccessibleName(Label7_->text());
    Label8_->setAccessibleName(Label8_->text());

    connect(HScroll1_, &QScrollBar::valueChanged, this, &Calendar::fillGrid);
    connect(HScroll2_, &QScrollBar::valueChanged, this, &Calendar::fillGrid);
    connect(Command1_, &QPushButton::clicked, this, &Calendar::resetToToday);

    new FocusRing(this);
    resetToToday();
}

void Calendar::showEvent(QShowEvent* event)
{
    // Every opening starts at today's month, the keyboard's focus on the picked day when the
    // month has it, else on today.
    if (!event->spontaneous()) {
        resetToToday();
        if (cellOf(picked_) >= 0)
            focusDay_ = picked_;
        fillGrid();
        if (const int cell = cellOf(focusDay_); cell >= 0)
            Label3_[cell]->setFocus(Qt::OtherFocusReason);
    }
    QDialog::showEvent(event);
}

void Calendar::showPicked(QDate day)
{
    picked_ = day;
    Text1_->setText(day.isValid() ? dateText(day) : QString());
    fillGrid();
}

void Calendar::resetToToday()
{
    focusDay_ = today_();
    {
        const QSignalBlocker months(HScroll1_), years(HScroll2_);
        HScroll1_->setValue(0);
        HScroll2_->setValue(0);
    }
    fillGrid();
}

void Calendar::setLunarTexts(MonthGrid::LunarTextLookup texts)
{
    grid_.setLunarTexts(std::move(texts));
    fillGrid();
}

void Calendar::setSundayFirst(bool sunday)
{
    grid_.setSundayFirst(sunday);
    for (int i = 0; i < 7; ++i) {
        Label1_[i]->setText(MonthGrid::Label1(i, sunday));
        Label1_[i]->setAccessibleName(Label1_[i]->text());
        setTextColour(Label1_[i], MonthGrid::Label1Colour(i, sunday));
    }
    fillGrid();
}

void Calendar::setDayMarks(MonthGrid::DayMarkLookup marks)
{
    grid_.setDayMarks(std::move(marks));
    fillGrid();
}

bool Calendar::dayHasFocus() const
{
    const QWidget* focused = focusWidget();
    return std::find(Label3_.begin(), Label3_.end(), focused) != Label3_.end();
}

int Calendar::cellOf(QDate day) const
{
    const QDate start = grid_.monthStart();
    if (!day.isValid() || day.year() != start.year() || day.month() != start.month())
        return -1;
    const int cell = grid_.firstCell() + day.day() - 1;
    return cell < MonthGrid::kCells && grid_.cellVisible(cell) ? cell : -1;
}

void Calendar::fillGrid()
{
    const bool dayFocused = dayHasFocus(); // before its cell may hide
    grid_.page(today_(), 12 * HScroll2_->value() + HScroll1_->value(), customText_);
    // The keyboard's day follows the month shown: the same day number, or the month's last.
    const QDate start = grid_.monthStart();
    if (cellOf(focusDay_) < 0 && start.isValid())
        focusDay_ = QDate(start.year(), start.month(),
                          std::min(focusDay_.isValid() ? focusDay_.day() : 1, start.daysInMonth()));
    const int focusCell = cellOf(focusDay_), pickedCell = cellOf(picked_);

    Label2_->setText(grid_.Label2());
    Label4_->setText(grid_.Label4());
    Label5_->setText(grid_.Label5());
    for (int i = 0; i < MonthGrid::kCells; ++i) {
        DayCell* cell = Label3_[i];
        cell->setText(shownCaption(grid_.Label3(i)));
        cell->setAccessibleName(cell->text().simplified());
        setTextColour(cell, grid_.cellColour(i));
        cell->move(px(grid_.cellLeft(i)), px(grid_.cellTop(i)));
        cell->setVisible(grid_.cellVisible(i));
        const OfficialDay& day = grid_.cellMark(i);
        marks_[i]->setText(dayMarkText(day.mark));
        marks_[i]->fill = day.mark == DayMark::Off ? kDayOffSquare : kWorkdaySquare;
        marks_[i]->setVisible(day.mark != DayMark::None);
        if (day.mark != DayMark::None)
            cell->setAccessibleName(cell->accessibleName() + u' ' + marks_[i]->text() + u' ' +
                                    day.name);
        cell->picked = i == pickedCell;
        if (cell->picked)
            cell->setAccessibleName(cell->accessibleName() + QStringLiteral(" 已选"));
        cell->setFocusPolicy(i == focusCell ? Qt::StrongFocus : Qt::NoFocus);
        cell->update();
    }
    if (dayFocused && focusCell >= 0)
        Label3_[focusCell]->setFocus(Qt::OtherFocusReason);
    Label6_->setText(grid_.Label6());
    // A month that reaches cell 36 has it where Label6's upper place is: the line goes below.
    const int label6Top = grid_.cellVisible(MonthGrid::kCells - 1)
                              ? grid_.cellTop(MonthGrid::kCells - 1) + kCellHeight
                              : grid_.label6Top();
    Label6_->move(Label6_->x(), px(label6Top));
}

void Calendar::pick(int cell)
{
    const QDate start = grid_.monthStart();
    const QDate date = start.addDays(cell - grid_.firstCell());
    if (date.month() != start.month() || date.year() != start.year())
        return;
    picked_ = date;
    focusDay_ = date;
    Text1_->setText(dateText(date));
    xzrq = Text1_->text();
    fillGrid();
}

void Calendar::moveFocusTo(QDate day)
{
    const QDate start = grid_.monthStart();
    if (!day.isValid() || !start.isValid())
        return;
    focusDay_ = day;
    if (const int months = (day.year() - start.year()) * 12 + day.month() - start.month()) {
        const QSignalBlocker blocker(HScroll1_);
        HScroll1_->setValue(HScroll1_->value() + months);
    }
    fillGrid();
    if (const int cell = cellOf(focusDay_); cell >= 0)
        Label3_[cell]->setFocus(Qt::OtherFocusReason);
}

void Calendar::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
        QScrollBar* bar = event->modifiers() & Qt::ShiftModifier ? HScroll2_ : HScroll1_;
        bar->setValue(bar->value() + (key == Qt::Key_PageUp ? -1 : 1));
        return;
    }
    if (dayHasFocus()) {
        switch (key) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down: {
            const int days = key == Qt::Key_Left    ? -1
                             : key == Qt::Key_Right ? 1
                             : key == Qt::Key_Up    ? -7
                                                    : 7;
            moveFocusTo(focusDay_.addDays(days));
            return;
        }
        case Qt::Key_Space:
            pick(cellOf(focusDay_));
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            pick(cellOf(focusDay_));
            accept();
            return;
        default:
            break;
        }
    }
    QDialog::keyPressEvent(event);
}

QString Calendar::dateText(QDate day)
{
    return QStringLiteral("%1-%2-%3")
        .arg(day.year())
        .arg(day.month(), 2, 10, QLatin1Char('0'))
        .arg(day.day());
}

std::optional<QDate> Calendar::dateOfText(const QString& text)
{
    const QStringList parts = text.trimmed().split(u'-');
    if (parts.size() != 3)
        return std::nullopt;
    bool ok[3];
    const QDate day(parts[0].toInt(&ok[0]), parts[1].toInt(&ok[1]), parts[2].toInt(&ok[2]));
    if (!ok[0] || !ok[1] || !ok[2] || !day.isValid())
        return std::nullopt;
    return day;
}

bool Calendar::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::MouseButtonRelease)
        return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    for (int i = 0; i < MonthGrid::kCells; ++i) {
        if (watched == Label3_[i] && mouse->button() == Qt::LeftButton &&
            Label3_[i]->rect().contains(mouse->position().toPoint())) {
            pick(i);
            return true;
        }
    }
    return false;
}

void Calendar::wheelEvent(QWheelEvent* event)
{
    QRect gridArea;
    for (const QLabel* header : Label1_)
        gridArea |= header->geometry();
    for (const QLabel* cell : Label3_)
        if (cell->isVisible())
            gridArea |= cell->geometry();
    if (!gridArea.contains(event->position().toPoint())) {
        QDialog::wheelEvent(event);
        return;
    }
    // One notch (15 degrees, 120 eighths) pages one month; turning away pages back.
    wheelAngle_ += event->angleDelta().y();
    const int months = wheelAngle_ / QWheelEvent::DefaultDeltasPerStep;
    wheelAngle_ -= months * QWheelEvent::DefaultDeltasPerStep;
    if (months != 0)
        HScroll1_->setValue(HScroll1_->value() - months * HScroll1_->singleStep());
    event->accept();
}

} // namespace deskleaf
