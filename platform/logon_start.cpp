#include "platform/logon_start.h"

#include "files/pending_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include "platform/windows/win_system.h"
#endif

namespace deskleaf {

QString XdgAutostart::entryPath(const QString& name) const
{
    return QDir(folder_).filePath(name + QStringLiteral(".desktop"));
}

std::optional<QString> XdgAutostart::execValue(const QString& executable)
{
    // Inside a quoted argument '"', '`', '$' and '\' take a backslash. Then the value as a
    // whole is a string, in which '\', tab and line breaks are escaped, and '%' doubles as
    // it is a field code; a string holds no other control character.
    QString quoted;
    for (const QChar c : executable) {
        if ((c.unicode() < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') || c.unicode() == 0x7F)
            return std::nullopt;
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    // Loaders look for the program named first before they expand field codes, so a path
    // with '%' goes to env, which looks for nothing.
    quoted = (executable.contains(u'%') ? QStringLiteral("env \"") : QStringLiteral("\"")) +
             quoted + u'"';
    QString value;
    for (const QChar c : quoted) {
        if (c == u'\\')
            value += QStringLiteral("\\\\");
        else if (c == u'\t')
            value += QStringLiteral("\\t");
        else if (c == u'\n')
            value += QStringLiteral("\\n");
        else if (c == u'\r')
            value += QStringLiteral("\\r");
        else if (c == u'%')
            value += QStringLiteral("%%");
        else
            value += c;
    }
    return value;
}

void XdgAutostart::enable(const QString& name, const QString& executable)
{
    const auto failed = [&](const QString& why) {
        throw PlatformError(QStringLiteral("Could not register the program to start at logon "
                                           "(%1): %2")
                                .arg(QDir::toNativeSeparators(entryPath(name)), why)
                                .toStdString());
    };
    const std::optional<QString> exec = execValue(executable);
    if (!exec)
        failed(QStringLiteral("the program's path holds a control character, which no "
                              "autostart entry can carry"));
    if (const QFileInfo program(executable); !program.isFile() || !program.isExecutable())
        failed(QStringLiteral("%1 does not exist or cannot be run")
                   .arg(QDir::toNativeSeparators(executable)));
    if (const QString why = makeFolders(folder_); !why.isEmpty())
        failed(QStringLiteral("the folder %1 cannot be created: %2")
                   .arg(QDir::toNativeSeparators(folder_), why));
    const QByteArray entry = QStringLiteral("[Desktop Entry]\n"
                                            "Type=Application\n"
                                            "Name=Deskleaf\n"
                                            "Comment=Prints today's calendar on the wallpaper\n"
                                            "Exec=%1\n"
                                            "NoDisplay=true\n"
                                            "X-GNOME-Autostart-enabled=true\n")
                                 .arg(*exec + u' ' + QLatin1String(kLogonStartArgument))
                                 .toUtf8();
    if (const QString failure = writeWholeFile(entryPath(name), entry); !failure.isEmpty())
        failed(failure);
}

void XdgAutostart::disable(const QString& name)
{
    QFile file(entryPath(name));
    if (file.exists() && !file.remove())
        throw PlatformError(QStringLiteral("Could not stop the program starting at logon: %1: %2")
                                .arg(QDir::toNativeSeparators(file.fileName()), file.errorString())
                                .toStdString());
}

bool XdgAutostart::isEnabled(const QString& name) const
{
    return QFile::exists(entryPath(name));
}

QString xdgAutostartFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("autostart"));
}

#ifdef Q_OS_WIN
namespace {

// The current user's Run key: the machine-wide one needs administrator rights.
class RunKey final : public LogonStart {
public:
    void enable(const QString& name, const QString& executable) override
    {
        const QString command = u'"' + QDir::toNativeSeparators(executable) +
                                QStringLiteral("\" ") + QLatin1String(kLogonStartArgument);
        check(win::setRunValue(name.toStdWString(), command.toStdWString()));
    }
    void disable(const QString& name) override { check(win::deleteRunValue(name.toStdWString())); }
    bool isEnabled(const QString& name) const override
    {
        return win::hasRunValue(name.toStdWString());
    }

private:
    static void check(const std::wstring& error)
    {
        if (!error.empty())
            throw PlatformError("Could not change the program's start at logon: " +
                                QString::fromStdWString(error).toStdString());
    }
};

} // namespace

std::unique_ptr<LogonStart> makeLogonStart()
{
    return std::make_unique<RunKey>();
}
#else
std::unique_ptr<LogonStart> makeLogonStart()
{
    return std::make_unique<XdgAutostart>(xdgAutostartFolder());
}
#endif

} // namespace deskleaf
