#include "windows/main_window.h"

#include "controls/CustomPanel.h"
#include "controls/focus_ring.h"
#include "controls/minimise_together.h"
#include "controls/property_bag.h"
#include "controls/song_font.h"
#include "controls/title_drag.h"
#include "controls/twips.h"
#include "controls/window_buttons.h"
#include "controls/xpcmdbutton.h"
#include "controls/xptopbuttons.h"
#include "model/picture_import.h"
#include "windows/help_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QImageReader>
#include <QLabel>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QPixmap>
#include <QStandardPaths>
#include <QTreeView>

namespace deskleaf {
namespace {

Q_LOGGING_CATEGORY(lcStartup, "deskleaf.startup", QtWarningMsg)

QLabel* label(QWidget* parent, const char* name, const QString& text, QRect place)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setFont(songFont(9));
    l->setGeometry(place);
    return l;
}

} // namespace

MainWindow::MainWindow(MainWindowServices services, bool autoRunTicked, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), services_(std::move(services)),
      CustomPanel1_(new CustomPanel(this))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("DeskleafV4.0"));
    setFixedSize(px(11175), px(7575));
    new MinimiseTogether(this); // the help and settings windows go down with this one
    new FocusRing(this);

    CustomPanel1_->setObjectName(QStringLiteral("CustomPanel1"));
    PropertyBag panel;
    panel.WriteProperty(QStringLiteral("Font"), QVariant::fromValue(songFont(9)));
    panel.WriteProperty(QStringLiteral("Caption"), QStringLiteral("DeskleafV4.0"));
    panel.WriteProperty(QStringLiteral("DownTitleGradientEnd"), 16569503);
    panel.WriteProperty(QStringLiteral("DisabledBGGradientStart"), 13160660);
    panel.WriteProperty(QStringLiteral("DisabledBGGradientEnd"), 13160660);
    CustomPanel1_->ReadProperties(panel);
    CustomPanel1_->setGeometry(twipsRect(0, 0, 11175, 7575));
    CustomPanel1_->setAccessibleName(CustomPanel1_->Caption());
    CustomPanel1_->installEventFilter(this);
    new TitleBandDrag(CustomPanel1_, CustomPanel1_->TitleHeight());

    Image1_ = label(CustomPanel1_, "Image1", {}, twipsRect(0, 960, 11175, 6615));
    Image1_->setAlignment(Qt::AlignCenter);
    Image1_->setAccessibleName(QStringLiteral("预览"));

    xpcmdbutton1_ = commandButton("xpcmdbutton1", QStringLiteral("打开图片"), {240, 480});
    xpcmdbutton3_ = commandButton("xpcmdbutton3", QStringLiteral("替换墙纸"), {1440, 480});
    xpcmdbutton4_ = commandButton("xpcmdbutton4", QStringLiteral("去除墙纸"), {2640, 480});
    xpcmdbutton5_ = commandButton("xpcmdbutton5", QStringLiteral("设  置"), {3840, 480});
    xpcmdbutton7_ = commandButton("xpcmdbutton7", QStringLiteral("帮  助"), {5040, 480});
    // The preview command runs from code only: after an import, at the logon start.
    xpcmdbutton2_ = commandButton("xpcmdbutton2", QStringLiteral("预  览"), {3840, 1200});
    xpcmdbutton2_->hide();

    Label55_ = label(CustomPanel1_, "Label55", QStringLiteral("自动运行："),
                     twipsRect(6240, 600, 960, 240));
    Check1_ = new QCheckBox(CustomPanel1_);
    Check1_->setObjectName(QStringLiteral("Check1"));
    Check1_->move(px(7200), px(550));
    Check1_->resize(Check1_->sizeHint());
    Check1_->setAccessibleName(QStringLiteral("自动运行"));
    Check1_->setChecked(autoRunTicked);
    Label55_->setBuddy(Check1_);
    // Two lines between the commands' row and the preview.
    Label7_ = label(CustomPanel1_, "Label7", {}, twipsRect(9000, 480, 2100, 480));
    Label7_->setWordWrap(true);

    // Said without a prompt, which would stop the window's commands and the logon start.
    holidayNotice_ = label(CustomPanel1_, "holidayNotice", {}, twipsRect(120, 6840, 10935, 615));
    holidayNotice_->setWordWrap(true);
    holidayNotice_->setStyleSheet(
        QStringLiteral("color: white; background: rgba(0, 0, 0, 160); padding: 2px;"));
    holidayNotice_->hide();

    xptopbuttons2_ = new xptopbuttons(CustomPanel1_);
    xptopbuttons2_->setObjectName(QStringLiteral("xptopbuttons2"));
    xptopbuttons2_->setValue(xptopbuttons::Minimise);
    xptopbuttons2_->move(px(10440), 0);
    xptopbuttons2_->setAccessibleName(QStringLiteral("最小化"));
    xptopbuttons1_ = new xptopbuttons(CustomPanel1_);
    xptopbuttons1_->setObjectName(QStringLiteral("xptopbuttons1"));
    xptopbuttons1_->setValue(xptopbuttons::Close);
    xptopbuttons1_->move(px(10800), 0);
    xptopbuttons1_->setAccessibleName(QStringLiteral("关闭"));

    setTabOrder(xpcmdbutton1_, xpcmdbutton3_);
    setTabOrder(xpcmdbutton3_, xpcmdbutton4_);
    setTabOrder(xpcmdbutton4_, xpcmdbutton5_);
    setTabOrder(xpcmdbutton5_, xpcmdbutton7_);
    setTabOrder(xpcmdbutton7_, Check1_);

    connect(xpcmdbutton1_, &xpcmdbutton::Click, this, &MainWindow::ImportBackgroundPicture);
    connect(xpcmdbutton3_, &xpcmdbutton::Click, this, &MainWindow::ApplyWallpaper);
    connect(xpcmdbutton4_, &xpcmdbutton::Click, this, &MainWindow::RemoveWallpaper);
    connect(xpcmdbutton5_, &xpcmdbutton::Click, this, &MainWindow::openSettings);
    xpcmdbutton5_->setEnabled(bool(services_.openSettings));
    connect(xpcmdbutton7_, &xpcmdbutton::Click, this, &MainWindow::showHelp);
    connect(xpcmdbutton2_, &xpcmdbutton::Click, this,
            [this] { attempt([this] { renderWallpaper(services_.folder, grid_, target()); }); });
    connect(Check1_, &QCheckBox::clicked, this, &MainWindow::autoRunClicked);
    connect(xptopbuttons1_, &xptopbuttons::Click, this, &QWidget::close);
    connect(xptopbuttons2_, &xptopbuttons::Click, this, &QWidget::showMinimized);
    connect(CustomPanel1_, &CustomPanel::MouseEnters, this, &MainWindow::refreshGrid);

    refreshGrid();
    showPreview();
    // A wallpaper composed on another day is composed again when the window comes up.
    shownDay_ = QFileInfo(services_.folder.wallpaperPath()).lastModified().date();
    // The size the stored background was made for, until the next import.
    if (const auto stored = storedPicture(services_.folder))
        Label7_->setText(resolutionCaption(*stored));
}

xpcmdbutton* MainWindow::commandButton(const char* name, const QString& caption, QPoint twips)
{
    return deskleaf::commandButton(CustomPanel1_, name, caption, songFont(9),
                                   twipsRect(twips.x(), twips.y(), 1095, 375));
}

bool MainWindow::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate) {
        refreshGrid();
        renewForToday();
        tellMissingHolidays();
    }
    return QWidget::event(event);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == CustomPanel1_ && event->type() == QEvent::Paint && !painted_) {
        painted_ = true;
        qCInfo(lcStartup, "first paint at %lld ms since the epoch",
               QDateTime::currentMSecsSinceEpoch());
    }
    return false;
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // Closing the main window, however it is asked for, ends the program at once.
    event->accept();
    QCoreApplication::exit(0);
}

void MainWindow::refreshGrid()
{
    fillForToday(grid_, services_.folder, services_.today());
}

ComposeTarget MainWindow::target()
{
    ComposeTarget target = currentTarget(services_.folder, services_.desktop);
    if (target.screens.isEmpty())
        target.screens = ComposeTarget::single(services_.screenSize(this)).screens;
    return target;
}

void MainWindow::tellMissingHolidays()
{
    // Once a day: looked at again on a new day, when the year missing may have changed.
    if (noticeDay_ == grid_.today())
        return;
    noticeDay_ = grid_.today();
    const QString notice = missingHolidaysNotice(services_.folder, noticeDay_);
    holidayNotice_->setText(notice);
    holidayNotice_->setVisible(!notice.isEmpty());
}

void MainWindow::renewForToday()
{
    // The day the grid was just filled for: a second look at the clock could fall after
    // midnight and print one day's grid as another's.
    const QDate today = grid_.today();
    if (shownDay_ == today || !storedPicture(services_.folder))
        return;
    shownDay_ = today;
    attempt([this] { renderWallpaper(services_.folder, grid_, target()); });
    showPreview();
}

void MainWindow::showPreview()
{
    QImageReader reader(services_.folder.wallpaperPath());
    const QSize size = reader.size();
    if (!size.isValid()) {
        Image1_->clear();
        return;
    }
    reader.setScaledSize(size.scaled(Image1_->size() * devicePixelRatio(), Qt::KeepAspectRatio));
    QPixmap preview = QPixmap::fromImage(reader.read());
    preview.setDevicePixelRatio(devicePixelRatio());
    Image1_->setPixmap(preview);
}

void MainWindow::openSettings()
{
    if (!services_.openSettings)
        return;
    services_.openSettings(this);
    // A new colour or text shows on the next wallpaper: compose it now, so that the preview
    // and "替换墙纸" show what the settings now say.
    if (!storedPicture(services_.folder))
        return;
    refreshGrid();
    attempt([this] { renderWallpaper(services_.folder, grid_, target()); });
    showPreview();
}

void MainWindow::showHelp()
{
    auto* help = new HelpWindow(services_.folder.path(), this);
    help->setAttribute(Qt::WA_DeleteOnClose);
    help->open();
}

void MainWindow::attempt(const std::function<void()>& command)
{
    try {
        command();
    } catch (const std::exception& e) {
        services_.tell(this, QString::fromUtf8(e.what()));
    }
}

void MainWindow::ImportBackgroundPicture()
{
    const QString picture = services_.choosePicture(this);
    if (picture.isEmpty())
        return; // cancelled
    refreshGrid();
    try {
        const ComposedWallpaper composed =
            importPicture(services_.folder, picture, target(), grid_);
        Label7_->setText(resolutionCaption(composed));
        shownDay_ = grid_.today();
        showPreview();
    } catch (const ImportNotUndone& e) {
        services_.tell(this, QString::fromUtf8(e.what())); // says itself what was not put back
    } catch (const std::exception& e) {
        services_.tell(this,
                       QString::fromUtf8(e.what()) +
                           QCoreApplication::translate(
                               "MainWindow", "\nThe wallpaper and the settings are unchanged."));
    }
}

void MainWindow::ApplyWallpaper()
{
    refreshGrid();
    attempt([this] {
        applyWallpaper(services_.folder, services_.desktop.wallpaper, target(), grid_.today());
        shownDay_ = grid_.today();
    });
    showPreview();
}

void MainWindow::RemoveWallpaper()
{
    attempt([this] { removeWallpaper(services_.desktop.wallpaper); });
}

void MainWindow::autoRunClicked(bool on)
{
    attempt([&] {
        const AutoRunResult result = setAutoRun(services_.folder, services_.desktop, on);
        if (!result.notice.isEmpty())
            services_.tell(this, result.notice);
    });
}

QString MainWindow::askForPicture(QWidget* parent)
{
    QStringList patterns;
    for (const QByteArray& format : pictureFormats())
        patterns << QStringLiteral("*.") + QString::fromLatin1(format)
                 << QStringLiteral("*.") + QString::fromLatin1(format.toUpper());
    const QString filter = QStringLiteral("图片 (%1);;所有文件 (*)").arg(patterns.join(u' '));
    QFileDialog dialog(parent, QStringLiteral("打开图片"),
                       QStandardPaths::writableLocation(QStandardPaths::PicturesLocation), filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // Qt's own dialog (where the desktop lends none): wide enough that no column is cut, the
    // name column taking what the others leave.
    if (auto* details = dialog.findChild<QTreeView*>()) {
        QHeaderView* header = details->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(QHeaderView::ResizeToContents);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
        dialog.resize(std::max(dialog.width(), 760), std::max(dialog.height(), 460));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

void MainWindow::showMessage(QWidget* parent, const QString& text)
{
    QMessageBox::information(parent, QStringLiteral("提示"), text);
}

} // namespace deskleaf
