#include "profile_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <optional>
#include <vector>

namespace deskleaf {

namespace {

// How long a write waits for another copy of the program to finish its own.
constexpr int LockTimeoutMs = 5000;

// The file is worked on as raw bytes, one line at a time, so that lines a write does not
// touch are copied back byte for byte, whatever their encoding or line end.
struct Line {
    QByteArrayView text; // without its line end
    QByteArrayView end;  // "\r\n", "\n", "\r", or empty on a last line without one
};

enum class Kind { Other, Header, Key };

struct Entry {
    Kind kind = Kind::Other;
    QByteArrayView name;  // trimmed section or key name
    QByteArrayView value; // trimmed, quotes still on
    qsizetype equals = 0; // offset of the '=' in the line
};

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

QByteArrayView trimBlanks(QByteArrayView s)
{
    while (!s.isEmpty() && isBlank(s.front()))
        s = s.sliced(1);
    while (!s.isEmpty() && isBlank(s.back()))
        s.chop(1);
    return s;
}

QString trimBlanks(const QString& s)
{
    qsizetype from = 0, to = s.size();
    while (from < to && (s[from] == u' ' || s[from] == u'\t'))
        ++from;
    while (to > from && (s[to - 1] == u' ' || s[to - 1] == u'\t'))
        --to;
    return s.sliced(from, to - from);
}

std::vector<Line> splitLines(QByteArrayView bytes)
{
    std::vector<Line> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n')
            continue;
        const qsizetype endSize =
            bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n' ? 2 : 1;
        lines.push_back({bytes.sliced(start, i - start), bytes.sliced(i, endSize)});
        i += endSize - 1;
        start = i + 1;
    }
    if (start < bytes.size())
        lines.push_back({bytes.sliced(start), {}});
    return lines;
}

bool isGbkTrail(uchar c)
{
    return c >= 0x40 && c <= 0xFE && c != 0x7F;
}

// GBK trail bytes include ']', so a header ends at the first ']' that is a character of its own.
qsizetype headerEnd(QByteArrayView s)
{
    for (qsizetype i = 0; i < s.size(); ++i) {
        const uchar c = uchar(s[i]);
        if (c == ']')
            return i;
        if (c >= 0x81 && c <= 0xFE && i + 1 < s.size() && isGbkTrail(uchar(s[i + 1])))
            ++i;
    }
    return s.size();
}

Entry parseLine(QByteArrayView text)
{
    const QByteArrayView body = trimBlanks(text);
    if (body.startsWith(';'))
        return {};
    if (body.startsWith('[')) {
        const QByteArrayView inside = body.sliced(1);
        return {Kind::Header, trimBlanks(inside.first(headerEnd(inside))), {}, 0};
    }
    // '=' is below the GBK trail byte range, so the first one is never half of a character.
    const qsizetype equals = text.indexOf('=');
    if (equals < 0)
        return {};
    return {Kind::Key, trimBlanks(text.first(equals)), trimBlanks(text.sliced(equals + 1)), equals};
}

// Strict: bytes that are not GBK give no text at all rather than replacement characters.
std::optional<QString> decodeGbk(QByteArrayView bytes)
{
    QStringDecoder decoder("GBK", QStringConverter::Flag::Stateless);
    QString text = decoder(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

bool sameName(QByteArrayView raw, const QString& wanted)
{
    const auto name = decodeGbk(raw);
    return name && name->compare(wanted, Qt::CaseInsensitive) == 0;
}

struct Location {
    qsizetype header = -1;  // line of the section's first header
    qsizetype key = -1;     // line of the key's first occurrence in that section
    qsizetype lastKey = -1; // last key line of that section
    Entry entry;            // the key's line, parsed
};

Location locate(const std::vector<Line>& lines, const QString& section, const QString& key)
{
    Location found;
    for (qsizetype i = 0; i < qsizetype(lines.size()); ++i) {
        QByteArrayView text = lines[i].text;
        // A UTF-8 byte order mark is no part of the first line; it stays in the file untouched.
        if (i == 0 && text.startsWith("\xEF\xBB\xBF"))
            text = text.sliced(3);
        const Entry entry = parseLine(text);
        if (entry.kind == Kind::Header) {
            // Only the first of duplicate sections counts.
            if (found.header >= 0)
                break;
            if (sameName(entry.name, section))
                found.header = i;
        } else if (entry.kind == Kind::Key && found.header >= 0) {
            found.lastKey = i;
            if (found.key < 0 && sameName(entry.name, key)) {
                found.key = i;
                found.entry = entry;
            }
        }
    }
    return found;
}

QByteArrayView unquote(QByteArrayView value)
{
    if (value.size() >= 2 && value.front() == value.back() &&
        (value.front() == '"' || value.front() == '\''))
        return value.sliced(1, value.size() - 2);
    return value;
}

[[noreturn]] void fail(const QString& path, const QString& reason)
{
    throw ProfileError(QStringLiteral("Could not save the settings file %1: %2")
                           .arg(QDir::toNativeSeparators(path), reason)
                           .toStdString());
}

QByteArray encodeGbk(const QString& path, const QString& text, const char* what)
{
    QStringEncoder encoder("GBK");
    QByteArray bytes = encoder(text);
    // The encoder drops lone surrogates without reporting them.
    if (encoder.hasError() || !text.isValidUtf16())
        fail(path, QStringLiteral("the %1 \"%2\" holds characters that GBK cannot store")
                       .arg(QLatin1StringView(what), text));
    return bytes;
}

QByteArray checkedName(const QString& path, const QString& name, const char* what)
{
    // Such a name would be read back from another line than the one written, or from none
    // (a key line starting with ';' is a comment).
    static const QRegularExpression breaksTheLine(QStringLiteral("[\\[\\]=\\r\\n]"));
    const QString trimmed = trimBlanks(name);
    if (trimmed.isEmpty() || trimmed.startsWith(u';') || trimmed.contains(breaksTheLine))
        fail(path,
             QStringLiteral("\"%1\" is not a valid %2 name").arg(name, QLatin1StringView(what)));
    return encodeGbk(path, trimmed, what);
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly))
        throw ProfileError(QStringLiteral("Could not read the settings file %1: %2")
                               .arg(QDir::toNativeSeparators(path), file.errorString())
                               .toStdString());
    return file.readAll();
}

void saveAll(const QString& path, QByteArrayView bytes)
{
    // The new file is complete on disk before it replaces the old one, so a crash or a full
    // disk leaves the last good file in place. Unbuffered, in a loop: Qt takes a short write
    // (the disk filled up halfway) for a success and would commit the cut copy; writing the
    // rest again gets the real error. Without commit() the copy is thrown away.
    QSaveFile file(path);
    bool ok = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    while (ok && !bytes.isEmpty()) {
        const qint64 written = file.write(bytes.data(), bytes.size());
        ok = written > 0;
        if (ok)
            bytes = bytes.sliced(written);
    }
    if (!ok || !file.commit())
        fail(path, file.errorString());
}

// Held around every read-modify-write, so that two running copies cannot lose each other's
// values. Reads need none: the file is only ever replaced whole.
void lockOrFail(QLockFile& lock, const QString& path)
{
    if (lock.tryLock(LockTimeoutMs))
        return;
    switch (lock.error()) {
    case QLockFile::LockFailedError:
        fail(path, QStringLiteral("another program kept it locked for %1 seconds")
                       .arg(LockTimeoutMs / 1000));
    case QLockFile::PermissionError:
        fail(path, QStringLiteral("Permission denied"));
    default:
        fail(path, QStringLiteral("could not create its lock file %1").arg(lock.fileName()));
    }
}

} // namespace

ProfileFile::ProfileFile(QString path) : path_(std::move(path))
{
}

QString ProfileFile::read(const QString& section, const QString& key,
                          const QString& placeholder) const
{
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly))
        return placeholder;
    const QByteArray bytes = file.readAll();
    const Location found = locate(splitLines(bytes), trimBlanks(section), trimBlanks(key));
    if (found.key < 0)
        return placeholder;
    // A value that is not GBK is unreadable: guessing would hand back other text than the
    // one stored.
    return decodeGbk(unquote(found.entry.value)).value_or(placeholder);
}

void ProfileFile::write(const QString& section, const QString& key, const QString& value)
{
    const QByteArray sectionName = checkedName(path_, section, "section");
    const QByteArray keyName = checkedName(path_, key, "key");
    // A line break would start a line of its own in the file.
    QString oneLine = value;
    oneLine.replace(QStringLiteral("\r\n"), QStringLiteral(" "))
        .replace(u'\r', u' ')
        .replace(u'\n', u' ');
    const QByteArray valueBytes = encodeGbk(path_, oneLine, "value");

    QLockFile lock(path_ + QStringLiteral(".lock"));
    lockOrFail(lock, path_);
    const QByteArray old = readAll(path_);
    std::vector<Line> lines = splitLines(old);
    const Location found = locate(lines, trimBlanks(section), trimBlanks(key));
    const QByteArray crlf = "\r\n";
    QByteArray newLine;
    qsizetype replace = -1, insertAfter = -1;
    if (found.key >= 0) {
        // Keeps the key as spelled and spaced in the file.
        newLine = lines[found.key].text.first(found.entry.equals + 1).toByteArray() + valueBytes;
        replace = found.key;
    } else {
        newLine = keyName + '=' + valueBytes;
        if (found.header >= 0)
            insertAfter = found.lastKey >= 0 ? found.lastKey : found.header;
    }

    const bool newSection = found.header < 0;
    QByteArray bytes;
    bytes.reserve(old.size() + newLine.size() + sectionName.size() + 8);
    for (qsizetype i = 0; i < qsizetype(lines.size()); ++i) {
        bytes += i == replace ? QByteArrayView(newLine) : lines[i].text;
        // Only the last line can lack a line end; it needs one when something follows it.
        const bool followed = i == insertAfter || newSection;
        bytes += lines[i].end.isEmpty() && followed ? QByteArrayView(crlf) : lines[i].end;
        if (i == insertAfter)
            bytes += newLine + crlf;
    }
    if (newSection)
        bytes += '[' + sectionName + ']' + crlf + newLine + crlf;

    if (bytes != old)
        saveAll(path_, bytes);
}

bool ProfileFile::create(const QByteArray& bytes)
{
    QLockFile lock(path_ + QStringLiteral(".lock"));
    lockOrFail(lock, path_);
    if (QFileInfo::exists(path_))
        return false;
    saveAll(path_, bytes);
    return true;
}

} // namespace deskleaf
