// KDE Plasma: the shell's own script sets the picture of every desktop.
#include "wallpaper_adapters.h"

#include "wallpaper_desktop.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace deskleaf::detail {

namespace {

QString javaScriptString(const QString& text)
{
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2)); // drop the brackets
}

class PlasmaWallpaper final : public DesktopWallpaper {
public:
    using DesktopWallpaper::DesktopWallpaper;

private:
    // FillMode of the org.kde.image wallpaper is Qt Quick's Image.fillMode: Stretch is 0;
    // Plasma's own default, 2, crops.
    void show(const WallpaperPicture& picture) override
    {
        const QString& snapshot = picture.path;
        evaluate(QStringLiteral("var all = desktops();\n"
                                "for (var i = 0; i < all.length; i++) {\n"
                                "    all[i].wallpaperPlugin = \"org.kde.image\";\n"
                                "    all[i].currentConfigGroup = "
                                "[\"Wallpaper\", \"org.kde.image\", \"General\"];\n"
                                "    all[i].writeConfig(\"FillMode\", 0);\n"
                                "    all[i].writeConfig(\"Image\", %1);\n"
                                "}\n")
                     .arg(javaScriptString(fileUri(snapshot))));
    }

    // The colour plugin shows the colour the user last chose in it.
    void clear() override
    {
        evaluate(QStringLiteral("var all = desktops();\n"
                                "for (var i = 0; i < all.length; i++)\n"
                                "    all[i].wallpaperPlugin = \"org.kde.color\";\n"));
    }

    // Runs script in the Plasma shell.
    void evaluate(const QString& script)
    {
        const QString service = QStringLiteral("org.kde.plasmashell");
        const QString object = QStringLiteral("/PlasmaShell");
        const QString method = QStringLiteral("org.kde.PlasmaShell.evaluateScript");
        for (const QString& qdbus : {QStringLiteral("qdbus6"), QStringLiteral("qdbus")}) {
            if (has(qdbus)) {
                run(qdbus, {service, object, method, script});
                return;
            }
        }
        if (!has(QStringLiteral("dbus-send")))
            throw StepError(QStringLiteral("neither qdbus nor dbus-send is installed, so the "
                                           "Plasma shell cannot be told what to show"));
        // --print-reply waits for the answer, so a refusal is seen.
        run(QStringLiteral("dbus-send"),
            {QStringLiteral("--session"), QStringLiteral("--print-reply"),
             QStringLiteral("--dest=") + service, object, method,
             QStringLiteral("string:") + script});
    }
};

} // namespace

std::unique_ptr<WallpaperSetter> makePlasmaWallpaper(QString name, const DesktopEnvironment& env,
                                                     CommandRunner& runner)
{
    return std::make_unique<PlasmaWallpaper>(std::move(name), env, runner);
}

} // namespace deskleaf::detail
