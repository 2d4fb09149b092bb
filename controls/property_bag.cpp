#include "controls/property_bag.h"

namespace deskleaf {

qsizetype PropertyBag::find(const QString& name) const
{
    for (qsizetype i = 0; i < entries_.size(); ++i)
        if (entries_[i].first.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QVariant PropertyBag::ReadProperty(const QString& name, const QVariant& defaultValue) const
{
    const qsizetype i = find(name);
    return i < 0 ? defaultValue : entries_[i].second;
}

void PropertyBag::WriteProperty(const QString& name, const QVariant& value,
                                const QVariant& defaultValue)
{
    const qsizetype i = find(name);
    if (defaultValue.isValid() && value == defaultValue) {
        if (i >= 0)
            entries_.removeAt(i);
        return;
    }
    if (i >= 0)
        entries_[i].second = value;
    else
        entries_.append({name, value});
}

QStringList PropertyBag::names() const
{
    QStringList result;
    for (const auto& entry : entries_)
        result << entry.first;
    return result;
}

} // namespace deskleaf
