// Fuzzes kel.ini writes: an initial file of any bytes, then a few writes drawn from the input.
//
// Input: the file's bytes, optionally followed by kOpsMarker and the bytes the writes are
// drawn from; without the marker the writes are drawn from the whole input, so a plain
// kel.ini is a useful seed. Aborts when a write that succeeded does not read back, changes
// another key's value, or a refused write changed the file.
#include "model/profile_file.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using deskleaf::ProfileError;
using deskleaf::ProfileFile;

constexpr char kOpsMarker[] = "\0--ops--\0";
constexpr std::size_t kOpsMarkerSize = sizeof kOpsMarker - 1;
constexpr int kMaxWrites = 4;
// Every tracked key is read back after every write: more would halve the speed for little.
constexpr std::size_t kMaxTrackedKeys = 16;

// The placeholder of every read: unlikely as a stored value, and GBK has no emoji.
const QString kAbsent = QStringLiteral("\U0001F600absent");

[[noreturn]] void violation(const char* what, const QString& section, const QString& key)
{
    std::fprintf(stderr, "settings_file_fuzz: %s [%s] %s\n", what, section.toUtf8().constData(),
                 key.toUtf8().constData());
    std::abort();
}

QString trimBlanks(QString s)
{
    while (!s.isEmpty() && (s.front() == u' ' || s.front() == u'\t'))
        s.remove(0, 1);
    while (!s.isEmpty() && (s.back() == u' ' || s.back() == u'\t'))
        s.chop(1);
    return s;
}

// What read() gives back after write(value): line breaks stored as blanks, outer blanks
// and one pair of wrapping quotes gone.
QString readBack(QString value)
{
    value.replace(QStringLiteral("\r\n"), QStringLiteral(" "))
        .replace(u'\r', u' ')
        .replace(u'\n', u' ');
    value = trimBlanks(value);
    if (value.size() >= 2 && value.front() == value.back() &&
        (value.front() == u'"' || value.front() == u'\''))
        value = value.sliced(1, value.size() - 2);
    return value;
}

struct Key {
    QString section, key;
    QString value; // as last read
};

bool sameKey(const Key& a, const QString& section, const QString& key)
{
    return trimBlanks(a.section).compare(trimBlanks(section), Qt::CaseInsensitive) == 0 &&
           trimBlanks(a.key).compare(trimBlanks(key), Qt::CaseInsensitive) == 0;
}

// Section and key names seen in the initial file, found with a scan of its own (not the
// parser under test), so that writes hit existing lines and not only new ones.
struct Names {
    std::vector<QString> sections, keys;
    std::vector<Key> pairs;
};

Names scanNames(const QByteArray& file)
{
    Names names;
    QString section;
    bool inSection = false;
    const QList<QByteArray> lines = QByteArray(file).replace('\r', '\n').split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QByteArray line = lines[i].trimmed();
        if (i == 0 && line.startsWith("\xEF\xBB\xBF"))
            line = line.sliced(3);
        QStringDecoder gbk("GBK");
        if (line.startsWith('[')) {
            const qsizetype close = line.indexOf(']');
            section = gbk(line.mid(1, close < 0 ? -1 : close - 1));
            inSection = true;
            names.sections.push_back(section);
        } else if (const qsizetype equals = line.indexOf('='); equals > 0) {
            const QString key = gbk(line.first(equals));
            names.keys.push_back(key);
            if (inSection)
                names.pairs.push_back({section, key, {}});
        }
    }
    // Spread over the file, the first and the last key included.
    if (const std::size_t n = names.pairs.size(); n > kMaxTrackedKeys) {
        std::vector<Key> spread;
        for (std::size_t j = 0; j < kMaxTrackedKeys; ++j)
            spread.push_back(names.pairs[j * (n - 1) / (kMaxTrackedKeys - 1)]);
        names.pairs = std::move(spread);
    }
    return names;
}

QString drawText(FuzzedDataProvider& in, std::size_t maxBytes)
{
    const std::string bytes = in.ConsumeRandomLengthString(maxBytes);
    switch (in.ConsumeIntegralInRange(0, 2)) {
    case 0:
        return QString::fromUtf8(bytes);
    case 1: // UTF-16, lone surrogates included
        return QString(reinterpret_cast<const QChar*>(bytes.data()), qsizetype(bytes.size() / 2));
    default: {
        QStringDecoder gbk("GBK");
        return gbk(QByteArrayView(bytes));
    }
    }
}

QString drawName(FuzzedDataProvider& in, const std::vector<QString>& seen)
{
    if (!seen.empty() && in.ConsumeBool())
        return seen[in.ConsumeIntegralInRange<std::size_t>(0, seen.size() - 1)];
    return drawText(in, 24);
}

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

const QTemporaryDir& workDir()
{
    // In memory where there is a tmpfs: QSaveFile syncs every write to the disk.
    static const QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                       ? QStringLiteral("/dev/shm/settings_file_fuzz-XXXXXX")
                                       : QDir::tempPath() +
                                             QStringLiteral("/settings_file_fuzz-XXXXXX"));
    if (!dir.isValid()) {
        std::fprintf(stderr, "settings_file_fuzz: cannot make a temporary folder\n");
        std::abort();
    }
    return dir;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const char* begin = reinterpret_cast<const char*>(data);
    const void* marker = memmem(begin, size, kOpsMarker, kOpsMarkerSize);
    const std::size_t fileSize =
        marker ? std::size_t(static_cast<const char*>(marker) - begin) : size;
    const QByteArray initial(begin, qsizetype(fileSize));
    FuzzedDataProvider in(marker ? data + fileSize + kOpsMarkerSize : data,
                          marker ? size - fileSize - kOpsMarkerSize : size);

    const QString path = workDir().filePath(QStringLiteral("kel.ini"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(initial) != initial.size())
            std::abort();
    }
    ProfileFile profile(path);
    Names names = scanNames(initial);

    struct Write {
        QString section, key, value;
    };
    std::vector<Write> writes;
    const int count = in.ConsumeIntegralInRange(1, kMaxWrites);
    for (int i = 0; i < count; ++i) {
        Write w;
        w.section = drawName(in, names.sections);
        w.key = drawName(in, names.keys);
        w.value = drawText(in, 64);
        names.pairs.push_back({w.section, w.key, {}});
        writes.push_back(std::move(w));
    }
    for (Key& k : names.pairs)
        k.value = profile.read(k.section, k.key, kAbsent);

    for (const Write& w : writes) {
        const QByteArray before = bytesOf(path);
        try {
            profile.write(w.section, w.key, w.value);
        } catch (const ProfileError&) {
            if (bytesOf(path) != before)
                violation("a refused write changed the file at", w.section, w.key);
            continue;
        }
        const QString expected = readBack(w.value);
        if (profile.read(w.section, w.key, kAbsent) != expected)
            violation("a written value does not read back at", w.section, w.key);
        for (Key& k : names.pairs) {
            if (sameKey(k, w.section, w.key)) {
                k.value = expected;
            } else if (profile.read(k.section, k.key, kAbsent) != k.value) {
                violation("a write changed another key's value at", k.section, k.key);
            }
        }
    }

    // No copy of the file stays behind; the lock file may, it is never deleted.
    QStringList left = QDir(workDir().path()).entryList(QDir::Files | QDir::Hidden);
    left.removeAll(QStringLiteral("kel.ini.lock"));
    if (left != QStringList{QStringLiteral("kel.ini")})
        violation("files left beside the settings file:", left.join(u' '), {});
    return 0;
}
