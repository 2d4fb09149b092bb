#include "wiring/translations.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QFile>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTranslator>
#include <QXmlStreamReader>

#include <set>

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

// Every message of the sources (as lupdate last gathered them) has its Chinese translation
// in the built-in one, and it fills in every detail the English names, but for the few a
// user gains nothing from; a missing %n would print QString::arg's warning instead.
TEST(Translations, EveryMessageIsTranslatedWithItsDetails)
{
    const std::set<QString> detailsLeftOut = {
        QStringLiteral("the file is damaged (%1)."),
        QStringLiteral("no systemd user manager runs (systemctl --user is-system-running: %1)")};
    QTranslator zh;
    ASSERT_TRUE(zh.load(QLocale(QStringLiteral("zh_CN")), QStringLiteral("deskleaf"),
                        QStringLiteral("_"), QStringLiteral(":/i18n")));
    QFile ts(QStringLiteral(DESKLEAF_TRANSLATIONS_DIR "/deskleaf_zh_CN.ts"));
    ASSERT_TRUE(ts.open(QIODevice::ReadOnly));
    static const QRegularExpression placeholder(QStringLiteral("%L?\\d"));
    const auto placeholders = [](const QString& text) {
        std::set<QString> found;
        for (const QRegularExpressionMatch& m : placeholder.globalMatch(text))
            found.insert(m.captured().remove(u'L'));
        return found;
    };
    QXmlStreamReader xml(&ts);
    QString context;
    int messages = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"name") {
            context = xml.readElementText();
        } else if (xml.name() == u"source") {
            const QString source = xml.readElementText();
            SCOPED_TRACE(qPrintable(context + QStringLiteral(": ") + source));
            ++messages;
            const QString text = zh.translate(qPrintable(context), source.toUtf8().constData());
            ASSERT_FALSE(text.isEmpty());
            if (detailsLeftOut.contains(source))
                EXPECT_TRUE(placeholders(text).empty());
            else
                EXPECT_EQ(placeholders(text), placeholders(source));
        }
    }
    EXPECT_FALSE(xml.hasError()) << qPrintable(xml.errorString());
    EXPECT_GT(messages, 150);
}
