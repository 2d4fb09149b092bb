#include "controls/window_buttons.h"

#include "controls/property_bag.h"
#include "controls/xpcmdbutton.h"
#include "controls/xptopbuttons.h"

#include <QEvent>
#include <QKeyEvent>

namespace deskleaf {
namespace {

class ButtonKeys : public QObject {
public:
    explicit ButtonKeys(xpcmdbutton* button) : QObject(button), button_(button)
    {
        button->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::FocusIn:
            button_->setState(1);
            break;
        case QEvent::FocusOut:
            button_->setState(0);
            break;
        case QEvent::KeyPress: {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                emit button_->Click();
                return true;
            }
            break;
        }
        case QEvent::KeyRelease: {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Space && !key->isAutoRepeat()) {
                emit button_->Click();
                return true;
            }
            break;
        }
        default:
            break;
        }
        return false;
    }

private:
    xpcmdbutton* button_;
};

} // namespace

void answerKeyboard(xpcmdbutton* button)
{
    new ButtonKeys(button);
}

xpcmdbutton* commandButton(QWidget* parent, const char* name, const QString& caption,
                           const QFont& font, QRect place)
{
    auto* button = new xpcmdbutton(parent);
    button->setObjectName(QLatin1String(name));
    PropertyBag stored;
    stored.WriteProperty(QStringLiteral("Caption"), caption);
    stored.WriteProperty(QStringLiteral("Font"), QVariant::fromValue(font));
    button->ReadProperties(stored);
    button->setGeometry(place);
    button->setAccessibleName(QString(caption).remove(u' '));
    answerKeyboard(button);
    return button;
}

CaptionButtons captionButtons(QWidget* frame)
{
    constexpr int kTop = 2, kRightMargin = 2, kGap = 1;
    auto* close = new xptopbuttons(frame);
    close->setObjectName(QStringLiteral("xptopbuttons1"));
    close->setValue(xptopbuttons::Close);
    close->setAccessibleName(QStringLiteral("关闭"));
    close->move(frame->width() - kRightMargin - close->width(), kTop);
    auto* minimise = new xptopbuttons(frame);
    minimise->setObjectName(QStringLiteral("xptopbuttons2"));
    minimise->setValue(xptopbuttons::Minimise);
    minimise->setAccessibleName(QStringLiteral("最小化"));
    minimise->move(close->x() - kGap - minimise->width(), kTop);
    return {close, minimise};
}

} // namespace deskleaf
