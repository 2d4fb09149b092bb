#include "model/profile_file.h"

#include "files/file_lock.h"
#include "files/pending_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <optional>
#include <type_traits>
#include <vector>

namespace deskleaf {

namespace {

// How long a write waits for another copy of the program to finish its own.
constexpr std::chrono::milliseconds LockTimeout{5000};

// How the file's text is stored, decided once per read from the whole file.
enum class Encoding { Gbk, Utf8, Utf16Le, Utf16Be };

struct Layout {
    Encoding encoding = Encoding::Gbk;
    qsizetype mark = 0; // bytes of byte order mark, kept as they are
};

bool isUtf16(Encoding encoding)
{
    return encoding == Encoding::Utf16Le || encoding == Encoding::Utf16Be;
}

Layout layoutOf(QByteArrayView bytes)
{
    if (bytes.startsWith("\xFF\xFE"))
        return {Encoding::Utf16Le, 2};
    if (bytes.startsWith("\xFE\xFF"))
        return {Encoding::Utf16Be, 2};
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return {Encoding::Utf8, 3};
    // Without a mark, text that is valid UTF-8 and not plain ASCII was saved as UTF-8: GBK
    // text of more than a few characters is seldom valid UTF-8. Plain ASCII counts as GBK.
    const bool ascii =
        std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; });
    return {!ascii && bytes.isValidUtf8() ? Encoding::Utf8 : Encoding::Gbk, 0};
}

// UTF-16 files are worked on as their code units, taken as they are (an unpaired surrogate
// too), so that turning them back into bytes gives the same bytes.
QString unitsOf(QByteArrayView bytes, bool bigEndian)
{
    QString units(bytes.size() / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < units.size(); ++i) {
        const uchar first = uchar(bytes[2 * i]), second = uchar(bytes[2 * i + 1]);
        units[i] = QChar(bigEndian ? char16_t(first << 8 | second) : char16_t(second << 8 | first));
    }
    return units;
}

QByteArray bytesOf(QStringView units, bool bigEndian)
{
    QByteArray bytes(units.size() * 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < units.size(); ++i) {
        const char16_t unit = units[i].unicode();
        bytes[2 * i + (bigEndian ? 0 : 1)] = char(unit >> 8);
        bytes[2 * i + (bigEndian ? 1 : 0)] = char(unit & 0xFF);
    }
    return bytes;
}

// The line machinery runs on bytes (GBK, UTF-8) or on UTF-16 code units, so that lines a
// write does not touch are copied back unit for unit, whatever they hold or end with.
template <typename View> struct Units;
template <> struct Units<QByteArrayView> {
    using Text = QByteArray;
    static char16_t at(QByteArrayView s, qsizetype i) { return uchar(s[i]); }
    static Text of(const char* ascii) { return QByteArray(ascii); }
};
template <> struct Units<QStringView> {
    using Text = QString;
    static char16_t at(QStringView s, qsizetype i) { return s[i].unicode(); }
    static Text of(const char* ascii) { return QString::fromLatin1(ascii); }
};

template <typename View> struct Line {
    View text; // without its line end
    View end;  // "\r\n", "\n", "\r", or empty on a last line without one
};

enum class Kind { Other, Header, Key };

template <typename View> struct Entry {
    Kind kind = Kind::Other;
    View name;            // trimmed section or key name
    View value;           // trimmed, quotes still on
    qsizetype equals = 0; // offset of the '=' in the line
};

bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\t';
}

template <typename View> View trimBlanks(View s)
{
    using U = Units<View>;
    while (!s.isEmpty() && isBlank(U::at(s, 0)))
        s = s.sliced(1);
    while (!s.isEmpty() && isBlank(U::at(s, s.size() - 1)))
        s.chop(1);
    return s;
}

QString trimBlanks(const QString& s)
{
    return trimBlanks(QStringView(s)).toString();
}

template <typename View> bool startsWith(View s, char16_t c)
{
    return !s.isEmpty() && Units<View>::at(s, 0) == c;
}

template <typename View> std::vector<Line<View>> splitLines(View text)
{
    using U = Units<View>;
    std::vector<Line<View>> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = U::at(text, i);
        if (c != u'\r' && c != u'\n')
            continue;
        const qsizetype endSize =
            c == u'\r' && i + 1 < text.size() && U::at(text, i + 1) == u'\n' ? 2 : 1;
        lines.push_back({text.sliced(start, i - start), text.sliced(i, endSize)});
        i += endSize - 1;
        start = i + 1;
    }
    if (start < text.size())
        lines.push_back({text.sliced(start), {}});
    return lines;
}

bool isGbkTrail(char16_t c)
{
    return c >= 0x40 && c <= 0xFE && c != 0x7F;
}

// A header ends at its first ']'. In GBK, trail bytes include ']', so there it is the first
// ']' that is a character of its own.
template <typename View> qsizetype headerEnd(View s, Encoding encoding)
{
    using U = Units<View>;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t c = U::at(s, i);
        if (c == u']')
            return i;
        if (encoding == Encoding::Gbk && c >= 0x81 && c <= 0xFE && i + 1 < s.size() &&
            isGbkTrail(U::at(s, i + 1)))
            ++i;
    }
    return s.size();
}

template <typename View> Entry<View> parseLine(View text, Encoding encoding)
{
    const View body = trimBlanks(text);
    if (startsWith(body, u';'))
        return {};
    if (startsWith(body, u'[')) {
        const View inside = body.sliced(1);
        return {Kind::Header, trimBlanks(inside.first(headerEnd(inside, encoding))), {}, 0};
    }
    // '=' is below the GBK trail byte range and never part of a UTF-8 sequence, so the first
    // one is never half of a character.
    qsizetype equals = 0;
    while (equals < text.size() && Units<View>::at(text, equals) != u'=')
        ++equals;
    if (equals == text.size())
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

// Strict in every encoding, as GBK is.
std::optional<QString> decode(QByteArrayView raw, Encoding encoding)
{
    if (encoding == Encoding::Gbk)
        return decodeGbk(raw);
    if (!raw.isValidUtf8())
        return std::nullopt;
    // A value may begin with U+FEFF: QString::fromUtf8 would drop it as a byte order mark.
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return QString(utf8(raw));
}

std::optional<QString> decode(QStringView raw, Encoding)
{
    if (!raw.isValidUtf16())
        return std::nullopt;
    return raw.toString();
}

template <typename View> struct Location {
    qsizetype header = -1;  // line of the section's first header
    qsizetype key = -1;     // line of the key's first occurrence in that section
    qsizetype lastKey = -1; // last key line of that section
    Entry<View> entry;      // the key's line, parsed
};

template <typename View>
Location<View> locate(const std::vector<Line<View>>& lines, Encoding encoding,
                      const QString& section, const QString& key)
{
    const auto sameName = [encoding](View raw, const QString& wanted) {
        const auto name = decode(raw, encoding);
        return name && name->compare(wanted, Qt::CaseInsensitive) == 0;
    };
    Location<View> found;
    for (qsizetype i = 0; i < qsizetype(lines.size()); ++i) {
        const Entry<View> entry = parseLine(lines[i].text, encoding);
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

template <typename View> View unquote(View value)
{
    using U = Units<View>;
    if (value.size() < 2)
        return value;
    const char16_t first = U::at(value, 0);
    if (first == U::at(value, value.size() - 1) && (first == u'"' || first == u'\''))
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
    if (encoder.hasError())
        fail(path, QStringLiteral("the %1 \"%2\" holds characters that GBK cannot store")
                       .arg(QLatin1StringView(what), text));
    return bytes;
}

// The text as the file stores it; only GBK can lack a character.
template <typename View>
typename Units<View>::Text encodeFor(Encoding encoding, const QString& path, const QString& text,
                                     const char* what)
{
    if constexpr (std::is_same_v<View, QStringView>)
        return text;
    else if (encoding == Encoding::Utf8)
        return text.toUtf8();
    else
        return encodeGbk(path, text, what);
}

// An unpaired surrogate is no character in any encoding (and the GBK encoder would drop it
// without a word).
void checkText(const QString& path, const QString& text, const char* what)
{
    if (!text.isValidUtf16())
        fail(path, QStringLiteral("the %1 \"%2\" holds an incomplete character")
                       .arg(QLatin1StringView(what), text));
}

QString checkedName(const QString& path, const QString& name, const char* what)
{
    // Such a name would be read back from another line than the one written, or from none
    // (a key line starting with ';' is a comment).
    static const QRegularExpression breaksTheLine(QStringLiteral("[\\[\\]=\\r\\n]"));
    const QString trimmed = trimBlanks(name);
    if (trimmed.isEmpty() || trimmed.startsWith(u';') || trimmed.contains(breaksTheLine))
        fail(path,
             QStringLiteral("\"%1\" is not a valid %2 name").arg(name, QLatin1StringView(what)));
    checkText(path, trimmed, what);
    return trimmed;
}

// The file's bytes; nothing when there is no file.
std::optional<QByteArray> readAll(const QString& path)
{
    QByteArray bytes;
    bool missing = false;
    if (const QString failure = readWholeFile(path, bytes, &missing); missing)
        return std::nullopt;
    else if (!failure.isEmpty())
        throw ProfileError(QStringLiteral("Could not read the settings file %1: %2")
                               .arg(QDir::toNativeSeparators(path), failure)
                               .toStdString());
    return bytes;
}

void saveAll(const QString& path, QByteArrayView bytes)
{
    // The new file is complete on disk before it replaces the old one, so a crash or a full
    // disk leaves the last good file in place.
    if (const QString failure = writeWholeFile(path, bytes); !failure.isEmpty())
        fail(path, failure);
}

// Held around every read-modify-write, so that two running copies cannot lose each other's
// values. Reads need none: the file is only ever replaced whole.
void lockOrFail(NestedFileLock& lock, const QString& path)
{
    switch (lock.lock(LockTimeout)) {
    case FileLock::Result::Locked:
        return;
    case FileLock::Result::TimedOut:
        fail(path, QStringLiteral("another program kept it locked for %1 seconds")
                       .arg(std::chrono::duration_cast<std::chrono::seconds>(LockTimeout).count()));
    case FileLock::Result::Failed:
        fail(path, lock.file().errorString());
    }
}

QString lockPath(const QString& path)
{
    return path + QStringLiteral(".lock");
}

// The file's text (after its byte order mark) as View, handed to work; UTF-16 code units for
// a UTF-16 file, the bytes otherwise.
template <typename Work> auto withText(QByteArrayView body, Encoding encoding, Work&& work)
{
    if (isUtf16(encoding)) {
        const QString units = unitsOf(body, encoding == Encoding::Utf16Be);
        return work(QStringView(units));
    }
    return work(body);
}

template <typename View>
std::optional<QString> findValue(View text, Encoding encoding, const QString& section,
                                 const QString& key)
{
    const auto lines = splitLines(text);
    const Location<View> found = locate(lines, encoding, section, key);
    if (found.key < 0)
        return std::nullopt;
    return decode(unquote(found.entry.value), encoding);
}

// The text with key set to value, every other line as it was.
template <typename View>
typename Units<View>::Text edited(View text, Encoding encoding, const QString& path,
                                  const QString& section, const QString& key, const QString& value)
{
    using U = Units<View>;
    using Text = typename U::Text;
    const Text valueText = encodeFor<View>(encoding, path, value, "value");
    const auto lines = splitLines(text);
    const Location<View> found = locate(lines, encoding, section, key);
    const Text crlf = U::of("\r\n");
    Text newLine;
    qsizetype replace = -1, insertAfter = -1;
    if (found.key >= 0) {
        // Keeps the key as spelled and spaced in the file.
        newLine += lines[found.key].text.first(found.entry.equals + 1);
        newLine += valueText;
        replace = found.key;
    } else {
        newLine += encodeFor<View>(encoding, path, key, "key");
        newLine += U::of("=");
        newLine += valueText;
        if (found.header >= 0)
            insertAfter = found.lastKey >= 0 ? found.lastKey : found.header;
    }

    const bool newSection = found.header < 0;
    Text result;
    result.reserve(text.size() + newLine.size() + section.size() * 2 + 8);
    for (qsizetype i = 0; i < qsizetype(lines.size()); ++i) {
        result += i == replace ? View(newLine) : lines[i].text;
        // Only the last line can lack a line end; it needs one when something follows it.
        const bool followed = i == insertAfter || newSection;
        result += lines[i].end.isEmpty() && followed ? View(crlf) : lines[i].end;
        if (i == insertAfter)
            result += newLine + crlf;
    }
    if (newSection) {
        result += U::of("[");
        result += encodeFor<View>(encoding, path, section, "section");
        result += U::of("]") + crlf + newLine + crlf;
    }
    return result;
}

} // namespace

ProfileFile::ProfileFile(QString path, QByteArray (*initialContents)())
    : path_(std::move(path)), initialContents_(initialContents),
      lock_(std::make_unique<NestedFileLock>(lockPath(path_)))
{
}

ProfileFile::ProfileFile(const ProfileFile& other)
    : ProfileFile(other.path_, other.initialContents_)
{
}

ProfileFile::~ProfileFile() = default;

ProfileFile::Hold::~Hold()
{
    lock_.unlock();
}

ProfileFile::Hold ProfileFile::hold()
{
    lockOrFail(*lock_, path_);
    return Hold(*lock_);
}

QString ProfileFile::read(const QString& section, const QString& key,
                          const QString& placeholder) const
{
    QByteArray bytes;
    if (!readWholeFile(path_, bytes).isEmpty())
        return placeholder;
    const Layout layout = layoutOf(bytes);
    return withText(QByteArrayView(bytes).sliced(layout.mark), layout.encoding,
                    [&](auto text) {
                        return findValue(text, layout.encoding, trimBlanks(section),
                                         trimBlanks(key));
                    })
        // A value that does not decode is unreadable: guessing would hand back other text
        // than the one stored.
        .value_or(placeholder);
}

void ProfileFile::write(const QString& section, const QString& key, const QString& value)
{
    const QString sectionName = checkedName(path_, section, "section");
    const QString keyName = checkedName(path_, key, "key");
    // A line break would start a line of its own in the file.
    QString oneLine = value;
    oneLine.replace(QStringLiteral("\r\n"), QStringLiteral(" "))
        .replace(u'\r', u' ')
        .replace(u'\n', u' ');
    checkText(path_, oneLine, "value");

    const Hold held = hold();
    // A new file starts from the initial contents, so that the first write of any value
    // brings the rest of the defaults along.
    const std::optional<QByteArray> existing = readAll(path_);
    const QByteArray old = existing           ? *existing
                           : initialContents_ ? initialContents_()
                                              : QByteArray();
    const Layout layout = layoutOf(old);
    const QByteArrayView mark = QByteArrayView(old).first(layout.mark);
    const QByteArrayView body = QByteArrayView(old).sliced(layout.mark);
    QByteArray bytes = mark.toByteArray();
    if (isUtf16(layout.encoding)) {
        const bool bigEndian = layout.encoding == Encoding::Utf16Be;
        const QString units = unitsOf(body, bigEndian);
        bytes += bytesOf(
            edited(QStringView(units), layout.encoding, path_, sectionName, keyName, oneLine),
            bigEndian);
        bytes += body.sliced(units.size() * 2); // a last odd byte, as it was
    } else {
        bytes += edited(body, layout.encoding, path_, sectionName, keyName, oneLine);
        // GBK bytes can be valid UTF-8 by chance; in a file that was plain ASCII they would
        // then read back as other text.
        if (layout.encoding == Encoding::Gbk && layoutOf(bytes).encoding != Encoding::Gbk)
            fail(path_, QStringLiteral("\"%1=%2\" would read back as other text: its GBK bytes "
                                       "are also valid UTF-8")
                            .arg(keyName, oneLine));
    }

    if (bytes != old || !existing)
        saveAll(path_, bytes);
}

QList<std::pair<QString, std::optional<QString>>> ProfileFile::values(const QString& section) const
{
    QList<std::pair<QString, std::optional<QString>>> found;
    QByteArray bytes;
    if (!readWholeFile(path_, bytes).isEmpty())
        return found;
    const Layout layout = layoutOf(bytes);
    const QString wanted = trimBlanks(section);
    withText(QByteArrayView(bytes).sliced(layout.mark), layout.encoding, [&](auto text) {
        bool inSection = false;
        for (const auto& line : splitLines(text)) {
            const auto entry = parseLine(line.text, layout.encoding);
            if (entry.kind == Kind::Header) {
                // Only the first of duplicate sections counts.
                if (inSection)
                    break;
                const auto name = decode(entry.name, layout.encoding);
                inSection = name && name->compare(wanted, Qt::CaseInsensitive) == 0;
            } else if (entry.kind == Kind::Key && inSection) {
                if (const auto name = decode(entry.name, layout.encoding))
                    found.append({*name, decode(unquote(entry.value), layout.encoding)});
            }
        }
        return 0;
    });
    return found;
}

bool ProfileFile::create(const QByteArray& bytes)
{
    const Hold held = hold();
    if (QFileInfo::exists(path_) || QFileInfo(path_).isSymLink())
        return false;
    saveAll(path_, bytes);
    return true;
}

} // namespace deskleaf
