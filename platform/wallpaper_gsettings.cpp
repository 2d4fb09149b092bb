// GNOME and its relatives, Cinnamon and MATE: the wallpaper is a GSettings key.
#include "platform/wallpaper_adapters.h"

#include "platform/wallpaper_desktop.h"

#include <QJsonObject>

namespace deskleaf::detail {

namespace {

QString gvariantString(QString text)
{
    text.replace(u'\\', QStringLiteral("\\\\")).replace(u'\'', QStringLiteral("\\'"));
    return u'\'' + text + u'\'';
}

struct GSettingsKeys {
    QString schema;
    QString pictureKey;
    bool takesUri;    // false: a plain path
    bool darkVariant; // also set picture-uri-dark, where the schema has it
    // How the desktop is left a plain colour: MATE has no picture-options 'none', and
    // takes an empty picture-filename instead.
    bool clearsPicture;
};

const QString kOptions = QStringLiteral("picture-options");
const QString kDarkKey = QStringLiteral("picture-uri-dark");

class GSettingsWallpaper final : public DesktopWallpaper {
public:
    GSettingsWallpaper(QString name, GSettingsKeys keys, const DesktopEnvironment& env,
                       CommandRunner& runner)
        : DesktopWallpaper(std::move(name), env, runner), keys_(std::move(keys))
    {
    }

    PictureLayout layout() const override { return PictureLayout::Spanned; }

private:
    void show(const WallpaperPicture& picture) override
    {
        const QString& snapshot = picture.path;
        QStringList pictureKeys{keys_.pictureKey};
        // Without it dark mode keeps its own picture; GNOME before 42 has no such key.
        if (keys_.darkVariant &&
            run(QStringLiteral("gsettings"), {QStringLiteral("list-keys"), keys_.schema})
                .split(u'\n')
                .contains(kDarkKey))
            pictureKeys << kDarkKey;
        const QString value = gvariantString(keys_.takesUri ? fileUri(snapshot) : snapshot);
        for (const QString& key : pictureKeys)
            set(key, value);
        set(kOptions,
            picture.spansScreens ? QStringLiteral("'spanned'") : QStringLiteral("'stretched'"));
    }

    void clear() override
    {
        if (keys_.clearsPicture)
            set(keys_.pictureKey, QStringLiteral("''"));
        else
            set(kOptions, QStringLiteral("'none'"));
    }

    // The picture keys and picture-options, each as `gsettings` prints it, which is what
    // `gsettings set` takes back.
    QJsonObject current() override
    {
        QJsonObject recorded;
        const QStringList lines =
            run(QStringLiteral("gsettings"), {QStringLiteral("list-recursively"), keys_.schema})
                .split(u'\n', Qt::SkipEmptyParts);
        for (const QString& line : lines) {
            // "SCHEMA KEY VALUE"
            const QString rest = line.section(u' ', 1);
            const QString key = rest.section(u' ', 0, 0);
            if (line.section(u' ', 0, 0) != keys_.schema || !recordedKeys().contains(key))
                continue;
            recorded[key] = rest.section(u' ', 1);
        }
        return recorded;
    }

    // The picture first, so that the options never apply to this program's picture.
    void restore(const QJsonObject& recorded) override
    {
        for (const QString& key : recordedKeys())
            if (recorded.contains(key))
                set(key, recorded[key].toString());
    }

    QStringList recordedKeys() const
    {
        QStringList keys{keys_.pictureKey};
        if (keys_.darkVariant)
            keys << kDarkKey;
        return keys << kOptions;
    }

    void set(const QString& key, const QString& value)
    {
        run(QStringLiteral("gsettings"), {QStringLiteral("set"), keys_.schema, key, value});
    }

    const GSettingsKeys keys_;
};

} // namespace

std::unique_ptr<WallpaperSetter> makeGSettingsWallpaper(QString name, GSettingsDesktop desktop,
                                                        const DesktopEnvironment& env,
                                                        CommandRunner& runner)
{
    switch (desktop) {
    case GSettingsDesktop::Gnome:
        return std::make_unique<GSettingsWallpaper>(
            std::move(name),
            GSettingsKeys{QStringLiteral("org.gnome.desktop.background"),
                          QStringLiteral("picture-uri"), true, true, false},
            env, runner);
    case GSettingsDesktop::Cinnamon:
        return std::make_unique<GSettingsWallpaper>(
            std::move(name),
            GSettingsKeys{QStringLiteral("org.cinnamon.desktop.background"),
                          QStringLiteral("picture-uri"), true, false, false},
            env, runner);
    case GSettingsDesktop::Mate:
        return std::make_unique<GSettingsWallpaper>(
            std::move(name),
            GSettingsKeys{QStringLiteral("org.mate.background"), QStringLiteral("picture-filename"),
                          false, false, true},
            env, runner);
    }
    return nullptr;
}

} // namespace deskleaf::detail
