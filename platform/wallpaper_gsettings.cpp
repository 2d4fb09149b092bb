// GNOME and its relatives, Cinnamon and MATE: the wallpaper is a GSettings key.
#include "wallpaper_adapters.h"

#include "wallpaper_desktop.h"

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
};

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
                .contains(QStringLiteral("picture-uri-dark")))
            pictureKeys << QStringLiteral("picture-uri-dark");
        const QString value = gvariantString(keys_.takesUri ? fileUri(snapshot) : snapshot);
        for (const QString& key : pictureKeys)
            set(key, value);
        set(QStringLiteral("picture-options"),
            picture.spansScreens ? QStringLiteral("'spanned'") : QStringLiteral("'stretched'"));
    }

    void clear() override { set(QStringLiteral("picture-options"), QStringLiteral("'none'")); }

    void set(const QString& key, const QString& value)
    {
        run(QStringLiteral("gsettings"), {QStringLiteral("set"), keys_.schema, key, value});
    }

    const GSettingsKeys keys_;
};

// plasma-apply-wallpaperimage (Plasma 5.27) sets the picture only, keeping the user's fill

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
                          QStringLiteral("picture-uri"), true, true},
            env, runner);
    case GSettingsDesktop::Cinnamon:
        return std::make_unique<GSettingsWallpaper>(
            std::move(name),
            GSettingsKeys{QStringLiteral("org.cinnamon.desktop.background"),
                          QStringLiteral("picture-uri"), true, false},
            env, runner);
    case GSettingsDesktop::Mate:
        return std::make_unique<GSettingsWallpaper>(
            std::move(name),
            GSettingsKeys{QStringLiteral("org.mate.background"), QStringLiteral("picture-filename"),
                          false, false},
            env, runner);
    }
    return nullptr;
}

} // namespace deskleaf::detail
