// Questions before work is lost: reports that would be replaced, records that "Clear Data"
// would discard; the count and folder of the reports written; File → Exit.
#include <QAction>
#include <QStatusBar>

#include "RecordsFixture.h"

namespace {

class ExportQuestionsTest : public RecordsFixture {
  protected:
    void ImportTwo() {
        Import({WriteSamples("a.txt", {0.1, 0.2, -0.1}), WriteSamples("b.txt", {0.3, -0.2})});
        ASSERT_EQ(form->Document().Records().Count(), 2);
        auto* list = Records<QListWidget>("lst1");
        list->item(0)->setCheckState(Qt::Checked);
        list->item(1)->setCheckState(Qt::Checked);
    }
    QString Out() const { return QDir(folder.path()).filePath("out"); }
    void ExportTimeHistories() {
        platform.folderAnswers.push_back(Out());
        Records<QPushButton>("btn3")->click();
    }
    QByteArray Contents(const QString& name) const {
        QFile file(QDir(Out()).filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

TEST_F(ExportQuestionsTest, TheEndOfAnExportKeepsDoneAndTellsCountAndFolder) {
    ImportTwo();
    ASSERT_TRUE(QDir().mkpath(Out()));
    platform.messages.clear();
    ExportTimeHistories();
    ASSERT_EQ(MessageTexts(), std::vector<QString>{"Done!"});
    EXPECT_TRUE(platform.questions.isEmpty());
    EXPECT_EQ(form->statusBar()->currentMessage(),
              QStringLiteral("2 reports written to %1").arg(QDir::toNativeSeparators(Out())));
}

TEST_F(ExportQuestionsTest, ExistingReportsAreReplacedOnlyWhenTheUserSaysSo) {
    ImportTwo();
    ASSERT_TRUE(QDir().mkpath(Out()));
    QFile old(QDir(Out()).filePath("b_TH.csv"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("keep me");
    old.close();
    platform.messages.clear();
    platform.confirmAnswers.push_back(false);
    ExportTimeHistories();
    ASSERT_EQ(platform.questions.size(), 1);
    EXPECT_EQ(platform.questions[0],
              QStringLiteral("These reports already exist in %1:\nb_TH.csv\nReplace them?")
                  .arg(QDir::toNativeSeparators(Out())));
    EXPECT_EQ(Contents("b_TH.csv"), "keep me");
    EXPECT_FALSE(QFile::exists(QDir(Out()).filePath("a_TH.csv")));
    EXPECT_TRUE(platform.messages.empty());

    platform.confirmAnswers.push_back(true);
    ExportTimeHistories();
    EXPECT_NE(Contents("b_TH.csv"), "keep me");
    EXPECT_TRUE(QFile::exists(QDir(Out()).filePath("a_TH.csv")));
    EXPECT_EQ(MessageTexts(), std::vector<QString>{"Done!"});
}

TEST_F(ExportQuestionsTest, ClearDataAsksBeforeDiscardingLoadedRecords) {
    Records<QPushButton>("btn7")->click();  // nothing loaded: no question
    EXPECT_TRUE(platform.questions.isEmpty());
    ImportTwo();
    platform.confirmAnswers.push_back(false);
    Records<QPushButton>("btn7")->click();
    ASSERT_EQ(platform.questions.size(), 1);
    EXPECT_EQ(platform.questions[0], "Discard the 2 loaded record(s) and their results?");
    EXPECT_EQ(form->Document().Records().Count(), 2);
    platform.confirmAnswers.push_back(true);
    Records<QPushButton>("btn7")->click();
    EXPECT_EQ(form->Document().Records().Count(), 0);
}

TEST_F(ExportQuestionsTest, FileExitClosesTheWindowWithCtrlQ) {
    auto* exit = Frame<QAction>("Exit1");
    EXPECT_EQ(exit->shortcut(), QKeySequence(QKeySequence::Quit));
    form->show();
    ASSERT_TRUE(form->isVisible());
    exit->trigger();
    EXPECT_FALSE(form->isVisible());
}

}  // namespace
