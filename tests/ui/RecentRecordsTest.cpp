// File → Recent Records: the last imports with their reading parameters, kept across runs;
// choosing one imports it again; entries whose files have gone are disabled.
#include <QAction>
#include <QFile>
#include <QMenu>
#include <QSettings>

#include "RecordsFixture.h"
#include "ui/frame/RecentRecords.h"

namespace {

class RecentRecordsTest : public RecordsFixture {
  protected:
    void SetUp() override {
        RecordsFixture::SetUp();
        store = std::make_unique<QSettings>(folder.filePath(QStringLiteral("travik.ini")),
                                            QSettings::IniFormat);
        platform.settings = store.get();
        Restart();
    }
    void TearDown() override {
        RecordsFixture::TearDown();
        platform.settings = nullptr;
    }
    // Closes the window and starts the program again over the same store.
    void Restart() {
        form.reset();
        ProcessDeletions();
        form = std::make_unique<TForm1>(platform);
    }
    QList<QAction*> Entries() const {
        QMenu* menu = Frame<QMenu>("RecentRecords1");
        // The list is made afresh when the menu opens.
        emit menu->aboutToShow();
        return menu->actions();
    }

    std::unique_ptr<QSettings> store;
};

TEST_F(RecentRecordsTest, AnImportIsListedAfterARestartAndChoosingItReadsItAgainAsBefore) {
    const QString a = WriteSamples(QStringLiteral("a.txt"), {0.0, 0.1, -0.2, 0.05});
    const QString b = WriteSamples(QStringLiteral("b.txt"), {0.0, 0.3, -0.1});
    Import({a, b}, QStringLiteral("0.02"));
    ASSERT_EQ(form->Document().Records().Count(), 2);

    Restart();
    ASSERT_EQ(form->Document().Records().Count(), 0);
    const QList<QAction*> entries = Entries();
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries[0]->text(), QStringLiteral("a.txt and 1 more"));
    EXPECT_TRUE(entries[0]->isEnabled());
    entries[0]->trigger();
    form->Document().Work().WaitForFinished();
    QCoreApplication::processEvents();
    ASSERT_EQ(form->Document().Records().Count(), 2);
    // Read with the time step of the first import, not the dialog's default.
    EXPECT_EQ(form->Document().Records().At(0).TimeStep(), 0.02);
    EXPECT_EQ(form->Document().Records().At(1).SampleCount(), 3);
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(RecentRecordsTest, TheNewestComesFirstAndTenAreKept) {
    for (int i = 0; i < 12; ++i) {
        const QString path = WriteSamples(QStringLiteral("r%1.txt").arg(i), {0.0, 0.1});
        Import({path});
    }
    // Importing an earlier one again moves it to the top instead of listing it twice.
    Import({QDir(folder.path()).filePath(QStringLiteral("r5.txt"))});
    const QList<QAction*> entries = Entries();
    ASSERT_EQ(entries.size(), RecentRecords::kMaxEntries);
    EXPECT_EQ(entries[0]->text(), QStringLiteral("r5.txt"));
    EXPECT_EQ(entries[1]->text(), QStringLiteral("r11.txt"));
    EXPECT_EQ(entries[8]->text(), QStringLiteral("r3.txt"));
    EXPECT_EQ(entries[9]->text(), QStringLiteral("r2.txt"));
}

TEST_F(RecentRecordsTest, AnEntryWhoseFileHasGoneIsDisabledAndNamesIt) {
    const QString gone = WriteSamples(QStringLiteral("gone.txt"), {0.0, 0.1});
    Import({gone});
    ASSERT_TRUE(QFile::remove(gone));
    const QList<QAction*> entries = Entries();
    ASSERT_EQ(entries.size(), 1);
    EXPECT_FALSE(entries[0]->isEnabled());
    EXPECT_EQ(entries[0]->toolTip(), QStringLiteral("Not found: ") + gone);
}

TEST_F(RecentRecordsTest, EntriesTheStoreCannotReadAreLeftOut) {
    store->setValue("recent/imports",
                    QStringList{QStringLiteral("not json"), QStringLiteral("{\"format\": 1}")});
    Restart();
    EXPECT_TRUE(Entries().isEmpty());
    EXPECT_TRUE(platform.messages.empty());
}

}  // namespace
