#include "model/official_days.h"

#include "files/pending_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

#include <stdexcept>

// The shipped files are a resource of this library, which the linker keeps only when
// asked for. Q_INIT_RESOURCE must be used outside any namespace.
static void initHolidayResources()
{
    Q_INIT_RESOURCE(holidays);
}

namespace deskleaf {
namespace {

const QString kShippedFolder = QStringLiteral(":/deskleaf/holidays/cn");

[[noreturn]] void refuse(const QString& reason)
{
    throw std::runtime_error(reason.toStdString());
}

QString fileName(int year)
{
    return QStringLiteral("%1.json").arg(year);
}

// A year's file name, YYYY.json; 0 for any other name.
int yearOfName(const QString& name)
{
    if (name.size() != 9 || !name.endsWith(QLatin1String(".json")))
        return 0;
    bool ok = false;
    const int year = name.left(4).toInt(&ok);
    return ok && year >= 1000 ? year : 0;
}

QString describe(const OfficialDay& day)
{
    return day.name + (day.mark == DayMark::Off ? QStringLiteral(" 休") : QStringLiteral(" 班"));
}

} // namespace

QString dayMarkText(DayMark mark)
{
    switch (mark) {
    case DayMark::Off:
        return QStringLiteral("休");
    case DayMark::Work:
        return QStringLiteral("班");
    case DayMark::None:
        break;
    }
    return {};
}

OfficialYear parseOfficialYear(const QByteArray& json)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        refuse(
            QStringLiteral("not JSON: %1 at byte %2").arg(error.errorString()).arg(error.offset));
    if (!document.isObject())
        refuse(QStringLiteral("not a JSON object with \"year\" and \"days\""));
    const QJsonObject root = document.object();
    const QJsonValue yearValue = root.value(QLatin1String("year"));
    const int year = yearValue.toInt(0);
    if (!yearValue.isDouble() || year < 1901 || year > 9998 || yearValue.toDouble() != year)
        refuse(QStringLiteral("\"year\" is missing or not a year such as 2027"));
    const QJsonValue daysValue = root.value(QLatin1String("days"));
    if (!daysValue.isArray())
        refuse(QStringLiteral("\"days\" is missing or not a list"));

    OfficialYear result{year, {}};
    const QJsonArray days = daysValue.toArray();
    for (qsizetype i = 0; i < days.size(); ++i) {
        const QJsonObject entry = days.at(i).toObject();
        const QString where = QStringLiteral("day %1 of \"days\"").arg(i + 1);
        const QString text = entry.value(QLatin1String("date")).toString();
        const QDate date = QDate::fromString(text, Qt::ISODate);
        if (!date.isValid() || text.size() != 10)
            refuse(where + QStringLiteral(": \"date\" is missing or not a date YYYY-MM-DD"));
        if (date.year() != year && !(date.year() == year - 1 && date.month() == 12))
            refuse(
                where +
                QStringLiteral(": %1 is outside %2 and the December before").arg(text).arg(year));
        const QString name = entry.value(QLatin1String("name")).toString().trimmed();
        if (name.isEmpty())
            refuse(where + QStringLiteral(" (%1): \"name\" is missing or empty").arg(text));
        const QJsonValue off = entry.value(QLatin1String("isOffDay"));
        if (!off.isBool())
            refuse(where +
                   QStringLiteral(" (%1): \"isOffDay\" is missing or not true or false").arg(text));
        const OfficialDay day{off.toBool() ? DayMark::Off : DayMark::Work, name};
        if (!result.days.emplace(date, day).second)
            refuse(QStringLiteral("%1 is named twice").arg(text));
    }
    return result;
}

QString userHolidayFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/deskleaf/holidays/cn");
}

OfficialDays OfficialDays::load()
{
    return load(userHolidayFolder());
}

OfficialDays OfficialDays::load(const QString& userFolder)
{
    initHolidayResources();
    OfficialDays result;
    const auto list = [&](const QString& folder, QString Found::*slot) {
        const QDir dir(folder);
        for (const QString& name : dir.entryList({QStringLiteral("*.json")}, QDir::Files)) {
            if (const int year = yearOfName(name))
                result.found_[year].*slot = dir.filePath(name);
        }
    };
    list(kShippedFolder, &Found::shipped);
    if (!userFolder.isEmpty())
        list(userFolder, &Found::user);
    return result;
}

namespace {

// A year's file read whole and parsed; throws std::runtime_error with the reason.
OfficialYear readYearFile(const QString& path, int year, bool resource)
{
    QByteArray bytes;
    QString problem;
    if (resource) { // only QFile reads the resources
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            bytes = file.readAll();
        else
            problem = file.errorString();
    } else {
        problem = readWholeFile(path, bytes);
    }
    if (!problem.isEmpty())
        refuse(problem);
    OfficialYear parsed = parseOfficialYear(bytes);
    if (parsed.year != year)
        refuse(QStringLiteral("its \"year\" is %1").arg(parsed.year));
    return parsed;
}

} // namespace

const OfficialYear* OfficialDays::year(int year) const
{
    if (const auto it = data_.find(year); it != data_.end())
        return it->second ? &*it->second : nullptr;
    std::optional<OfficialYear>& slot = data_[year];
    const auto found = found_.find(year);
    if (found == found_.end())
        return nullptr;
    // The user's file first; when it is refused, the shipped one serves.
    QString refused;
    for (const Source source : {Source::User, Source::Shipped}) {
        const QString& path = source == Source::User ? found->second.user : found->second.shipped;
        if (path.isEmpty())
            continue;
        try {
            slot = readYearFile(path, year, source == Source::Shipped);
            files_[year] = YearFile{year, source, path, refused};
            return &*slot;
        } catch (const std::runtime_error& e) {
            if (refused.isEmpty())
                refused = path + QStringLiteral(": ") + QString::fromUtf8(e.what());
        }
    }
    files_[year] = YearFile{year, Source::User, QString(), refused};
    return nullptr;
}

OfficialDay OfficialDays::day(QDate date) const
{
    if (!covers(date))
        return {};
    for (const int y : {date.year(), date.year() + 1}) {
        if (const OfficialYear* file = year(y)) {
            if (const auto found = file->days.find(date); found != file->days.end())
                return found->second;
        }
    }
    return {};
}

bool OfficialDays::covers(QDate date) const
{
    // A notice names days of its own year and of the December before, never of its own
    // December: the days of December wait for the next year's file.
    return year(date.month() < 12 ? date.year() : date.year() + 1) != nullptr;
}

std::optional<int> OfficialDays::missingYear(QDate date) const
{
    if (!year(date.year()))
        return date.year();
    if (date.month() >= 11 && !year(date.year() + 1))
        return date.year() + 1;
    return std::nullopt;
}

QList<OfficialDays::YearFile> OfficialDays::years() const
{
    QList<YearFile> list;
    for (const auto& [y, found] : found_) {
        year(y);
        list.append(files_.at(y));
    }
    return list;
}

QString missingYearNotice(int year)
{
    return QStringLiteral("缺少 %1 年的节假日安排，这些日子不标“休”“班”。国务院公布后，"
                          "用 deskleaf holidays import 文件 导入该年的 JSON 文件，或把它放到 %2。")
        .arg(year)
        .arg(QDir::toNativeSeparators(userHolidayFolder() + u'/' + fileName(year)));
}

ImportResult importOfficialYear(const QString& path, const QString& userFolder)
{
    QByteArray bytes;
    if (const QString problem = readWholeFile(path, bytes); !problem.isEmpty())
        refuse(QStringLiteral("could not read %1: %2").arg(path, problem));
    OfficialYear year;
    try {
        year = parseOfficialYear(bytes);
    } catch (const std::runtime_error& e) {
        refuse(QStringLiteral("%1 is refused: %2").arg(path, QString::fromUtf8(e.what())));
    }

    // What served before: the user's earlier file, else the shipped one.
    const OfficialDays before = OfficialDays::load(userFolder);
    std::map<QDate, OfficialDay> old;
    if (const OfficialYear* served = before.year(year.year))
        old = served->days;
    QStringList changes;
    for (const auto& [date, day] : year.days) {
        const auto it = old.find(date);
        if (it == old.end())
            changes << QStringLiteral("+ %1 %2").arg(date.toString(Qt::ISODate), describe(day));
        else if (it->second.mark != day.mark || it->second.name != day.name)
            changes << QStringLiteral("~ %1 %2 (was %3)")
                           .arg(date.toString(Qt::ISODate), describe(day), describe(it->second));
    }
    for (const auto& [date, day] : old) {
        if (!year.days.contains(date))
            changes << QStringLiteral("- %1 %2").arg(date.toString(Qt::ISODate), describe(day));
    }

    if (const QString problem = makeFolders(userFolder); !problem.isEmpty())
        refuse(QStringLiteral("could not make %1: %2").arg(userFolder, problem));
    const QString target = QDir(userFolder).filePath(fileName(year.year));
    if (const QString problem = writeWholeFile(target, bytes); !problem.isEmpty())
        refuse(QStringLiteral("could not write %1: %2").arg(target, problem));
    return ImportResult{year.year, target, changes.join(u'\n')};
}

} // namespace deskleaf
