// KDE Plasma: the shell's own script sets the picture of every desktop.
#include "platform/wallpaper_adapters.h"

#include "platform/wallpaper_desktop.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace deskleaf::detail {

namespace {

QString json(const QJsonValue& value)
{
    const QByteArray array = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2)); // drop the brackets
}

// Each script ends by printing how many desktops it changed: none is a failure, not a
// success (the shell has not made its desktops yet, or no screen matched).
//
// FillMode of the org.kde.image wallpaper is Qt Quick's Image.fillMode: Stretch is 0;
// Plasma's own default, 2, crops.
const QString kShowScript = QStringLiteral(R"(var all = desktops();
var shown = 0;
function show(d, uri) {
    d.wallpaperPlugin = "org.kde.image";
    d.currentConfigGroup = ["Wallpaper", "org.kde.image", "General"];
    d.writeConfig("FillMode", 0);
    d.writeConfig("Image", uri);
    shown++;
}
)");

// Each desktop on a screen gets the picture whose monitor lies at the same place in the
// layout: the centres of both, taken relative to the box around all monitors, are
// nearest. Plasma names its screens by number only, and its geometry is in logical
// pixels while the pictures' areas are in device pixels, so scaled layouts match too.
const QString kPerScreenScript = QStringLiteral(R"(
function box(rects) {
    var b = { x0: Infinity, y0: Infinity, x1: -Infinity, y1: -Infinity };
    rects.forEach(function (r) {
        b.x0 = Math.min(b.x0, r.x); b.y0 = Math.min(b.y0, r.y);
        b.x1 = Math.max(b.x1, r.x + r.width); b.y1 = Math.max(b.y1, r.y + r.height);
    });
    return b;
}
function centre(r, b) {
    return [(r.x + r.width / 2 - b.x0) / Math.max(b.x1 - b.x0, 1),
            (r.y + r.height / 2 - b.y0) / Math.max(b.y1 - b.y0, 1)];
}
var onScreen = [];
for (var i = 0; i < all.length; i++)
    if (all[i].screen >= 0)
        onScreen.push(all[i]);
var geometries = onScreen.map(function (d) { return screenGeometry(d.screen); });
var screens = box(geometries), monitors = box(pictures);
onScreen.forEach(function (d, i) {
    var c = centre(geometries[i], screens), best = null, bestDistance = Infinity;
    pictures.forEach(function (p) {
        var pc = centre(p, monitors);
        var distance = Math.pow(pc[0] - c[0], 2) + Math.pow(pc[1] - c[1], 2);
        if (distance < bestDistance) { best = p; bestDistance = distance; }
    });
    show(d, best.uri);
});
print(shown);
)");

// What current() prints: for each desktop its plugin, and the image wallpaper's picture
// and fill mode ("" and -1 where never set: Plasma's own picture, which it crops). The
// defaults give readConfig the type to read.
const QString kCurrentScript = QStringLiteral(R"(var all = desktops();
var found = [];
for (var i = 0; i < all.length; i++) {
    var d = all[i];
    d.currentConfigGroup = ["Wallpaper", "org.kde.image", "General"];
    found.push({ id: d.id, screen: d.screen, plugin: d.wallpaperPlugin,
                 image: d.readConfig("Image", ""), fillMode: d.readConfig("FillMode", -1) });
}
print(JSON.stringify(found));
)");

// Puts back each desktop's recorded settings, found by its id, or else by its screen.
const QString kRestoreScript = QStringLiteral(R"(var all = desktops();
var shown = 0;
for (var i = 0; i < all.length; i++) {
    var d = all[i], was = null;
    recorded.forEach(function (r) { if (r.id === d.id) was = r; });
    if (was === null && d.screen >= 0)
        recorded.forEach(function (r) { if (was === null && r.screen === d.screen) was = r; });
    if (was === null)
        continue;
    d.wallpaperPlugin = was.plugin;
    d.currentConfigGroup = ["Wallpaper", "org.kde.image", "General"];
    d.writeConfig("Image", was.image);
    d.writeConfig("FillMode", was.fillMode < 0 ? 2 : was.fillMode);
    shown++;
}
print(shown);
)");

class PlasmaWallpaper final : public DesktopWallpaper {
public:
    using DesktopWallpaper::DesktopWallpaper;

private:
    void show(const WallpaperPicture& picture) override
    {
        expectChanged(
            evaluate(kShowScript + QStringLiteral("for (var i = 0; i < all.length; i++)\n"
                                                  "    show(all[i], %1);\nprint(shown);\n")
                                       .arg(json(fileUri(picture.path)))));
    }

    void showPerScreen(const WallpaperPictures& snapshots) override
    {
        QJsonArray pictures;
        for (const WallpaperPicture& picture : snapshots) {
            if (picture.area.isEmpty())
                throw StepError(QStringLiteral("where the monitor \"%1\" lies was not given, "
                                               "so its desktop in Plasma is not known")
                                    .arg(picture.screen));
            pictures.append(QJsonObject{{QStringLiteral("uri"), fileUri(picture.path)},
                                        {QStringLiteral("x"), picture.area.x()},
                                        {QStringLiteral("y"), picture.area.y()},
                                        {QStringLiteral("width"), picture.area.width()},
                                        {QStringLiteral("height"), picture.area.height()}});
        }
        expectChanged(evaluate(QStringLiteral("var pictures = %1;\n").arg(json(pictures)) +
                               kShowScript + kPerScreenScript));
    }

    // The colour plugin shows the colour the user last chose in it.
    void clear() override
    {
        expectChanged(evaluate(QStringLiteral("var all = desktops();\n"
                                              "for (var i = 0; i < all.length; i++)\n"
                                              "    all[i].wallpaperPlugin = \"org.kde.color\";\n"
                                              "print(all.length);\n")));
    }

    QJsonObject current() override
    {
        const QString printed = evaluate(kCurrentScript);
        QJsonParseError error;
        const QJsonDocument found = QJsonDocument::fromJson(printed.trimmed().toUtf8(), &error);
        if (!found.isArray())
            throw StepError(
                QStringLiteral("the Plasma shell's wallpaper settings could not be read (%1)")
                    .arg(printed.trimmed().left(200)));
        if (found.array().isEmpty())
            return {};
        return QJsonObject{{QStringLiteral("desktops"), found.array()}};
    }

    void restore(const QJsonObject& recorded) override
    {
        expectChanged(evaluate(QStringLiteral("var recorded = %1;\n")
                                   .arg(json(recorded[QStringLiteral("desktops")].toArray())) +
                               kRestoreScript));
    }

    void expectChanged(const QString& printed)
    {
        if (printed.trimmed().toInt() <= 0)
            throw StepError(QStringLiteral("the Plasma shell has no desktop to show it on "
                                           "(its script changed %1)")
                                .arg(printed.trimmed().isEmpty() ? QStringLiteral("nothing")
                                                                 : printed.trimmed()));
    }

    // Runs script in the Plasma shell and returns what it printed.
    QString evaluate(const QString& script)
    {
        const QString service = QStringLiteral("org.kde.plasmashell");
        const QString object = QStringLiteral("/PlasmaShell");
        const QString method = QStringLiteral("org.kde.PlasmaShell.evaluateScript");
        for (const QString& qdbus : {QStringLiteral("qdbus6"), QStringLiteral("qdbus")})
            if (has(qdbus))
                return run(qdbus, {service, object, method, script});
        if (!has(QStringLiteral("dbus-send")))
            throw StepError(QStringLiteral("neither qdbus nor dbus-send is installed, so the "
                                           "Plasma shell cannot be told what to show"));
        // --print-reply waits for the answer, so a refusal is seen; the answer is
        // "method return ...\n   string \"PRINTED\"\n".
        const QString reply = run(QStringLiteral("dbus-send"),
                                  {QStringLiteral("--session"), QStringLiteral("--print-reply"),
                                   QStringLiteral("--dest=") + service, object, method,
                                   QStringLiteral("string:") + script});
        const QString opening = QStringLiteral("string \"");
        const qsizetype start = reply.indexOf(opening);
        const qsizetype end = reply.lastIndexOf(u'"');
        if (start < 0 || end < start + opening.size())
            return {};
        return reply.mid(start + opening.size(), end - start - opening.size());
    }
};

} // namespace

std::unique_ptr<WallpaperSetter> makePlasmaWallpaper(QString name, const DesktopEnvironment& env,
                                                     CommandRunner& runner)
{
    return std::make_unique<PlasmaWallpaper>(std::move(name), env, runner);
}

} // namespace deskleaf::detail
