#include "windows/replace_box.h"

#include "controls/XPContainer.h"
#include "controls/focus_ring.h"
#include "controls/song_font.h"
#include "controls/twips.h"
#include "controls/window_buttons.h"
#include "controls/xpcmdbutton.h"
#include "model/month_grid.h"
#include "model/settings.h"

#include <QLabel>
#include <QLineEdit>

#include <utility>

namespace deskleaf {

ReplaceBox::ReplaceBox(const QString& str, const QString& str2, ProfileFile& file, Tell tell,
                       QWidget* owner, bool lunar)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint), str2_(str2), lunar_(lunar), file_(file),
      tell_(std::move(tell)), tsxx_(new XPContainer(this))
{
    setObjectName(QStringLiteral("Form4"));
    setModal(true);
    setFixedSize(kWidth, kHeight);

    frameDialog(tsxx_, "tsxx", QStringLiteral("消息提示"), 4, QStringLiteral("消息提示"));

    const QFont font = songFont(9);
    Label1_ = new QLabel(QStringLiteral("   该日期已经有节日内容了,\n          是否替换？"), tsxx_);
    Label1_->setObjectName(QStringLiteral("Label1"));
    Label1_->setFont(font);
    Label1_->setGeometry(twipsRect(720, 600, 3015, 720));
    Label2_ = new QLabel(lunar ? QStringLiteral("选择的日期:农历") +
                                     lunarDayName(str2.left(2).toInt(), str2.right(2).toInt())
                               : QStringLiteral("选择的日期:") + str2.left(2) +
                                     QStringLiteral("月") + str2.right(2) + QStringLiteral("日"),
                         tsxx_);
    Label2_->setObjectName(QStringLiteral("Label2"));
    Label2_->setFont(font);
    Label2_->setGeometry(twipsRect(720, 1440, 3015, 375));
    Text1_ = new QLineEdit(str, tsxx_);
    Text1_->setObjectName(QStringLiteral("Text1"));
    Text1_->setFont(font);
    Text1_->setGeometry(twipsRect(120, 1920, 4335, 375));
    Text1_->setAccessibleName(QStringLiteral("节日内容"));
    Text1_->setCursorPosition(0);
    for (QLabel* l : {Label1_, Label2_})
        l->setTextFormat(Qt::PlainText);

    xpcmdbutton2_ = commandButton(tsxx_, "xpcmdbutton2", QStringLiteral("确认替换"), font,
                                  twipsRect(840, 2520, 1095, 375));
    xpcmdbutton1_ = commandButton(tsxx_, "xpcmdbutton1", QStringLiteral("放 弃"), font,
                                  twipsRect(2520, 2520, 1095, 375));
    setTabOrder(Text1_, xpcmdbutton2_);
    setTabOrder(xpcmdbutton2_, xpcmdbutton1_);
    new FocusRing(this);
    connect(xpcmdbutton2_, &xpcmdbutton::Click, this, &ReplaceBox::replace);
    connect(xpcmdbutton1_, &xpcmdbutton::Click, this, &QDialog::reject);

    if (owner)
        move(owner->geometry().center() - QPoint(kWidth / 2, kHeight / 2));
}

void ReplaceBox::replace()
{
    try {
        const int month = str2_.left(2).toInt(), day = str2_.right(2).toInt();
        if (lunar_)
            writeLunarCustomText(file_, month, day, Text1_->text());
        else
            writeCustomText(file_, month, day, Text1_->text());
    } catch (const ProfileError& e) {
        tell_(this, QStringLiteral("提示"), QString::fromUtf8(e.what()));
        return; // the box stays open with the text
    }
    tell_(this, QStringLiteral(" "), QStringLiteral("已更新！"));
    accept();
}

} // namespace deskleaf
