#include "model/settings.h"

#include "controls/system_colour.h"
#include "files/pending_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringDecoder>
#include <QStringEncoder>

// The resource is compiled into a static library, where nothing else would pull it into the
// program. Q_INIT_RESOURCE must be used outside any namespace.
static void loadDefaultSettingsResource()
{
    Q_INIT_RESOURCE(settings);
}

namespace deskleaf {

namespace {

QString dayKey(int month, int day)
{
    return QStringLiteral("%1-%2")
        .arg(month, 2, 10, QLatin1Char('0'))
        .arg(day, 2, 10, QLatin1Char('0'));
}

// The shipped default, UTF-8 with LF in the resource.
QString defaultFileText()
{
    loadDefaultSettingsResource();
    QFile resource(QStringLiteral(":/deskleaf/default_kel.ini"));
    if (!resource.open(QIODevice::ReadOnly))
        throw ProfileError("The default settings are missing from the program.");
    QStringDecoder fromUtf8(QStringConverter::Utf8);
    QString text = fromUtf8(resource.readAll());
    if (fromUtf8.hasError())
        throw ProfileError("The default settings shipped with the program are damaged.");
    return text.remove(u'\r');
}

} // namespace

// The default as the file wants it: GBK with CR-LF.
QByteArray defaultSettingsBytes()
{
    QStringEncoder toGbk("GBK");
    const QByteArray bytes = toGbk(defaultFileText().replace(u'\n', QStringLiteral("\r\n")));
    if (toGbk.hasError())
        throw ProfileError(
            "The default settings shipped with the program cannot be stored as GBK.");
    return bytes;
}

bool autoRunBoxTicked(const ProfileFile& file)
{
    bool isNumber = false;
    return readSetting(file, settings::AutoRun).trimmed().toDouble(&isNumber) == 1 && isNumber;
}

bool autoRunOn(const ProfileFile& file)
{
    return readSetting(file, settings::AutoRun) == QLatin1String("1");
}

qint32 calendarColour(const ProfileFile& file)
{
    bool ok = false;
    const qlonglong value = readSetting(file, settings::CalendarColour).trimmed().toLongLong(&ok);
    // A system colour is a negative 32-bit number, which some files hold unsigned.
    if (ok && value >= -0x80000000LL && value <= 0xFFFFFFFFLL && isColour(qint32(value)))
        return qint32(value);
    return settings::DefaultCalendarColour;
}

QString readSetting(const ProfileFile& file, const SettingKey& setting)
{
    return file.read(QString::fromLatin1(setting.section), QString::fromLatin1(setting.key),
                     QString::fromLatin1(setting.placeholder));
}

void writeSetting(ProfileFile& file, const SettingKey& setting, const QString& value)
{
    file.write(QString::fromLatin1(setting.section), QString::fromLatin1(setting.key), value);
}

bool logonOnlyNoticeTold(const ProfileFile& file)
{
    return readSetting(file, settings::LogonOnlyNoticeTold) == QLatin1String("1");
}

std::optional<QString> customText(const ProfileFile& file, int month, int day)
{
    // No stored value can hold a line break, so unlike a word such as "jr" this placeholder
    // is never mistaken for a reminder someone typed.
    const QString missing = QStringLiteral("\n");
    // The blank in front is how the calendar has always asked; reads trim it.
    const QString text = file.read(QString::fromLatin1(settings::CustomTextSection),
                                   u' ' + dayKey(month, day), missing);
    if (text == missing || text.isEmpty())
        return std::nullopt;
    return text;
}

QList<std::pair<QDate, QString>> customTexts(const ProfileFile& file)
{
    // As customText finds them: the first key of a name, a text that is not empty.
    QHash<QString, std::optional<QString>> byKey;
    for (const auto& [key, value] : file.values(QString::fromLatin1(settings::CustomTextSection)))
        if (!byKey.contains(key.toCaseFolded()))
            byKey.insert(key.toCaseFolded(), value);
    QList<std::pair<QDate, QString>> texts;
    for (QDate day(2000, 1, 1); day.year() == 2000; day = day.addDays(1)) {
        const auto found = byKey.constFind(dayKey(day.month(), day.day()));
        if (found != byKey.cend() && *found && !(*found)->isEmpty())
            texts.append({day, **found});
    }
    return texts;
}

void writeCustomText(ProfileFile& file, int month, int day, const QString& text)
{
    file.write(QString::fromLatin1(settings::CustomTextSection), dayKey(month, day), text);
}

std::optional<QString> lunarCustomText(const ProfileFile& file, int month, int day)
{
    const QString missing = QStringLiteral("\n"); // as customText
    const QString text =
        file.read(QString::fromLatin1(settings::LunarTextSection), dayKey(month, day), missing);
    if (text == missing || text.isEmpty())
        return std::nullopt;
    return text;
}

QList<LunarReminder> lunarCustomTexts(const ProfileFile& file)
{
    // As lunarCustomText finds them: the first key of a name, a text that is not empty.
    QHash<QString, QString> byKey;
    for (const auto& [key, value] : file.values(QString::fromLatin1(settings::LunarTextSection)))
        if (!byKey.contains(key.toCaseFolded()))
            byKey.insert(key.toCaseFolded(), value.value_or(QString()));
    QList<LunarReminder> texts;
    for (int month = 1; month <= 12; ++month)
        for (int day = 1; day <= 30; ++day) {
            const QString text = byKey.value(dayKey(month, day));
            if (!text.isEmpty())
                texts.append({month, day, text});
        }
    return texts;
}

void writeLunarCustomText(ProfileFile& file, int month, int day, const QString& text)
{
    file.write(QString::fromLatin1(settings::LunarTextSection), dayKey(month, day), text);
}

bool weekStartsOnSunday(const ProfileFile& file)
{
    return readSetting(file, settings::WeekStart) == QLatin1String("sunday");
}

QString lastWallpaperDateText(QDate day)
{
    return u' ' + day.toString(QStringLiteral("yyyy-MM-dd"));
}

QStringList defaultCustomTexts()
{
    const QString section = QString::fromLatin1(settings::CustomTextSection);
    QStringList texts;
    bool inSection = false;
    for (const QString& line : defaultFileText().split(u'\n')) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(u'[')) {
            inSection = trimmed.compare(u'[' + section + u']', Qt::CaseInsensitive) == 0;
            continue;
        }
        const qsizetype equals = trimmed.indexOf(u'=');
        if (inSection && equals > 0) {
            const QString text = trimmed.mid(equals + 1).trimmed();
            if (!text.isEmpty())
                texts << text;
        }
    }
    return texts;
}

bool ensureSettingsFile(ProgramFolder& folder)
{
    ProfileFile& file = folder.profile();
    // Whatever is there, even a broken file, is the user's and stays.
    if (QFileInfo::exists(file.path()))
        return false;
    const QByteArray bytes = defaultSettingsBytes();
    if (const QString why = makeFolders(folder.path()); !why.isEmpty())
        throw ProfileError(QStringLiteral("Could not create the settings folder %1: %2.")
                               .arg(QDir::toNativeSeparators(folder.path()), why)
                               .toStdString());
    return file.create(bytes);
}

} // namespace deskleaf
