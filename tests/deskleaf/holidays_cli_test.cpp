// The 休 and 班 marks through the real deskleaf binary: the shipped files, a user's own, the
// year boundary, refused files and the missing year.
#include "deskleaf/cli_runner.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <vector>

namespace {

std::vector<std::string> fields(const std::string& line)
{
    std::vector<std::string> result;
    std::string field;
    std::istringstream in(line + '\t');
    while (std::getline(in, field, '\t'))
        result.push_back(field);
    return result;
}

// Each test has its own data folder: the user's files go to XDG_DATA_HOME.
class Holidays : public ::testing::Test {
protected:
    QTemporaryDir home;
    QString userFolder() const { return home.filePath("deskleaf/holidays/cn"); }
    CliResult run(const std::string& args) const
    {
        return runDeskleaf(args, "XDG_DATA_HOME='" + home.path().toStdString() +
                                     "' QT_QPA_PLATFORM=offscreen");
    }
    // The 休/班 and name columns of deskleaf lunar for one day.
    std::string mark(const std::string& day) const
    {
        const std::string out = run("lunar " + day).out;
        const auto f = fields(out.substr(0, out.find('\n')));
        return f.size() == 12 ? f[10] + ' ' + f[11] : "bad line";
    }
    QString write(const QString& name, const QByteArray& bytes) const
    {
        const QString path = home.filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
};

// Every day of 2006-12 to 2026-12 against the shipped JSON files, read here on their own.
TEST_F(Holidays, LunarMarksEveryDayTheFilesName)
{
    std::map<std::string, std::pair<std::string, std::string>> want;
    int boundary = 0; // December days only the next year's file names
    for (int year = 2007; year <= 2026; ++year) {
        QFile file(QStringLiteral(DESKLEAF_DATA_DIR "/holidays/cn/%1.json").arg(year));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << year;
        for (const QJsonValue day : QJsonDocument::fromJson(file.readAll())["days"].toArray()) {
            const std::string date = day["date"].toString().toStdString();
            want[date] = {day["isOffDay"].toBool() ? "休" : "班",
                          day["name"].toString().toStdString()};
            boundary += date.compare(0, 4, std::to_string(year)) != 0;
        }
    }
    EXPECT_EQ(boundary, 10);

    const CliResult r = run("lunar 2006-12-01 2026-11-30");
    ASSERT_EQ(r.status, 0) << r.err;
    std::istringstream lines(r.out);
    std::size_t marked = 0;
    for (std::string line; std::getline(lines, line);) {
        const auto f = fields(line);
        ASSERT_EQ(f.size(), 12u) << line;
        const auto it = want.find(f[0]);
        const std::pair<std::string, std::string> none;
        ASSERT_EQ(std::make_pair(f[10], f[11]), it == want.end() ? none : it->second) << line;
        marked += it != want.end();
    }
    EXPECT_EQ(marked, want.size());
}

// A user's file for a year replaces the shipped one; a December day is named by the next
// year's file only, and is marked only once that file is there.
TEST_F(Holidays, UserFileOverridesAndTheNextYearNamesDecember)
{
    EXPECT_EQ(mark("2026-10-08"), " ");
    EXPECT_EQ(mark("2026-12-31"), " ");
    EXPECT_EQ(run("month 2026-12 --folder '" + home.path().toStdString() + "'").out.find("\t休"),
              std::string::npos);
    const QString notice = write("notice2027.json", R"({"year": 2027, "days": [
        {"name": "元旦", "date": "2026-12-31", "isOffDay": true},
        {"name": "元旦", "date": "2027-01-01", "isOffDay": true}]})");
    CliResult r = run("holidays import '" + notice.toStdString() + "'");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "2027\t" + userFolder().toStdString() +
                         "/2027.json\n"
                         "+ 2026-12-31 元旦 休\n+ 2027-01-01 元旦 休\n");
    EXPECT_EQ(mark("2026-12-31"), "休 元旦");
    EXPECT_NE(run("month 2026-12 --folder '" + home.path().toStdString() + "'")
                  .out.find("32\t31 廿三\t休\n"),
              std::string::npos);

    // 2026 of the user's own: one day changed to a make-up day, one dropped, one added.
    QFile shipped(DESKLEAF_DATA_DIR "/holidays/cn/2026.json");
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
    QJsonObject root = QJsonDocument::fromJson(shipped.readAll()).object();
    QJsonArray days = root["days"].toArray();
    days.removeLast(); // 2026-10-10, 班
    QJsonObject first = days[0].toObject();
    first["isOffDay"] = false;
    days[0] = first;
    days.append(QJsonObject{{"name", "国庆节"}, {"date", "2026-10-08"}, {"isOffDay", true}});
    root["days"] = days;
    r = run("holidays import '" + write("mine.json", QJsonDocument(root).toJson()).toStdString() +
            "'");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "2026\t" + userFolder().toStdString() +
                         "/2026.json\n"
                         "~ 2026-01-01 元旦 班 (was 元旦 休)\n+ 2026-10-08 国庆节 休\n"
                         "- 2026-10-10 国庆节 班\n");
    EXPECT_EQ(mark("2026-10-08"), "休 国庆节");
    EXPECT_EQ(mark("2026-10-10"), " ");
    EXPECT_EQ(mark("2026-01-01"), "班 元旦");
    const std::string list = run("holidays").out;
    EXPECT_NE(list.find("2025\tshipped\t:/deskleaf/holidays/cn/2025.json\n"
                        "2026\tyours\t" +
                        userFolder().toStdString() + "/2026.json\n2027\tyours\t"),
              std::string::npos)
        << list;

    // Turned off, the month shows no marks; the data stays.
    ASSERT_EQ(run("holidays marks off --folder '" + home.path().toStdString() + "'").status, 0);
    EXPECT_EQ(run("month 2026-10 --folder '" + home.path().toStdString() + "'").out.find("\t休"),
              std::string::npos);
    EXPECT_EQ(mark("2026-10-08"), "休 国庆节");
}

// A malformed file is refused with its reason: import writes nothing, and one put in the
// folder by hand leaves the shipped file serving.
TEST_F(Holidays, MalformedFilesAreRefusedWithTheReason)
{
    const struct {
        const char* json;
        const char* reason;
    } rows[] = {
        {R"({"year": 2025, "days": [)", "not JSON"},
        {R"({"days": []})", "\"year\" is missing"},
        {R"({"year": 2025, "days": [{"name": "春节", "date": "2024-11-30", "isOffDay": true}]})",
         "2024-11-30 is outside 2025 and the December before"},
        {R"({"year": 2025, "days": [{"name": "春节", "date": "2025-01-28", "isOffDay": true},
                                     {"name": "春节", "date": "2025-01-28", "isOffDay": true}]})",
         "2025-01-28 is named twice"},
        {R"({"year": 2025, "days": [{"name": " ", "date": "2025-01-28", "isOffDay": true}]})",
         "\"name\" is missing or empty"},
        {R"({"year": 2025, "days": [{"name": "春节", "date": "2025-1-28", "isOffDay": true}]})",
         "not a date YYYY-MM-DD"},
        {R"({"year": 2025, "days": [{"name": "春节", "date": "2025-01-28"}]})",
         "\"isOffDay\" is missing"},
    };
    for (const auto& row : rows) {
        const QString path = write("bad.json", row.json);
        const CliResult r = run("holidays import '" + path.toStdString() + "'");
        EXPECT_EQ(r.status, 1) << row.json;
        EXPECT_NE(r.err.find(row.reason), std::string::npos) << r.err;
        EXPECT_FALSE(QFileInfo::exists(userFolder() + "/2025.json")) << row.json;

        write("deskleaf/holidays/cn/2025.json", row.json);
        const CliResult list = run("holidays");
        EXPECT_NE(list.out.find("2025\tshipped\t"), std::string::npos) << row.json;
        EXPECT_NE(list.err.find("refused " + userFolder().toStdString() + "/2025.json: "),
                  std::string::npos)
            << list.err;
        EXPECT_NE(list.err.find(row.reason), std::string::npos) << list.err;
        EXPECT_EQ(mark("2025-01-28"), "休 春节");
        QFile::remove(userFolder() + "/2025.json");
    }
}

// The year today's calendar lacks is said once, with the way to add it; a file for it
// silences it.
TEST_F(Holidays, TheMissingYearIsSaid)
{
    const QDate today = QDate::currentDate();
    const int missing = today.year() > 2026 ? today.year() : today.month() >= 11 ? 2027 : 0;
    const CliResult r = run("holidays");
    ASSERT_EQ(r.status, 0) << r.err;
    if (missing == 0) {
        EXPECT_EQ(r.err.find("no file covers"), std::string::npos) << r.err;
        GTEST_SKIP() << "today's calendar lacks no year";
    }
    const std::string said =
        "no file covers " + std::to_string(missing) + ", so its days are not marked";
    EXPECT_NE(r.err.find(said), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("no file covers"), r.err.rfind("no file covers")) << "said once";
    EXPECT_NE(r.err.find("deskleaf holidays import FILE"), std::string::npos) << r.err;

    write(QStringLiteral("deskleaf/holidays/cn/%1.json").arg(missing),
          QStringLiteral(R"({"year": %1, "days": []})").arg(missing).toUtf8());
    EXPECT_EQ(run("holidays").err.find(said), std::string::npos);
}

} // namespace
