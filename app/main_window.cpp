#include "main_window.h"

#include "picture_import.h"
#include "settings.h"
#include "startup.h"

#include <QCheckBox>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace deskleaf {

MainWindow::MainWindow(MainWindowServices services, bool autoRunTicked, QWidget* parent)
    : QWidget(parent), services_(std::move(services)),
      xpcmdbutton1_(new QPushButton(QStringLiteral("打开图片"), this)),
      xpcmdbutton3_(new QPushButton(QStringLiteral("替换墙纸"), this)),
      xpcmdbutton4_(new QPushButton(QStringLiteral("去除墙纸"), this)),
      Check1_(new QCheckBox(QStringLiteral("自动运行："), this)), Label7_(new QLabel(this)),
      Image1_(new QLabel(this))
{
    setWindowTitle(QStringLiteral("DeskleafV4.0"));
    xpcmdbutton1_->setObjectName(QStringLiteral("xpcmdbutton1"));
    xpcmdbutton3_->setObjectName(QStringLiteral("xpcmdbutton3"));
    xpcmdbutton4_->setObjectName(QStringLiteral("xpcmdbutton4"));
    Check1_->setObjectName(QStringLiteral("Check1"));
    Label7_->setObjectName(QStringLiteral("Label7"));
    Image1_->setObjectName(QStringLiteral("Image1"));
    Check1_->setLayoutDirection(Qt::RightToLeft); // the caption stands before the box
    Check1_->setChecked(autoRunTicked);
    Image1_->setMinimumSize(745, 441);
    Image1_->setAlignment(Qt::AlignCenter);

    auto* commands = new QHBoxLayout;
    for (QWidget* w : {static_cast<QWidget*>(xpcmdbutton1_), static_cast<QWidget*>(xpcmdbutton3_),
                       static_cast<QWidget*>(xpcmdbutton4_), static_cast<QWidget*>(Check1_)})
        commands->addWidget(w);
    commands->addStretch();
    commands->addWidget(Label7_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(commands);
    layout->addWidget(Image1_, 1);

    connect(xpcmdbutton1_, &QPushButton::clicked, this, &MainWindow::ImportBackgroundPicture);
    connect(xpcmdbutton3_, &QPushButton::clicked, this, &MainWindow::ApplyWallpaper);
    connect(xpcmdbutton4_, &QPushButton::clicked, this, &MainWindow::RemoveWallpaper);
    connect(Check1_, &QCheckBox::clicked, this, &MainWindow::autoRunClicked);
    refreshGrid();
    showPreview();
    // The size the stored background was made for, until the next import.
    const QSize stored =
        QImageReader(QDir(services_.folder).filePath(QStringLiteral("kel.bmp"))).size();
    if (stored.isValid())
        Label7_->setText(resolutionCaption({QString::number(stored.width()), stored}));
}

bool MainWindow::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        refreshGrid();
    return QWidget::event(event);
}

void MainWindow::refreshGrid()
{
    const QDate today = services_.today();
    grid_.fill(today, today,
               [this](int month, int day) { return customText(services_.profile, month, day); });
}

void MainWindow::showPreview()
{
    const QPixmap preview(QDir(services_.folder).filePath(QStringLiteral("zm.bmp")));
    if (preview.isNull())
        Image1_->clear();
    else
        Image1_->setPixmap(
            preview.scaled(Image1_->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void MainWindow::ImportBackgroundPicture()
{
    const QString picture = services_.choosePicture(this);
    if (picture.isEmpty())
        return; // cancelled
    refreshGrid();
    try {
        const ImportedPicture imported =
            composeBackgroundPicture(picture, services_.screenSize(), services_.folder, picBuffer_,
                                     grid_, services_.today());
        Label7_->setText(resolutionCaption(imported));
        showPreview();
    } catch (const std::exception& e) {
        services_.tell(this, QString::fromUtf8(e.what()) +
                                 QStringLiteral("\nThe wallpaper and the settings are unchanged."));
    }
}

void MainWindow::ApplyWallpaper()
{
    const QString zm = QDir(services_.folder).filePath(QStringLiteral("zm.bmp"));
    if (!QFileInfo::exists(zm)) {
        services_.tell(this,
                       QStringLiteral("There is no calendar wallpaper yet: open a picture first."));
        return;
    }
    try {
        services_.wallpaper.apply(zm);
    } catch (const std::exception& e) {
        services_.tell(this, QString::fromUtf8(e.what()));
    }
}

void MainWindow::RemoveWallpaper()
{
    try {
        services_.wallpaper.remove();
    } catch (const std::exception& e) {
        services_.tell(this, QString::fromUtf8(e.what()));
    }
}

void MainWindow::autoRunClicked(bool on)
{
    const StartupServices startup{services_.profile,   services_.folder, services_.today(),
                                  services_.wallpaper, services_.logon,  services_.executable};
    try {
        setAutoRun(startup, on);
    } catch (const std::exception& e) {
        services_.tell(this, QString::fromUtf8(e.what()));
    }
}

QString MainWindow::askForPicture(QWidget* parent)
{
    return QFileDialog::getOpenFileName(parent, QStringLiteral("打开图片"), QString(),
                                        QStringLiteral("All File(*.*) (*)"));
}

void MainWindow::showMessage(QWidget* parent, const QString& text)
{
    QMessageBox::information(parent, QStringLiteral("提示"), text);
}

} // namespace deskleaf
