#include "wiring/translations.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QMessageBox>
#include <QTranslator>

#include <gtest/gtest.h>

using namespace deskleaf;

// Qt's own buttons speak the user's language: the 提示 boxes' OK among them.
TEST(Translations, QtsOwnButtonsFollowTheLanguage)
{
    const struct {
        const char* locale;
        bool installed;
        const char* ok;
    } rows[] = {{"zh_CN", true, "确定"}, {"en_US", false, "OK"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.locale);
        EXPECT_EQ(installTranslations(*QCoreApplication::instance(), QLocale(row.locale)),
                  row.installed);
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Ok);
        EXPECT_EQ(box.button(QMessageBox::Ok)->text().remove(u'&'), row.ok);
        for (QObject* child : QCoreApplication::instance()->children())
            if (auto* translator = qobject_cast<QTranslator*>(child))
                QCoreApplication::removeTranslator(translator);
    }
}
