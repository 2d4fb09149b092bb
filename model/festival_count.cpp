#include "model/festival_count.h"

#include "engine/clsDate.h"
#include "model/settings.h"

#include <QDate>
#include <QSet>
#include <QString>

namespace deskleaf {

namespace {

void addNames(QSet<QString>& names, const QString& text)
{
    for (const QString& name : text.simplified().split(u' ', Qt::SkipEmptyParts))
        names.insert(name);
}

void addNames(QSet<QString>& names, std::string_view text)
{
    addNames(names, QString::fromUtf8(text.data(), qsizetype(text.size())));
}

// What the engine calls the last day of a lunar year: the day before a New Year's Day.
std::string newYearsEve()
{
    clsDate newYear;
    newYear.lInitDate(clsDate::kFirstYear + 1, 1, 1, false);
    const QDate eve = QDate(newYear.sYear(), newYear.sMonth(), newYear.sDay()).addDays(-1);
    clsDate day;
    day.sInitDate(eve.year(), eve.month(), eve.day());
    return day.lHoliday();
}

} // namespace

int festivalCount()
{
    QSet<QString> names;
    for (const clsDate::Festival& f : clsDate::LunarFestivals)
        addNames(names, f.Text);
    addNames(names, newYearsEve());
    for (const clsDate::Festival& f : clsDate::WeekdayFestivals)
        addNames(names, f.Text);
    for (const clsDate::Festival& f : clsDate::SolarFestivals)
        addNames(names, f.Text);
    for (const QString& text : defaultCustomTexts())
        addNames(names, text);
    return int(names.size());
}

} // namespace deskleaf
