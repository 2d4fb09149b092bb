#include "controls/xpcmdbutton.h"
#include "model/calendar_renderer.h"
#include "model/settings.h"
#include "support/test_files.h"
#include "windows/calendar_window.h"
#include "windows/settings_window.h"
#include "wiring/translations.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <thread>

using namespace deskleaf;
using deskleaf::testfiles::readBytes;
using deskleaf::testfiles::writeBytes;

namespace {

class SettingsWindowTest : public ::testing::Test {
protected:
    SettingsWindow& open()
    {
        window_ = std::make_unique<SettingsWindow>(
            SettingsServices{folder, [] { return QDate(2026, 3, 18); },
                             [this](QWidget*) { return chosen; },
                             [this](QWidget*, const QString& title, const QString& text) {
                                 told << title + u'|' + text;
                             },
                             [this](QDialog& dialog) {
                                 dialog.show();
                                 onModal(dialog);
                             },
                             [] { return IconLabels::NoBackground; }},
            nullptr);
        window_->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
        return *window_;
    }
    template <typename T = QWidget> static T* in(QWidget& parent, const char* name)
    {
        return parent.findChild<T*>(name);
    }
    void click(QWidget& parent, const char* name)
    {
        QTest::mouseClick(in(parent, name), Qt::LeftButton);
    }
    // Opens the picker from Text2 and clicks the day of March 2026.
    void pick(int day)
    {
        onModal = [day](QDialog& picker) {
            for (QLabel* cell : picker.findChildren<QLabel*>())
                if (cell->objectName().startsWith("Label3_") && cell->isVisible() &&
                    cell->text().section(u'\n', 0, 0) == QString::number(day))
                    QTest::mouseClick(cell, Qt::LeftButton);
            picker.close();
        };
        click(*window_, "Text2");
    }
    void save(const QString& text)
    {
        in<QLineEdit>(*window_, "Text1")->setText(text);
        click(*window_, "xpcmdbutton1");
    }
    QByteArray settings() const { return readBytes(folder.settingsPath()); }

    QTemporaryDir dir;
    ProgramFolder folder{dir.path()};
    std::optional<QColor> chosen;
    QStringList told;
    std::function<void(QDialog&)> onModal = [](QDialog&) {};
    std::unique_ptr<SettingsWindow> window_;
};

} // namespace

TEST(SettingsWindowPlace, HalfTheRoomInWholeTwips)
{
    EXPECT_EQ(SettingsWindow::loadPlace({0, 0, 1920, 1080}), QPoint(803, 353));
    // The second screen, whose height leaves an odd number of twips: the last one is lost.
    EXPECT_EQ(SettingsWindow::loadPlace({1920, 0, 1366, 769}), QPoint(1920 + 526, 197));
}

TEST_F(SettingsWindowTest, ColourChoiceRefusesPureRedOnly)
{
    open();
    click(*window_, "xpcmdbutton4"); // cancelled: the sample keeps the stored colour
    EXPECT_EQ(window_->sampleColour(), settings::DefaultCalendarColour);
    chosen = QColor(255, 0, 0);
    click(*window_, "xpcmdbutton4");
    EXPECT_EQ(told, QStringList{"请选择其他色！|和当天日期颜色冲突，不能选择红色，OK！"});
    EXPECT_EQ(window_->sampleColour(), settings::DefaultCalendarColour);
    EXPECT_EQ(settings(), "(missing)"); // only ok stores
    chosen = QColor(254, 0, 0);
    click(*window_, "xpcmdbutton4");
    EXPECT_EQ(window_->sampleColour(), 254);
    EXPECT_EQ(in<QLabel>(*window_, "picsample")->palette().color(QPalette::Window),
              QColor(254, 0, 0));
    click(*window_, "ok");
    EXPECT_EQ(readSetting(folder.profile(), settings::CalendarColour), "254");
    EXPECT_EQ(told.last(), "提示|颜色已更新！");
    EXPECT_EQ(window_->result(), QDialog::Accepted);
}

TEST_F(SettingsWindowTest, OkStoresWhatTheSampleShowsAndDefaultRestores)
{
    // Untouched, the sample shows the stored colour and ok keeps it: a system colour stays
    // one, what cannot be read is the default colour.
    for (const auto& [stored, kept] :
         {std::pair("-2147483643", "-2147483643"), std::pair("blue", "16771047")}) {
        writeSetting(folder.profile(), settings::CalendarColour, stored);
        open();
        EXPECT_EQ(in<QLabel>(*window_, "picsample")->palette().color(QPalette::Window),
                  shownColour(calendarColour(folder.profile())));
        click(*window_, "ok");
        EXPECT_EQ(readSetting(folder.profile(), settings::CalendarColour), kept);
    }
    open();
    chosen = QColor(10, 20, 30);
    click(*window_, "xpcmdbutton4");
    click(*window_, "xpcmdbutton2");
    EXPECT_EQ(readSetting(folder.profile(), settings::CalendarColour), "16771047");
    EXPECT_EQ(told.last(), "提示|已恢复默认颜色！");
    EXPECT_EQ(window_->sampleColour(), 10 + 20 * 256 + 30 * 65536);
    EXPECT_FALSE(window_->isVisible());
}

TEST_F(SettingsWindowTest, FailedWritesAreToldAndKeepTheWindowAndTheText)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir("kel.ini")); // a folder where the file should be
    open();
    click(*window_, "ok");
    pick(14);
    save(QStringLiteral("生日"));
    ASSERT_EQ(told.size(), 2);
    for (const QString& message : told)
        EXPECT_TRUE(message.startsWith("提示|Could not")) << message.toStdString();
    EXPECT_TRUE(window_->isVisible());
    EXPECT_EQ(in<QLineEdit>(*window_, "Text1")->text(), "生日");
    // A tick that cannot be stored is told and shows the stored one again.
    for (const char* name : {"everyScreen", "holidayMarks", "sundayFirst"}) {
        SCOPED_TRACE(name);
        auto* box = in<QCheckBox>(*window_, name);
        const bool stored = box->isChecked();
        told.clear();
        box->click();
        EXPECT_EQ(told.size(), 1);
        EXPECT_EQ(box->isChecked(), stored);
    }
    // In Chinese under a Chinese translation, the reason included: no Latin letter but the path.
    ASSERT_TRUE(
        installTranslations(*QCoreApplication::instance(), QLocale(QStringLiteral("zh_CN"))));
    told.clear();
    click(*window_, "ok");
    save(QStringLiteral("生日"));
    for (QObject* child : QCoreApplication::instance()->children())
        if (auto* translator = qobject_cast<QTranslator*>(child))
            QCoreApplication::removeTranslator(translator);
    ASSERT_EQ(told.size(), 2);
    for (QString message : told) {
        SCOPED_TRACE(message.toStdString());
        EXPECT_FALSE(message.remove(folder.settingsPath())
                         .contains(QRegularExpression(QStringLiteral("[A-Za-z]"))));
    }
}

TEST_F(SettingsWindowTest, SaveNeedsADateAndStoresAFreeDay)
{
    open();
    save(QStringLiteral("生日"));
    EXPECT_EQ(told, QStringList{"提示|请先选择日期"});
    EXPECT_EQ(settings(), "(missing)");

    pick(7);
    EXPECT_EQ(in<QLineEdit>(*window_, "Text2")->text(), "2026-03-7");
    save(QStringLiteral("生日"));
    EXPECT_EQ(told.last(), "提示|已更新！");
    EXPECT_TRUE(settings().contains("\r\n03-07=\xc9\xfa\xc8\xd5\r\n")); // GBK
    EXPECT_EQ(window_->result(), QDialog::Accepted);
}

TEST_F(SettingsWindowTest, AStoredTextIsReplacedOnlyThroughTheConfirmation)
{
    ASSERT_TRUE(writeBytes(folder.settingsPath(), "[MyApp4]\r\n03-07=abc\r\n"));
    open();
    pick(7);
    QString box;
    onModal = [&](QDialog& form4) {
        box = in<QLabel>(form4, "Label2")->text() + u'|' + in<QLineEdit>(form4, "Text1")->text();
        click(form4, "xpcmdbutton1"); // 放 弃
    };
    save(QStringLiteral("生日"));
    EXPECT_EQ(box, "选择的日期:03月07日|生日   abc"); // Latin letters count as a text
    EXPECT_EQ(std::pair(window_->str2, window_->str),
              std::pair(QString("03-07"), box.section(u'|', 1)));
    EXPECT_EQ(settings(), "[MyApp4]\r\n03-07=abc\r\n") << told.join(";").toStdString();
    EXPECT_TRUE(window_->isVisible());

    onModal = [&](QDialog& form4) {
        in<QLineEdit>(form4, "Text1")->setText(QStringLiteral("生日 abc"));
        click(form4, "xpcmdbutton2"); // 确认替换
    };
    save(QStringLiteral("生日"));
    EXPECT_EQ(settings(), "[MyApp4]\r\n03-07=\xc9\xfa\xc8\xd5 abc\r\n");
    EXPECT_EQ(told.last(), " |已更新！");
    EXPECT_TRUE(window_->isVisible());

    onModal = [&](QDialog& form4) {
        in<QLineEdit>(form4, "Text1")->clear();
        click(form4, "xpcmdbutton2");
    };
    save({});
    EXPECT_EQ(customText(folder.profile(), 3, 7), std::nullopt); // an emptied box removes it
}

// A text another writer stores while the save waits for the lock is found, not overwritten.
TEST_F(SettingsWindowTest, ATextStoredMeanwhileIsAskedAboutNotOverwritten)
{
    ASSERT_TRUE(writeBytes(folder.settingsPath(), "[MyApp4]\r\n"));
    open();
    pick(7);
    std::promise<void> holding;
    std::thread other([&] {
        ProfileFile file(folder.settingsPath());
        const ProfileFile::Hold held = file.hold();
        holding.set_value();
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        file.write("MyApp4", "03-07", "abc");
    });
    holding.get_future().wait();
    bool asked = false;
    onModal = [&](QDialog& form4) {
        asked = true;
        click(form4, "xpcmdbutton1"); // 放 弃
    };
    save(QStringLiteral("生日"));
    other.join();
    EXPECT_TRUE(asked);
    EXPECT_EQ(settings(), "[MyApp4]\r\n03-07=abc\r\n");
}

TEST_F(SettingsWindowTest, TextPromptsArePlaceholdersAndIconLabelsAreTold)
{
    open();
    auto* text1 = in<QLineEdit>(*window_, "Text1");
    EXPECT_EQ(std::pair(text1->text(), text1->placeholderText()),
              std::pair(QString(), QString("这里输入自定义节日内容")));
    QTest::keyClicks(text1, "lunch");
    QTest::mouseClick(text1, Qt::LeftButton);
    EXPECT_EQ(text1->text(), "lunch");
    click(*window_, "xpcmdbutton3");
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].startsWith("提示|")) << told[0].toStdString();
}

// The picker's cells carry the 休 of April 2026's 清明节; the box turns the marks off there and
// in kel.ini, where the wallpaper reads them.
TEST_F(SettingsWindowTest, HolidayMarksBoxTurnsThePickersMarksOff)
{
    const auto marksOfApril = [this] {
        QStringList marked;
        onModal = [&marked](QDialog& picker) {
            picker.findChild<QScrollBar*>("HScroll1")->setValue(1); // April
            for (int i = 0; i < MonthGrid::kCells; ++i) {
                const auto* mark = picker.findChild<QLabel*>(QStringLiteral("mark_%1").arg(i));
                if (mark->isVisible())
                    marked << mark->parentWidget()->accessibleName();
            }
            picker.close();
        };
        click(*window_, "Text2");
        return marked;
    };
    open();
    auto* box = in<QCheckBox>(*window_, "holidayMarks");
    ASSERT_TRUE(box->isChecked());
    EXPECT_EQ(marksOfApril(),
              QStringList({"4 十七 休 清明节", "5 清明 休 清明节", "6 十九 休 清明节"}));
    box->click();
    EXPECT_EQ(readSetting(folder.profile(), settings::HolidayMarks), "0");
    EXPECT_EQ(marksOfApril(), QStringList());
    box->click();
    EXPECT_EQ(readSetting(folder.profile(), settings::HolidayMarks), "1");
}

// A text for the picked day's lunar month and day: both dates shown, stored in its own section
// beside the day's month-day text, replaced only through the confirmation.
TEST_F(SettingsWindowTest, ALunarTextIsStoredAndReplacedBesideTheMonthDayText)
{
    ASSERT_TRUE(writeBytes(folder.settingsPath(), "[MyApp4]\r\n03-07=abc\r\n"));
    const auto saveLunar = [this](const QString& text, std::function<void(QDialog&)> box = {}) {
        open();
        pick(7); // 2026-03-07, 正月十九
        EXPECT_EQ(in<QRadioButton>(*window_, "gregorianDay")->text(), "每年公历3月7日");
        EXPECT_EQ(in<QRadioButton>(*window_, "lunarDay")->text(), "每年农历一月十九");
        click(*window_, "lunarDay");
        if (box)
            onModal = box;
        save(text);
    };
    saveLunar(QStringLiteral("生日"));
    EXPECT_EQ(told, QStringList{"提示|已更新！"});
    EXPECT_EQ(settings(), "[MyApp4]\r\n03-07=abc\r\n[DeskleafLunar]\r\n01-19=\xc9\xfa\xc8\xd5\r\n");

    QString box;
    saveLunar(QStringLiteral("别的"), [&](QDialog& form4) {
        box = in<QLabel>(form4, "Label2")->text() + u'|' + in<QLineEdit>(form4, "Text1")->text();
        in<QLineEdit>(form4, "Text1")->setText("xyz");
        click(form4, "xpcmdbutton2"); // 确认替换
    });
    EXPECT_EQ(box, "选择的日期:农历一月十九|别的   生日");
    EXPECT_EQ(lunarCustomText(folder.profile(), 1, 19), "xyz");
    EXPECT_EQ(customText(folder.profile(), 3, 7), "abc");
}

// Sunday first from the box: the picker's headers start with 周日 and a click still picks the
// day clicked. Today's line there carries today's lunar reminder (2026-03-18 is 正月三十).
TEST_F(SettingsWindowTest, SundayFirstBoxTurnsThePickersWeek)
{
    ASSERT_TRUE(writeBytes(folder.settingsPath(), "[MyApp4]\r\n"));
    writeLunarCustomText(folder.profile(), 1, 30, "lunar");
    open();
    auto* box = in<QCheckBox>(*window_, "sundayFirst");
    ASSERT_FALSE(box->isChecked());
    box->click();
    EXPECT_EQ(readSetting(folder.profile(), settings::WeekStart), "sunday");
    QStringList headers;
    pick(7);
    EXPECT_EQ(in<QLineEdit>(*window_, "Text2")->text(), "2026-03-7");
    onModal = [&headers](QDialog& picker) {
        for (int i = 0; i < 7; ++i)
            headers << picker.findChild<QLabel*>(QStringLiteral("Label1_%1").arg(i))->text();
        headers << picker.findChild<QLabel*>("Label6")->text();
        picker.close();
    };
    click(*window_, "Text2");
    EXPECT_EQ(headers, QStringList({"周日", "周一", "周二", "周三", "周四", "周五", "周六",
                                    "今天是:lunar"}));
    box->click();
    EXPECT_EQ(readSetting(folder.profile(), settings::WeekStart), "monday");
}

// The picker opens from the date field with Enter, Space or Alt+Down, marking the day the
// field holds; the list below shows the stored texts of that day's month (today's before a
// pick), month-day and lunar ones on the days they fall, again after a replacement.
TEST_F(SettingsWindowTest, TheKeyboardOpensThePickerAndTheMonthsTextsAreListed)
{
    ASSERT_TRUE(writeBytes(folder.settingsPath(),
                           "[MyApp4]\r\n03-07=abc\r\n04-02=def\r\n02-29=leap\r\n"
                           "[DeskleafLunar]\r\n01-19=xyz\r\n01-30=end\r\n"));
    open();
    const auto listed = [this] {
        QStringList lines{in<QLabel>(*window_, "Label6")->text()};
        const auto* list = in<QListWidget>(*window_, "monthTexts");
        for (int i = 0; i < list->count(); ++i)
            lines << list->item(i)->text();
        return lines;
    };
    EXPECT_EQ(listed(), QStringList({"2026年3月已存的节日和提示：", "03-07 abc",
                                     "03-07 一月十九 xyz", "03-18 一月三十 end"}));
    pick(7);
    QList<QDate> marked;
    onModal = [&](QDialog& dialog) {
        auto& picker = static_cast<Calendar&>(dialog);
        marked << picker.picked();
        picker.findChild<QScrollBar*>("HScroll1")->setValue(1); // April
        QTest::keyClick(picker.focusWidget(), Qt::Key_Return);  // on the focused day
    };
    auto* date = in<QLineEdit>(*window_, "Text2");
    date->setFocus();
    for (const auto& [key, modifiers] : {std::pair(Qt::Key_Return, Qt::NoModifier),
                                         {Qt::Key_Space, Qt::NoModifier},
                                         {Qt::Key_Down, Qt::AltModifier}})
        QTest::keyClick(date, key, modifiers);
    QTest::keyClick(date, Qt::Key_Down); // without Alt: nothing
    // The focus starts on the picked day in today's month, else on today (the 18th).
    EXPECT_EQ(marked, QList<QDate>({{2026, 3, 7}, {2026, 4, 7}, {2026, 4, 18}}));
    EXPECT_EQ(date->text(), "2026-04-18");
    EXPECT_EQ(listed(), QStringList({"2026年4月已存的节日和提示：", "04-02 def"}));

    pick(2);
    save("new");
    onModal = [&](QDialog& form4) { click(form4, "xpcmdbutton2"); }; // 确认替换
    save("newer");
    EXPECT_EQ(listed(), QStringList({"2026年3月已存的节日和提示：", "03-02 newer   new",
                                     "03-07 abc", "03-07 一月十九 xyz", "03-18 一月三十 end"}));
}
