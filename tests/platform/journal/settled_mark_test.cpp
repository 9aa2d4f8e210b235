// A start may leave the journal unopened only when its settled mark vouches
// for the file as it is: every way a question can be left behind, or the file
// changed, must make the start look.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "platform/journal/session_journal.h"
#include "platform/journal/settled_mark.h"

namespace tempodial {
namespace {

const SessionSnapshot kRun{"0", "0", "5", "0.07", "Weekday", 1.4, "£", 5};

// One run, stopped, and the journal closed as a clean end of the program does.
void settledJournal(const QString& path) {
  SessionJournal journal(path);
  ASSERT_TRUE(journal.open().ok());
  const QDateTime start = QDateTime::currentDateTimeUtc().addSecs(-5);
  const auto id = journal.begin(kRun, start, 0);
  ASSERT_TRUE(id.ok());
  ASSERT_TRUE(journal.finish(id.value(), kRun, start.addSecs(5), SessionEnd::Stopped).ok());
}

struct Case {
  const char* name;
  // What happens after the clean end; `other` is another copy's journal on the
  // same file, still in that copy's hands when the start looks.
  void (*after)(const QString& path, SessionJournal& other);
  bool look;  // the next start must open the journal
};

class SettledMarkTest : public testing::TestWithParam<Case> {};

TEST_P(SettledMarkTest, StartLooksUnlessTheMarkVouchesForTheFile) {
  QTemporaryDir dir;
  const QString path = dir.filePath("history.sqlite3");
  settledJournal(path);
  SessionJournal other(path);
  GetParam().after(path, other);
  EXPECT_EQ(journalMayHoldQuestion(path), GetParam().look);
}

INSTANTIATE_TEST_SUITE_P(
    Journal, SettledMarkTest,
    testing::Values(
        Case{"ClosedWithNothingToAsk", [](const QString&, SessionJournal&) {}, false},
        Case{"NoJournalAtAll", [](const QString& p, SessionJournal&) { QFile::remove(p); }, false},
        Case{"MarkLost", [](const QString& p, SessionJournal&) { QFile::remove(p + ".settled"); },
             true},
        Case{"ClosedWithARunOpen",
             [](const QString& p, SessionJournal&) {
               SessionJournal journal(p);
               ASSERT_TRUE(journal.open().ok());
               ASSERT_TRUE(journal.begin(kRun, QDateTime::currentDateTimeUtc(), 0).ok());
             },
             true},
        Case{"OpenInAnotherCopyOrLeftByAKill",
             [](const QString& p, SessionJournal&) {
               static SessionJournal journal(p);  // still open when the start looks
               ASSERT_TRUE(journal.open().ok());
               ASSERT_TRUE(journal.begin(kRun, QDateTime::currentDateTimeUtc(), 0).ok());
               ASSERT_TRUE(journalMayHoldQuestion(p));
               journal.close();
             },
             true},
        Case{"AnotherFileInItsPlace",
             [](const QString& p, SessionJournal&) {
               ASSERT_TRUE(QFile::copy(p, p + ".copy"));
               QFile::remove(p);
               ASSERT_TRUE(QFile::rename(p + ".copy", p));
             },
             true},
        Case{"WrittenByAnotherProgram",
             [](const QString& p, SessionJournal&) {
               QFile file(p);
               ASSERT_TRUE(file.open(QIODevice::Append));
               file.write(QByteArray(4096, '\0'));
             },
             true}),
    [](const testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tempodial
