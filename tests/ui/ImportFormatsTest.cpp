#include <algorithm>

#include <QCheckBox>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextEdit>
#include <QUrl>
#include <QWindow>

#include "RecordsFixture.h"
#include "core/text/NumberParse.h"
#include "ui/app/ScreenFit.h"

namespace {

QString Sample(const char* name) {
    return QStringLiteral(TRAVIK_SAMPLE_DATA_DIR "/formats/") + QString::fromLatin1(name);
}

const char* const kAt2 = "peer/RSN6_IMPVALL.I_I-ELC180-hor1.AT2";

int ShadedLines(const QPlainTextEdit* preview) {
    int shaded = 0;
    for (const QTextEdit::ExtraSelection& mark : preview->extraSelections()) {
        shaded += mark.format.boolProperty(QTextFormat::FullWidthSelection) ? 1 : 0;
    }
    return shaded;
}

QStringList Marked(const QPlainTextEdit* preview) {
    QStringList marked;
    for (const QTextEdit::ExtraSelection& mark : preview->extraSelections()) {
        if (!mark.format.boolProperty(QTextFormat::FullWidthSelection)) {
            marked.append(mark.cursor.selectedText());
        }
    }
    return marked;
}

class ImportFormats : public RecordsFixture {
  protected:
    // Opens the import window and chooses these files with its "Choose Files..." button.
    TForm2* OpenWithFiles(const QStringList& files) {
        platform.fileAnswers.push_back(files);
        Records<QPushButton>("btn1")->click();
        TForm2* dialog = form->findChild<TForm2*>();
        if (dialog != nullptr) {
            Child<QPushButton>(dialog, "btn3")->click();
        }
        return dialog;
    }

    // Drops these files or folders on the middle of `where` (a chart unless told), as a file
    // manager does: the drag goes to the window, which hands it to the control under it.
    // The import window it opens, if any.
    TForm2* Drop(const QList<QUrl>& urls, QWidget* where = nullptr) {
        form->show();
        if (where == nullptr) {
            where = Records<travik::figures::FigureView>("cht2");
        }
        QWindow* window = form->windowHandle();
        EXPECT_NE(window, nullptr);
        const QPoint at = where->mapTo(form.get(), where->rect().center());
        QMimeData data;
        data.setUrls(urls);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window, &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window, &move);
        EXPECT_TRUE(move.isAccepted());
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window, &drop);
        EXPECT_TRUE(drop.isAccepted());
        return form->findChild<TForm2*>();
    }

    void PressOk(TForm2* dialog) {
        Child<QPushButton>(dialog, "btn1")->click();
        ProcessDeletions();
    }
};

TEST_F(ImportFormats, OffersEveryFormatWithAutomaticChosen) {
    OnRecords<QPushButton>(form.get(), "btn1")->click();
    TForm2* dialog = form->findChild<TForm2*>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(Child<QRadioButton>(dialog, "rb5")->isChecked());
    EXPECT_EQ(Child<QRadioButton>(dialog, "rb5")->text(), "Automatic");
    EXPECT_EQ(Child<QRadioButton>(dialog, "rb3")->text(), "Free Type");
    EXPECT_TRUE(Child<QRadioButton>(dialog, "rb4")->isEnabled());
    EXPECT_EQ(Child<QRadioButton>(dialog, "rb4")->text(), "PEER NGA");
    for (const char* name : {"rb6", "rb7", "rb8", "rb9"}) {
        EXPECT_TRUE(Child<QRadioButton>(dialog, name)->isEnabled()) << name;
    }
    EXPECT_FALSE(Child<QCheckBox>(dialog, "chk1")->isEnabled());
    EXPECT_TRUE(Child<QLineEdit>(dialog, "edt1")->isEnabled());
    EXPECT_TRUE(Child<QPlainTextEdit>(dialog, "mmo1")->toPlainText().isEmpty());
}

TEST_F(ImportFormats, PreviewShowsTheHeaderAndWhatAnAt2FileWillReadAs) {
    TForm2* dialog = OpenWithFiles({Sample(kAt2)});
    ASSERT_NE(dialog, nullptr);
    const auto* preview = Child<QPlainTextEdit>(dialog, "mmo1");
    EXPECT_EQ(preview->document()->blockCount(), 40);
    EXPECT_TRUE(preview->toPlainText().startsWith("PEER NGA STRONG MOTION DATABASE RECORD\n"));
    EXPECT_EQ(ShadedLines(preview), 4);
    EXPECT_TRUE(Marked(preview).isEmpty());
    const QString summary = Child<QLabel>(dialog, "lbl7")->text();
    EXPECT_TRUE(
        summary.startsWith("Format: PEER NGA AT2 (detected)\nRecords: 1\nSamples: 5372\n"
                           "Time step: 0.01 s\nDuration: 53.71 s\nUnits: g\n"
                           "PGA: -0.280795 g at 2.18 s\n"))
        << summary.toStdString();
    // The header's time step, greyed; the free-format fields do not apply.
    EXPECT_EQ(Child<QLineEdit>(dialog, "edt1")->text(), "0.01");
    EXPECT_FALSE(Child<QLineEdit>(dialog, "edt1")->isEnabled());
    EXPECT_FALSE(Child<QLineEdit>(dialog, "edt2")->isEnabled());
    EXPECT_FALSE(Child<ArrowSpinBox>(dialog, "edt3")->isEnabled());
    EXPECT_FALSE(Child<ArrowSpinBox>(dialog, "edt4")->isEnabled());
    EXPECT_TRUE(Child<QCheckBox>(dialog, "chk1")->isEnabled());

    Child<QCheckBox>(dialog, "chk1")->setChecked(true);
    EXPECT_TRUE(Child<QLineEdit>(dialog, "edt1")->isEnabled());
}

// A K-NET file's counts times its scale give values of fifteen digits and more
// (-0.00815818732338877 g): the preview shows about six, the time step edit every one.
TEST_F(ImportFormats, PreviewShowsAboutSixSignificantDigits) {
    TForm2* dialog = OpenWithFiles({Sample("knet/CHB0031412312349.EW")});
    ASSERT_NE(dialog, nullptr);
    const QStringList lines = Child<QLabel>(dialog, "lbl7")->text().split(QLatin1Char('\n'));
    EXPECT_TRUE(lines.contains(QStringLiteral("PGA: -0.00815819 g at 16.23 s")))
        << lines.join(QLatin1Char('|')).toStdString();
    for (const QString& line : lines) {
        int run = 0;
        int longest = 0;
        for (const QChar c : line) {
            run = c.isDigit() ? run + 1 : (c == QLatin1Char('.') ? run : 0);
            longest = std::max(longest, run);
        }
        // "0.000998485": leading zeros and six digits.
        EXPECT_LE(longest, 10) << line.toStdString();
    }
    Child<QPushButton>(dialog, "btn2")->click();
}

TEST_F(ImportFormats, OverridingTheTimeStepImportsWithIt) {
    platform.fileAnswers.push_back({Sample(kAt2)});
    Records<QPushButton>("btn1")->click();
    TForm2* dialog = form->findChild<TForm2*>();
    ASSERT_NE(dialog, nullptr);
    Child<QPushButton>(dialog, "btn3")->click();
    Child<QCheckBox>(dialog, "chk1")->setChecked(true);
    Child<QLineEdit>(dialog, "edt1")->setText("0.02");
    Child<QPushButton>(dialog, "btn1")->click();
    ProcessDeletions();
    ASSERT_EQ(form->Document().Records().Count(), 1);
    EXPECT_EQ(form->Document().Records().At(0).TimeStep(), 0.02);
    EXPECT_EQ(form->Document().Records().At(0).SampleCount(), 5372);
    ASSERT_EQ(MessageTexts().size(), 1u);
    EXPECT_TRUE(
        MessageTexts()[0].contains("the time step 0.01 s of the file is replaced by 0.02 s"));
}

TEST_F(ImportFormats, PreviewFollowsSkipColumnAndDelimiter) {
    const QString file = WriteLines("lab.txt", {"time,acc", "s,g", "0.00,0.10", "0.01,-0.25"});
    TForm2* dialog = OpenWithFiles({file});
    ASSERT_NE(dialog, nullptr);
    const auto* preview = Child<QPlainTextEdit>(dialog, "mmo1");
    EXPECT_EQ(ShadedLines(preview), 0);
    EXPECT_TRUE(Child<QLabel>(dialog, "lbl7")->text().contains("ERROR Line: 1."));

    Child<ArrowSpinBox>(dialog, "edt3")->setValue(2);
    Child<ArrowSpinBox>(dialog, "edt4")->setValue(2);
    EXPECT_EQ(ShadedLines(preview), 2);
    EXPECT_EQ(Marked(preview), (QStringList{"0.10", "-0.25"}));
    EXPECT_TRUE(Child<QLabel>(dialog, "lbl7")->text().contains("Samples: 2\n"));
    EXPECT_TRUE(Child<QLabel>(dialog, "lbl8")->text().isEmpty());

    Child<QRadioButton>(dialog, "rb2")->setChecked(true);
    EXPECT_TRUE(Marked(preview).isEmpty());
    EXPECT_EQ(Child<QLabel>(dialog, "lbl8")->text(),
              "The columns look separated by commas (\"0.00,0.10\"), but the delimiter is "
              "Space, so the whole line is one field. Choose Comma as the delimiter.");
}

TEST_F(ImportFormats, PreviewWarnsAboutADecimalComma) {
    const QString file = WriteLines("comma.txt", {"0,10", "-0,25"});
    TForm2* dialog = OpenWithFiles({file});
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(Child<QLabel>(dialog, "lbl8")
                    ->text()
                    .startsWith("The values look like numbers with a decimal comma (\"0,10\"), but "
                                "the delimiter is "
                                "Comma"));
}

TEST_F(ImportFormats, ANamedFormatChosenForAnotherFileShowsTheFaultBeforeImporting) {
    TForm2* dialog = OpenWithFiles({Sample(kAt2)});
    ASSERT_NE(dialog, nullptr);
    Child<QRadioButton>(dialog, "rb8")->setChecked(true);
    EXPECT_EQ(Child<QLabel>(dialog, "lbl7")->text().toStdString(),
              "Format: K-NET/KiK-net ASCII\nFILE: RSN6_IMPVALL.I_I-ELC180-hor1.AT2. ERROR Line: "
              "1. ERROR: no K-NET/KiK-net ASCII header was found (header line 1 does not begin "
              "with \"Origin Time\"); the file looks like PEER NGA AT2: choose Automatic to have "
              "each file's format recognised");
}

TEST_F(ImportFormats, OkWithChosenFilesImportsEveryChannel) {
    TForm2* dialog = OpenWithFiles({Sample("csmip/CIWLT.V2"), Sample(kAt2)});
    ASSERT_NE(dialog, nullptr);
    Child<QPushButton>(dialog, "btn1")->click();
    ProcessDeletions();
    EXPECT_EQ(form->findChild<TForm2*>(), nullptr);
    auto* list = Records<QListWidget>("lst1");
    ASSERT_EQ(list->count(), 4);
    EXPECT_EQ(list->item(0)->text(), "CIWLT_ch1_090");
    EXPECT_EQ(list->item(2)->text(), "CIWLT_ch3_Up");
    EXPECT_EQ(list->item(3)->text(), "RSN6_IMPVALL.I_I-ELC180-hor1.AT2");
    EXPECT_EQ(form->Document().Records().At(0).TimeStep(), 0.02);
    EXPECT_EQ(form->Document().Records().At(3).TimeStep(), 0.01);
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(ImportFormats, DroppedFilesOpenTheImportWindowWithThemChosenAndReplaceNothingBeforeOk) {
    Import({WriteSamples("old.txt", {0.1, 0.2})});
    ASSERT_EQ(form->Document().Records().Count(), 1);

    TForm2* dialog = Drop({QUrl::fromLocalFile(Sample(kAt2)),
                           QUrl::fromLocalFile(Sample("knet/CHB0031412312349.EW"))});
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(Child<MiddleElidedLabel>(dialog, "lbl6")->FullText(),
              "2 file(s); preview of RSN6_IMPVALL.I_I-ELC180-hor1.AT2");
    EXPECT_EQ(dialog->Preview().read.format, travik::RecordFormat::PeerNga);
    EXPECT_EQ(Child<QLineEdit>(dialog, "edt1")->text(), "0.01");  // the file's own
    // Nothing is read before OK, and Cancel leaves the records as they were.
    EXPECT_EQ(Records<QListWidget>("lst1")->item(0)->text(), "old.txt");
    Child<QPushButton>(dialog, "btn2")->click();
    ProcessDeletions();
    ASSERT_EQ(Records<QListWidget>("lst1")->count(), 1);

    PressOk(Drop({QUrl::fromLocalFile(Sample(kAt2)),
                  QUrl::fromLocalFile(Sample("knet/CHB0031412312349.EW"))},
                 Records<QListWidget>("lst1")));
    auto* list = Records<QListWidget>("lst1");
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), "RSN6_IMPVALL.I_I-ELC180-hor1.AT2");
    EXPECT_EQ(list->item(1)->text(), "CHB0031412312349.EW");
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(ImportFormats, ADroppedFolderOfFreeFormatFilesAsksForTheTimeStep) {
    // A folder: every record file in it, by name; other files are left out.
    QDir(folder.path()).mkdir("drop");
    const QString inside = QDir(folder.path()).filePath("drop");
    QFile::copy(Sample(kAt2), inside + "/b.AT2");
    WriteLines("drop/a.txt", {"0.1", "0.2", "0.3"});
    WriteLines("drop/notes.md", {"# notes", "not a record"});
    TForm2* dialog =
        Drop({QUrl::fromLocalFile(inside)}, Spectra<travik::figures::FigureView>("cht4"));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Child<MiddleElidedLabel>(dialog, "lbl6")->FullText(), "2 file(s); preview of a.txt");
    // The first is free format: no time step is taken for granted, nor any time or duration
    // that would follow from one.
    EXPECT_EQ(Child<QLineEdit>(dialog, "edt1")->text(), "");
    const QString summary = Child<QLabel>(dialog, "lbl7")->text();
    EXPECT_TRUE(summary.contains("Time step: not entered yet")) << summary.toStdString();
    EXPECT_FALSE(summary.contains("Duration")) << summary.toStdString();
    EXPECT_TRUE(
        Child<QLabel>(dialog, "lbl8")
            ->text()
            .startsWith("Enter the time step dt: a free-format file does not state its own."));
    Child<QPushButton>(dialog, "btn1")->click();
    ASSERT_EQ(MessageTexts().size(), 1u);
    EXPECT_EQ(MessageTexts()[0],
              QString::fromStdString(travik::NotAValidFloatingNumberMessage("")));
    EXPECT_TRUE(form->Document().Records().IsEmpty());
    ASSERT_EQ(form->findChild<TForm2*>(), dialog);

    QTest::keyClicks(Child<QLineEdit>(dialog, "edt1"), "0.02");  // typed, as a user would
    EXPECT_TRUE(
        Child<QLabel>(dialog, "lbl7")->text().contains("Time step: 0.02 s\nDuration: 0.04 s"));
    PressOk(dialog);
    auto* list = Records<QListWidget>("lst1");
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), "a.txt");
    EXPECT_EQ(list->item(1)->text(), "b.AT2");
    EXPECT_EQ(form->Document().Records().At(0).TimeStep(), 0.02);
    EXPECT_EQ(form->Document().Records().At(1).TimeStep(), 0.01);
}

TEST_F(ImportFormats, ADroppedFileThatFailsIsNamedAndTheFilesBeforeItStay) {
    const QString bad = WriteLines("bad.AT2", {"PEER NGA STRONG MOTION DATABASE RECORD", "x, 1",
                                               "ACCELERATION TIME SERIES IN UNITS OF G",
                                               "NPTS=      3, DT=   .0100 SEC", "  .1E-01"});
    PressOk(Drop({QUrl::fromLocalFile(Sample(kAt2)), QUrl::fromLocalFile(bad)}));
    EXPECT_EQ(form->Document().Records().Count(), 1);
    ASSERT_EQ(MessageTexts().size(), 1u);
    EXPECT_EQ(MessageTexts()[0],
              "FILE: bad.AT2. ERROR Line: 5. ERROR: PEER NGA AT2: the header announces 3 values; "
              "the file ends after 1");

    QDir(folder.path()).mkdir("empty");
    EXPECT_EQ(Drop({QUrl::fromLocalFile(QDir(folder.path()).filePath("empty"))}), nullptr);
    EXPECT_EQ(form->Document().Records().Count(), 1);
    ASSERT_EQ(MessageTexts().size(), 2u);
    EXPECT_EQ(MessageTexts()[1], "FOLDER: empty, WARNING: there is no record file in it to read!");
}

}  // namespace
