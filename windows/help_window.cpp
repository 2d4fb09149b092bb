#include "windows/help_window.h"

#include "controls/XPContainer.h"
#include "controls/minimise_together.h"
#include "controls/song_font.h"
#include "controls/window_buttons.h"
#include "controls/xptopbuttons.h"
#include "model/festival_count.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QStringList>

namespace deskleaf {

namespace {

constexpr int kTextLeft = 12;
constexpr int kTextTop = XPContainer::kHeaderBottom + 8;

} // namespace

HelpPlatform thisCopy(const QString& folder)
{
#ifdef Q_OS_WIN
    Q_UNUSED(folder);
    return HelpPlatform::Windows;
#else
    return QDir(folder) == QDir(QCoreApplication::applicationDirPath())
               ? HelpPlatform::LinuxUnpacked
               : HelpPlatform::Linux;
#endif
}

QString helpText(const QString& folder, HelpPlatform platform)
{
    const bool onLinux = platform != HelpPlatform::Windows;
    const bool unpacked = platform == HelpPlatform::LinuxUnpacked;
    QString shownFolder = folder;
    const QString home = QDir::homePath() + QLatin1Char('/');
    if (onLinux && folder.startsWith(home))
        shownFolder = QStringLiteral("~/") + folder.mid(home.size());
    if (!onLinux)
        shownFolder.replace(u'/', u'\\');

    QStringList lines{
        QStringLiteral("Deskleaf V") + QStringLiteral(DESKLEAF_VERSION_SHORT),
        QStringLiteral("语言：简体中文"),
        QString(),
        QStringLiteral(
            "显示农历、二十四节气和%1个中外节日、纪念日，标出放假日“休”和调休上班日“班”。")
            .arg(festivalCount()),
        QStringLiteral("日历每周从星期一排到星期日；设置里勾选“周日在前”则从星期日排到星期六。"),
        QStringLiteral(
            "可以为任何一天设定节日或提示内容，也可以设定在它的农历日子上，每年农历这天"
            "显示：只在该月显示，不在同数的闰月显示；只有廿九天的月份，三十的内容在廿九显示；"
            "同一天既有公历内容又有农历内容时都显示，公历的在前；农历节日仍然优先。"),
        QStringLiteral(
            "日历印在您选择的图片上，当天用红色显示；图片按设置拉伸、填充或适应每个显示器。"),
        QString(),
    };
    lines << (!onLinux ? QStringLiteral("■解压到任意文件夹（文件夹名称可以有中文和空格），运行"
                                        "Tidemark.exe。")
              : unpacked ? QStringLiteral("■这份程序没有安装：在它所在的文件夹里运行Tidemark。")
                         : QStringLiteral("■从应用程序菜单打开Deskleaf（终端里是Tidemark）。"))
          << QStringLiteral("■设置、图片和墙纸保存在%1。").arg(shownFolder);
    lines << QStringLiteral(
                 "■手动更换日历墙纸：打开图片→替换墙纸。去除墙纸：换回使用本程序以前的墙纸。")
          << QStringLiteral(
                 "■点设置，设定日历字体的颜色，修改任何一天的节日内容、填加自己的提示内容。");
    const QString autoRun =
        QStringLiteral("■设定自动运行时，先选择好图片，在自动运行上打上勾：每次登录"
                       "自动换上当天的日历墙纸，不显示窗口");
    if (onLinux)
        lines
            << autoRun + QStringLiteral("；每天零点过后（睡眠醒来后也是）再更新一次，没有systemd"
                                        "用户服务的桌面只在登录时更新。")
            << (unpacked
                    ? QStringLiteral("■同一文件夹里的deskleaf在终端里做同样的事：./deskleaf "
                                     "apply替换墙纸，./deskleaf remove去除墙纸，./deskleaf "
                                     "--help列出全部命令。")
                    : QStringLiteral(
                          "■终端里的deskleaf命令做同样的事：deskleaf apply替换墙纸，deskleaf "
                          "remove去除墙纸，deskleaf --help列出全部命令，man deskleaf有详细说明。"));
    else
        lines << autoRun + QStringLiteral("。")
              << QStringLiteral(
                     "■同一文件夹里的deskleaf.exe在命令行做同样的事：deskleaf.exe apply替换"
                     "墙纸，deskleaf.exe remove去除墙纸，deskleaf.exe --help列出全部命令。");
    return lines.join(u'\n');
}

HelpWindow::HelpWindow(const QString& folder, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), XPContainer1_(new XPContainer(this)),
      Label1_(new QLabel(XPContainer1_))
{
    setObjectName(QStringLiteral("Form2"));
    setModal(true);
    setFixedSize(kWidth, kHeight);

    frameDialog(XPContainer1_, "XPContainer1", QStringLiteral(" 帮 助"), 0,
                QStringLiteral("帮 助"));

    const CaptionButtons buttons = captionButtons(XPContainer1_);
    xptopbuttons1_ = buttons.close;
    xptopbuttons2_ = buttons.minimise;
    connect(xptopbuttons1_, &xptopbuttons::Click, this, &QDialog::close);
    connect(xptopbuttons2_, &xptopbuttons::Click, this, [this] { minimiseProgram(this); });

    Label1_->setObjectName(QStringLiteral("Label1"));
    Label1_->setFont(songFont(9));
    Label1_->setAutoFillBackground(false); // the frame's gradient shows through
    Label1_->setTextFormat(Qt::PlainText);
    Label1_->setWordWrap(true);
    Label1_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1_->setText(helpText(folder, thisCopy(folder)));
    Label1_->setGeometry(kTextLeft, kTextTop, kWidth - 2 * kTextLeft, kHeight - kTextTop - 10);
}

} // namespace deskleaf
