// Fuzzes the picture import: any bytes as the chosen picture, stretched to 64 x 48.
//
// The import either gives a whole 64 x 48 picture or refuses with a PictureError; anything
// else (another exception, a wrong size, a crash, a sanitizer report, an allocation past
// -malloc_limit_mb) is a finding.
#include "model/picture_import.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

const QSize kScreen(64, 48);

const QTemporaryDir& workDir()
{
    // In memory where there is a tmpfs: QSaveFile syncs every write to the disk.
    static const QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                       ? QStringLiteral("/dev/shm/picture_import_fuzz-XXXXXX")
                                       : QDir::tempPath() +
                                             QStringLiteral("/picture_import_fuzz-XXXXXX"));
    if (!dir.isValid()) {
        std::fprintf(stderr, "picture_import_fuzz: cannot make a temporary folder\n");
        std::abort();
    }
    return dir;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // The image format plugins come with the application object; no display is needed.
    // Qt gets its own argument list: it would take out of argv the options it knows.
    (void)argc;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int qtArgc = 1;
    static char* qtArgv[] = {(*argv)[0], nullptr};
    static QGuiApplication app(qtArgc, qtArgv);
    // The decoders warn about every broken picture; a fatal message still aborts.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString path = workDir().filePath(QStringLiteral("picture"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
            std::abort();
    }
    try {
        const QImage image = deskleaf::loadStretchedPicture(path, kScreen);
        if (image.isNull() || image.size() != kScreen) {
            std::fprintf(stderr, "picture_import_fuzz: got a %d x %d picture\n", image.width(),
                         image.height());
            std::abort();
        }
    } catch (const deskleaf::PictureError&) {
    }
    return 0;
}
