#include "windows/settings_window.h"

#include "controls/XPContainer.h"
#include "controls/focus_ring.h"
#include "controls/minimise_together.h"
#include "controls/song_font.h"
#include "controls/system_colour.h"
#include "controls/twips.h"
#include "controls/window_buttons.h"
#include "controls/xpcmdbutton.h"
#include "controls/xptopbuttons.h"
#include "model/settings.h"
#include "windows/calendar_window.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScreen>

#include <utility>

namespace deskleaf {
namespace {

const QString kNotice = QStringLiteral("提示");

} // namespace

SettingsWindow::SettingsWindow(SettingsServices services, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint), services_(std::move(services)),
      sampleColour_(calendarColour(services_.folder.profile())),
      XPContainer1_(new XPContainer(this))
{
    setObjectName(QStringLiteral("Form3"));
    setModal(true);
    setFixedSize(px(kWidthTwips), px(kHeightTwips));

    frameDialog(XPContainer1_, "XPContainer1", QStringLiteral("设  置"), 9, QStringLiteral("设置"));
    const CaptionButtons buttons = captionButtons(XPContainer1_);
    xptopbuttons1_ = buttons.close;
    xptopbuttons2_ = buttons.minimise;

    const QFont font = songFont(9);
    Label1_ = label("Label1", QStringLiteral("选择日历字体颜色"), twipsRect(240, 480, 1695, 255));
    xpcmdbutton4_ = commandButton(XPContainer1_, "xpcmdbutton4", QStringLiteral("选择颜色"), font,
                                  twipsRect(360, 720, 1455, 375));
    Label2_ = label("Label2", QStringLiteral("你选择的颜色"), twipsRect(2520, 480, 1095, 255));
    picsample_ = label("picsample", {}, twipsRect(2400, 840, 1695, 255));
    picsample_->setAutoFillBackground(true);
    picsample_->setFrameShape(QFrame::Box);
    picsample_->setAccessibleName(Label2_->text());
    ok_ = commandButton(XPContainer1_, "ok", QStringLiteral("ok"), font,
                        twipsRect(4200, 720, 375, 375));
    ok_->setAccessibleName(QStringLiteral("保存所选颜色"));
    Label4_ = label("Label4", QStringLiteral("恢复系统默认颜色"), twipsRect(240, 1440, 1815, 255));
    xpcmdbutton2_ = commandButton(XPContainer1_, "xpcmdbutton2", QStringLiteral("ok"), font,
                                  twipsRect(4200, 1320, 375, 375));
    xpcmdbutton2_->setAccessibleName(Label4_->text());

    Label3_ =
        label("Label3", QStringLiteral("自定义节日、提示信息"), twipsRect(240, 1920, 1815, 255));
    Text2_ = new QLineEdit(XPContainer1_);
    Text2_->setObjectName(QStringLiteral("Text2"));
    Text2_->setFont(font);
    Text2_->setReadOnly(true); // the picker writes it
    Text2_->setPlaceholderText(QStringLiteral("点这里选择日期"));
    Text2_->setAccessibleName(QStringLiteral("日期"));
    Text2_->setCursor(Qt::PointingHandCursor);
    Text2_->setGeometry(twipsRect(2400, 1920, 1695, 270));
    Text2_->installEventFilter(this);
    Text1_ = new QLineEdit(XPContainer1_);
    Text1_->setObjectName(QStringLiteral("Text1"));
    Text1_->setFont(font);
    Text1_->setPlaceholderText(QStringLiteral("这里输入自定义节日内容"));
    Text1_->setAccessibleName(QStringLiteral("节日内容"));
    Text1_->setGeometry(twipsRect(240, 2250, 3855, 345));
    xpcmdbutton1_ = commandButton(XPContainer1_, "xpcmdbutton1", QStringLiteral("ok"), font,
                                  twipsRect(4200, 2040, 375, 375));
    xpcmdbutton1_->setAccessibleName(QStringLiteral("保存节日内容"));
    // Whose day the text is: the Gregorian month and day, or the lunar ones.
    gregorianDay_ = new QRadioButton(XPContainer1_);
    gregorianDay_->setObjectName(QStringLiteral("gregorianDay"));
    gregorianDay_->setFont(font);
    gregorianDay_->setChecked(true);
    gregorianDay_->setGeometry(twipsRect(240, 2700, 2100, 300));
    lunarDay_ = new QRadioButton(XPContainer1_);
    lunarDay_->setObjectName(QStringLiteral("lunarDay"));
    lunarDay_->setFont(font);
    lunarDay_->setGeometry(twipsRect(2400, 2700, 2220, 300));
    showDayKinds(std::nullopt);
    Label5_ = label("Label5", QStringLiteral("图片填充方式"), twipsRect(240, 3160, 1215, 255));
    fit_ = new QComboBox(XPContainer1_);
    fit_->setObjectName(QStringLiteral("fit"));
    fit_->setFont(font);
    // In the order of PictureFit.
    fit_->addItems({QStringLiteral("拉伸"), QStringLiteral("填充"), QStringLiteral("适应")});
    fit_->setCurrentIndex(int(storedPictureFit(services_.folder)));
    fit_->setAccessibleName(Label5_->text());
    fit_->setGeometry(twipsRect(1500, 3090, 1095, 345));
    Label5_->setBuddy(fit_);
    everyScreen_ = new QCheckBox(QStringLiteral("每屏都显示日历"), XPContainer1_);
    everyScreen_->setObjectName(QStringLiteral("everyScreen"));
    everyScreen_->setFont(font);
    everyScreen_->setChecked(calendarOnEveryScreen(services_.folder));
    everyScreen_->setGeometry(twipsRect(2760, 3120, 1815, 300));
    holidayMarks_ = new QCheckBox(QStringLiteral("标休/班"), XPContainer1_);
    holidayMarks_->setObjectName(QStringLiteral("holidayMarks"));
    holidayMarks_->setFont(font);
    holidayMarks_->setAccessibleName(QStringLiteral("在日历上标出休和班"));
    holidayMarks_->setToolTip(QStringLiteral("在日历上标出法定节假日的“休”和调休上班的“班”"));
    holidayMarks_->setChecked(holidayMarksShown(services_.folder));
    holidayMarks_->setGeometry(twipsRect(3600, 3638, 1020, 300));
    xpcmdbutton3_ =
        commandButton(XPContainer1_, "xpcmdbutton3", QStringLiteral("设置桌面图标背景透明"), font,
                      twipsRect(1320, 3600, 2175, 375));
    sundayFirst_ = new QCheckBox(QStringLiteral("周日在前"), XPContainer1_);
    sundayFirst_->setObjectName(QStringLiteral("sundayFirst"));
    sundayFirst_->setFont(font);
    sundayFirst_->setAccessibleName(QStringLiteral("一周从周日开始"));
    sundayFirst_->setToolTip(QStringLiteral("日历的每一周从周日开始，不勾选则从周一开始"));
    sundayFirst_->setChecked(weekStartsOnSunday(services_.folder.profile()));
    sundayFirst_->setGeometry(twipsRect(240, 3638, 1020, 300));
    Label3_->setBuddy(Text2_);
    Label6_ = label("Label6", {}, twipsRect(240, 4080, 4335, 255));
    monthTexts_ = new QListWidget(XPContainer1_);
    monthTexts_->setObjectName(QStringLiteral("monthTexts"));
    monthTexts_->setFont(font);
    monthTexts_->setSelectionMode(QAbstractItemView::NoSelection);
    monthTexts_->setGeometry(twipsRect(240, 4335, 4335, 1125));
    Label6_->setBuddy(monthTexts_);
    showMonthTexts();

    setTabOrder(xpcmdbutton4_, ok_);
    setTabOrder(ok_, xpcmdbutton2_);
    setTabOrder(xpcmdbutton2_, Text2_);
    setTabOrder(Text2_, Text1_);
    setTabOrder(Text1_, gregorianDay_);
    setTabOrder(gregorianDay_, lunarDay_);
    setTabOrder(lunarDay_, xpcmdbutton1_);
    setTabOrder(xpcmdbutton1_, fit_);
    setTabOrder(fit_, everyScreen_);
    setTabOrder(everyScreen_, sundayFirst_);
    setTabOrder(sundayFirst_, xpcmdbutton3_);
    setTabOrder(xpcmdbutton3_, holidayMarks_);
    setTabOrder(holidayMarks_, monthTexts_);

    connect(xpcmdbutton4_, &xpcmdbutton::Click, this, &SettingsWindow::chooseColour);
    connect(ok_, &xpcmdbutton::Click, this, [this] {
        if (storeColour(sampleColour_)) {
            tell(QStringLiteral("颜色已更新！"));
            accept();
        }
    });
    connect(xpcmdbutton2_, &xpcmdbutton::Click, this, [this] {
        if (storeColour(settings::DefaultCalendarColour)) {
            tell(QStringLiteral("已恢复默认颜色！"));
            accept();
        }
    });
    connect(xpcmdbutton3_, &xpcmdbutton::Click, this, &SettingsWindow::clearIconLabels);
    connect(xpcmdbutton1_, &xpcmdbutton::Click, this, &SettingsWindow::saveFestival);
    connect(fit_, &QComboBox::activated, this, &SettingsWindow::storeFit);
    storeOnClick(
        everyScreen_, [this](bool on) { storeCalendarOnEveryScreen(services_.folder, on); },
        [this] { return calendarOnEveryScreen(services_.folder); });
    storeOnClick(
        holidayMarks_, [this](bool on) { storeHolidayMarks(services_.folder, on); },
        [this] { return holidayMarksShown(services_.folder); });
    storeOnClick(
        sundayFirst_, [this](bool sunday) { storeWeekStart(services_.folder, sunday); },
        [this] { return weekStartsOnSunday(services_.folder.profile()); });
    connect(xptopbuttons1_, &xptopbuttons::Click, this, &QDialog::reject);
    connect(xptopbuttons2_, &xptopbuttons::Click, this, [this] { minimiseProgram(this); });

    setSample(sampleColour_);
    new FocusRing(this);
    const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen)
        move(loadPlace(screen->geometry()));
}

void SettingsWindow::storeFit(int index)
{
    try {
        storePictureFit(services_.folder, PictureFit(index));
    } catch (const std::exception& e) {
        tell(QString::fromUtf8(e.what()));
        fit_->setCurrentIndex(int(storedPictureFit(services_.folder)));
    }
}

void SettingsWindow::storeOnClick(QCheckBox* box, std::function<void(bool)> store,
                                  std::function<bool()> stored)
{
    connect(box, &QCheckBox::clicked, this,
            [this, box, store = std::move(store), stored = std::move(stored)](bool on) {
                try {
                    store(on);
                } catch (const std::exception& e) {
                    tell(QString::fromUtf8(e.what()));
                    box->setChecked(stored());
                }
            });
}

void SettingsWindow::showDayKinds(std::optional<QDate> day)
{
    if (!day) {
        gregorianDay_->setText(QStringLiteral("每年公历这天"));
        lunarDay_->setText(QStringLiteral("每年农历这天"));
        return;
    }
    gregorianDay_->setText(QStringLiteral("每年公历%1月%2日").arg(day->month()).arg(day->day()));
    const std::optional<LunarDay> lunar = lunarDayOf(*day);
    lunarDay_->setEnabled(lunar.has_value());
    if (!lunar)
        lunarDay_->setChecked(false), gregorianDay_->setChecked(true);
    lunarDay_->setText(lunar ? QStringLiteral("每年农历") + lunarDayName(lunar->month, lunar->day)
                             : QStringLiteral("每年农历这天"));
}

QPoint SettingsWindow::loadPlace(const QRect& screen)
{
    const int left = (screen.width() * kTwipsPerPixel - kWidthTwips) / 2;
    const int top = (screen.height() * kTwipsPerPixel - kHeightTwips) / 2;
    return screen.topLeft() + QPoint(left / kTwipsPerPixel, top / kTwipsPerPixel);
}

QLabel* SettingsWindow::label(const char* name, const QString& text, QRect place)
{
    auto* l = new QLabel(text, XPContainer1_);
    l->setObjectName(QLatin1String(name));
    l->setTextFormat(Qt::PlainText);
    l->setFont(songFont(9));
    l->setGeometry(place);
    return l;
}

void SettingsWindow::tell(const QString& text) const
{
    services_.tell(const_cast<SettingsWindow*>(this), kNotice, text);
}

void SettingsWindow::setSample(qint32 colour)
{
    sampleColour_ = colour;
    QPalette palette = picsample_->palette();
    palette.setColor(QPalette::Window, translateColour(colour, palette).value_or(Qt::white));
    picsample_->setPalette(palette);
}

void SettingsWindow::chooseColour()
{
    const std::optional<QColor> chosen = services_.chooseColour(this);
    if (!chosen)
        return; // cancelled: nothing changes
    const qint32 colour = colourValue(*chosen);
    if (const QString refusal = colourRefusal(colour); !refusal.isEmpty()) {
        services_.tell(this, QStringLiteral("请选择其他色！"), refusal);
        return; // the sample keeps its colour
    }
    setSample(colour);
}

bool SettingsWindow::storeColour(qint32 colour)
{
    try {
        storeCalendarColour(services_.folder, colour);
        return true;
    } catch (const std::exception& e) {
        tell(QString::fromUtf8(e.what()));
        return false;
    }
}

void SettingsWindow::clearIconLabels()
{
    if (services_.clearIconLabels() == IconLabels::NoBackground)
        tell(QStringLiteral("这个桌面绘制图标文字时不带背景，无需设置，没有做任何改动。"));
}

void SettingsWindow::pickDate()
{
    Calendar picker(services_.today, customTextsOf(services_.folder), this);
    picker.setDayMarks(dayMarksOf(services_.folder));
    picker.setLunarTexts(lunarTextsOf(services_.folder));
    picker.setSundayFirst(weekStartsOnSunday(services_.folder.profile()));
    if (const std::optional<QDate> day = Calendar::dateOfText(Text2_->text()))
        picker.showPicked(*day);
    services_.runModal(picker);
    // Until the first pick of the run there is no date to show: the prompt stays.
    if (!Calendar::xzrq.isEmpty()) {
        Text2_->setText(Calendar::xzrq);
        showDayKinds(Calendar::dateOfText(Calendar::xzrq));
        showMonthTexts();
    }
}

void SettingsWindow::showMonthTexts()
{
    const QDate day = Calendar::dateOfText(Text2_->text()).value_or(services_.today());
    Label6_->setText(QStringLiteral("%1年%2月已存的节日和提示：").arg(day.year()).arg(day.month()));
    monthTexts_->clear();
    try {
        monthTexts_->addItems(monthTexts(services_.folder, day));
    } catch (const std::exception&) {
        // Unreadable: nothing to show; a save says why.
    }
    if (monthTexts_->count() == 0)
        monthTexts_->addItem(QStringLiteral("（没有）"));
    monthTexts_->setAccessibleName(Label6_->text());
}

void SettingsWindow::saveFestival()
{
    const std::optional<QDate> day = Calendar::dateOfText(Text2_->text());
    if (!day) {
        tell(QStringLiteral("请先选择日期"));
        return;
    }
    // The Gregorian month and day, or the lunar ones, the text belongs to.
    const std::optional<LunarDay> lunar =
        lunarDay_->isChecked() ? lunarDayOf(*day) : std::optional<LunarDay>();
    const int month = lunar ? lunar->month : day->month();
    const int dayOfMonth = lunar ? lunar->day : day->day();
    ProfileFile& file = services_.folder.profile();
    std::optional<QString> stored;
    try {
        // A text stored by someone else between the look and the write is never lost.
        const ProfileFile::Hold held = file.hold();
        stored =
            lunar ? lunarCustomText(file, month, dayOfMonth) : customText(file, month, dayOfMonth);
        if (!stored) {
            if (lunar)
                writeLunarCustomText(file, month, dayOfMonth, Text1_->text());
            else
                writeCustomText(file, month, dayOfMonth, Text1_->text());
        }
    } catch (const ProfileError& e) {
        tell(QString::fromUtf8(e.what()));
        return;
    }
    if (!stored) {
        showMonthTexts();
        tell(QStringLiteral("已更新！"));
        accept();
        return;
    }
    str = Text1_->text() + QStringLiteral("   ") + *stored;
    str2 = QStringLiteral("%1-%2")
               .arg(month, 2, 10, QLatin1Char('0'))
               .arg(dayOfMonth, 2, 10, QLatin1Char('0'));
    ReplaceBox box(str, str2, file, services_.tell, this, lunar.has_value());
    services_.runModal(box);
    showMonthTexts();
}

bool SettingsWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != Text2_)
        return false;
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton &&
            Text2_->rect().contains(mouse->position().toPoint())) {
            pickDate();
            return true;
        }
    } else if (event->type() == QEvent::KeyPress) {
        // The keyboard opens the picker too.
        const auto* press = static_cast<QKeyEvent*>(event);
        const int key = press->key();
        if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter ||
            (key == Qt::Key_Down && press->modifiers() & Qt::AltModifier)) {
            pickDate();
            return true;
        }
    }
    return false;
}

std::optional<QColor> SettingsWindow::askForColour(QWidget* parent)
{
    // Starts at black with no custom colours, as every opening does.
    const QColor colour = QColorDialog::getColor(Qt::black, parent, QStringLiteral("颜色"));
    if (!colour.isValid())
        return std::nullopt;
    return colour;
}

void SettingsWindow::showMessage(QWidget* parent, const QString& title, const QString& text)
{
    QMessageBox::information(parent, title, text);
}

void SettingsWindow::execute(QDialog& dialog)
{
    dialog.exec();
}

} // namespace deskleaf
