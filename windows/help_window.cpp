#include "windows/help_window.h"

#include "controls/XPContainer.h"
#include "controls/song_font.h"
#include "controls/window_buttons.h"
#include "controls/xptopbuttons.h"
#include "model/festival_count.h"

#include <QLabel>
#include <QStringList>

namespace deskleaf {

namespace {

constexpr int kTextLeft = 12;
constexpr int kTextTop = XPContainer::kHeaderBottom + 8;

} // namespace

QString helpText()
{
    const QStringList lines{
        QStringLiteral("Deskleaf V") + QStringLiteral(DESKLEAF_VERSION_SHORT),
        QStringLiteral("语言：简体中文"),
        QString(),
        QStringLiteral("显示农历、二十四节气和%1个中外节日、纪念日。").arg(festivalCount()),
        QStringLiteral("日历每周从星期一排到星期日；设置里勾选“周日在前”则从星期日排到星期六。"),
        QStringLiteral(
            "可以为任何一天设定节日或提示内容，也可以设定在它的农历日子上，每年农历这天"
            "显示：只在该月显示，不在同数的闰月显示；只有廿九天的月份，三十的内容在廿九显示；"
            "同一天既有公历内容又有农历内容时都显示，公历的在前；农历节日仍然优先。"),
        QStringLiteral("日历以透明方式印在您选择的图片上。"),
        QStringLiteral("每次开机自动更换墙纸，当天的日期用红色显示，换好后程序随即退出。"),
        QStringLiteral("可以设定日历的字体颜色。"),
        QStringLiteral("图片自动缩放到桌面大小。"),
        QString(),
        QStringLiteral("■解压到任意文件夹（文件夹名称可以有中文和空格），运行Tidemark（Windows "
                       "上是Tidemark.exe）。"),
        QStringLiteral("■点设置，设定日历字体的颜色，修改任何一天的节日内容、填加自己的提示内容。"),
        QStringLiteral("■手动更换日历墙纸：打开图片→替换墙纸。"),
        QStringLiteral("■设定自动运行时，先选择好图片，在自动运行上打上勾。"),
    };
    return lines.join(u'\n');
}

HelpWindow::HelpWindow(QWidget* parent)
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
    connect(xptopbuttons2_, &xptopbuttons::Click, this, &QWidget::showMinimized);

    Label1_->setObjectName(QStringLiteral("Label1"));
    Label1_->setFont(songFont(9));
    Label1_->setAutoFillBackground(false); // the frame's gradient shows through
    Label1_->setTextFormat(Qt::PlainText);
    Label1_->setWordWrap(true);
    Label1_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1_->setText(helpText());
    Label1_->setGeometry(kTextLeft, kTextTop, kWidth - 2 * kTextLeft, kHeight - kTextTop - 10);
}

} // namespace deskleaf
