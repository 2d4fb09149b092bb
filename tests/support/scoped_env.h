// An environment variable set for one scope, and put back as it was.
#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <optional>

namespace deskleaf::testfiles {

struct ScopedEnv {
    const char* name;
    std::optional<QByteArray> old =
        qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt;
    ScopedEnv(const char* variable, const QString& value) : name(variable)
    {
        qputenv(name, value.toUtf8());
    }
    ~ScopedEnv() { old ? qputenv(name, *old) : qunsetenv(name); }
};

} // namespace deskleaf::testfiles
