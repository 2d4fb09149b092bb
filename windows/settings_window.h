// The settings window Form3, modal over the main window. Its upper half picks the calendar's
// colour in a colour dialog and stores it, or stores the default colour, and asks the desktop
// to draw its icon labels without a background; its lower half stores a festival or reminder
// text for a month and day of every year, or for the picked day's lunar month and day of every
// lunar year, the day picked in the date picker, and asks before replacing a stored text; below,
// how the picture fills each monitor and whether every monitor shows the calendar, stored as soon
// as they change; at the bottom, the texts stored for the picked day's month (today's before a
// pick). A write that fails is told and leaves the window open with what the user typed. The
// colour sample starts in the stored colour, so ok without a choice keeps it. The date field
// opens the picker from the keyboard too: Enter, Space or Alt+Down.
#pragma once

#include "model/jobs.h"
#include "model/program_folder.h"
#include "platform/icon_labels.h"
#include "windows/replace_box.h"

#include <QColor>
#include <QDialog>
#include <QPoint>
#include <QRect>
#include <QString>

#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QEvent;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;

namespace deskleaf {

class XPContainer;
class xpcmdbutton;
class xptopbuttons;

// What the window asks of the user and of the system; tests replace them.
struct SettingsServices {
    ProgramFolder& folder;
    Clock today;
    std::function<std::optional<QColor>(QWidget*)> chooseColour; // nothing when cancelled
    Tell tell;
    std::function<void(QDialog&)> runModal; // returns when the window has closed
    std::function<IconLabels()> clearIconLabels;
};

class SettingsWindow : public QDialog {
    Q_OBJECT
public:
    static constexpr int kWidthTwips = 4695;
    static constexpr int kHeightTwips = 5610;

    SettingsWindow(SettingsServices services, QWidget* owner);

    // Where the window opens on a screen (pixels): half the room either side, in whole twips.
    static QPoint loadPlace(const QRect& screen);

    // The colour as the renderer reads it: 0x00BBGGRR, or a system colour.
    qint32 sampleColour() const { return sampleColour_; }

    // Read by the confirmation box: the proposed text (new, three blanks, old) and the key.
    QString str;
    QString str2;

    // The real prompts.
    static std::optional<QColor> askForColour(QWidget* parent);
    static void showMessage(QWidget* parent, const QString& title, const QString& text);
    static void execute(QDialog& dialog);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* label(const char* name, const QString& text, QRect place);
    void chooseColour();
    void setSample(qint32 colour);
    // Stores text5; false, after telling why, when it could not.
    bool storeColour(qint32 colour);
    void clearIconLabels();
    void pickDate();
    void saveFestival();
    void storeFit(int index);
    // Stores box's tick as soon as it is clicked; a refused store says why and shows the
    // stored tick again.
    void storeOnClick(QCheckBox* box, std::function<void(bool)> store,
                      std::function<bool()> stored);
    // The two dates the picked day's text can belong to, in the radio buttons' captions.
    void showDayKinds(std::optional<QDate> day);
    // The stored texts of the month of the picked day, else of today's.
    void showMonthTexts();
    void tell(const QString& text) const;

    SettingsServices services_;
    qint32 sampleColour_;
    XPContainer* XPContainer1_;
    xptopbuttons* xptopbuttons1_;
    xptopbuttons* xptopbuttons2_;
    QLabel* Label1_;
    xpcmdbutton* xpcmdbutton4_;
    QLabel* Label2_;
    QLabel* picsample_;
    xpcmdbutton* ok_;
    QLabel* Label4_;
    xpcmdbutton* xpcmdbutton2_;
    QLabel* Label3_;
    QLineEdit* Text2_;
    QLineEdit* Text1_;
    QRadioButton* gregorianDay_;
    QRadioButton* lunarDay_;
    xpcmdbutton* xpcmdbutton1_;
    xpcmdbutton* xpcmdbutton3_;
    QLabel* Label5_;
    QComboBox* fit_;
    QCheckBox* everyScreen_;
    QCheckBox* holidayMarks_;
    QCheckBox* sundayFirst_;
    QLabel* Label6_;
    QListWidget* monthTexts_;
};

} // namespace deskleaf
