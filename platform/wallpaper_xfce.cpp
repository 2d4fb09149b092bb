// Xfce: xfdesktop keeps a picture and a style per monitor and workspace in xfconf.
#include "wallpaper_adapters.h"

#include "wallpaper_desktop.h"

namespace deskleaf::detail {

namespace {

const QString kPrimaryBackdrop = QStringLiteral("/backdrop/screen0/monitor0/workspace0/");

class XfceWallpaper final : public DesktopWallpaper {
public:
    using DesktopWallpaper::DesktopWallpaper;

private:
    // Each monitor and workspace has its own last-image; the first one is created
    // when Xfce has not stored any yet.
    void show(const WallpaperPicture& picture) override
    {
        const QString& snapshot = picture.path;
        QStringList images = backdropProperties(QStringLiteral("/last-image"));
        if (images.isEmpty()) {
            images << kPrimaryBackdrop + QStringLiteral("last-image");
            query({QStringLiteral("-p"), images.front(), QStringLiteral("-n"), QStringLiteral("-t"),
                   QStringLiteral("string"), QStringLiteral("-s"), snapshot});
        } else {
            for (const QString& image : images)
                query({QStringLiteral("-p"), image, QStringLiteral("-s"), snapshot});
        }
        for (const QString& image : images)
            setStyle(image.chopped(QStringLiteral("last-image").size()) +
                         QStringLiteral("image-style"),
                     QStringLiteral("3")); // stretched
    }

    void clear() override
    {
        QStringList styles = backdropProperties(QStringLiteral("/image-style"));
        if (styles.isEmpty())
            styles << kPrimaryBackdrop + QStringLiteral("image-style");
        for (const QString& style : styles)
            setStyle(style, QStringLiteral("0")); // none
    }

    QStringList backdropProperties(const QString& ending)
    {
        QStringList found;
        const QStringList listed = query({QStringLiteral("-l")}).split(u'\n', Qt::SkipEmptyParts);
        for (const QString& line : listed) {
            const QString property = line.trimmed();
            if (property.startsWith(QStringLiteral("/backdrop/")) && property.endsWith(ending))
                found << property;
        }
        return found;
    }

    // -n creates the property when it is missing and only sets it otherwise.
    void setStyle(const QString& property, const QString& style)
    {
        query({QStringLiteral("-p"), property, QStringLiteral("-n"), QStringLiteral("-t"),
               QStringLiteral("int"), QStringLiteral("-s"), style});
    }

    QString query(const QStringList& args)
    {
        return run(QStringLiteral("xfconf-query"),
                   QStringList{QStringLiteral("-c"), QStringLiteral("xfce4-desktop")} + args);
    }
};

} // namespace

std::unique_ptr<WallpaperSetter> makeXfceWallpaper(QString name, const DesktopEnvironment& env,
                                                   CommandRunner& runner)
{
    return std::make_unique<XfceWallpaper>(std::move(name), env, runner);
}

} // namespace deskleaf::detail
