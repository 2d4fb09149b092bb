// Properties kept by name, as the windows store their controls: an ordered list of
// name and value. Names match without regard to case and keep the spelling first written.
#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>

namespace deskleaf {

class PropertyBag {
public:
    // The stored value of name, or defaultValue when none is stored.
    QVariant ReadProperty(const QString& name, const QVariant& defaultValue = {}) const;
    // Stores value under name; a value equal to defaultValue is not kept, so the bag
    // holds only what differs from the defaults.
    void WriteProperty(const QString& name, const QVariant& value,
                       const QVariant& defaultValue = {});

    bool contains(const QString& name) const { return find(name) >= 0; }
    // Names in the order they were first written.
    QStringList names() const;
    bool operator==(const PropertyBag& other) const = default;

private:
    qsizetype find(const QString& name) const;
    QList<QPair<QString, QVariant>> entries_;
};

} // namespace deskleaf
