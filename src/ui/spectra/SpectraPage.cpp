// The "Elastic Response Spectra" page of the main window: damping values, the analysis, the
// spectrum chart and its record panel, the five result tables, copying out of them and the
// response-spectra export.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <array>
#include <string>

#include "analysis/DampingValues.h"
#include "app/FormHelpers.h"
#include "app/Unit1.h"
#include "export/ExportMessages.h"
#include "export/ReportHeader.h"
#include "export/SpectraReport.h"
#include "presentation/GridClipboard.h"
#include "presentation/SpectrumChart.h"
#include "presentation/SpectrumTables.h"

namespace {

constexpr int kSpectraPage = 1;  // page of pgc1
constexpr int kKeyA = 65;
constexpr int kKeyC = 67;

// The kind shown by each table, in the order strngrd1 .. strngrd5 (pages 1 .. 5 of pgc2).
constexpr std::array<travik::SpectrumKind, 5> kTableKinds = {
    travik::SpectrumKind::Displacement, travik::SpectrumKind::Velocity,
    travik::SpectrumKind::Acceleration, travik::SpectrumKind::PseudoVelocity,
    travik::SpectrumKind::PseudoAcceleration};

// A long computation shows the busy pointer; a message box in between gets the normal one.
class BusyPointer {
  public:
    BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

    template <class Show>
    static void Interrupt(Show&& show) {
        QApplication::restoreOverrideCursor();
        show();
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
};

}  // namespace

// ---- Damping values ----------------------------------------------------------------------

void TForm1::cbb6Change() {
    const int count = cbb6->currentIndex();
    QLineEdit* const following[] = {edt17, edt18, edt19, edt20, edt21, edt22, edt23, edt24};
    for (int i = 0; i < 8; ++i) {
        following[i]->setEnabled(i < count);
    }
}

bool TForm1::ReadDampingRatios(std::vector<double>& list) {
    QLineEdit* const edits[] = {edt16, edt17, edt18, edt19, edt20, edt21, edt22, edt23, edt24};
    std::vector<std::string> texts;
    for (const QLineEdit* edit : edits) {
        texts.push_back(edit->text().toStdString());
    }
    const int count = cbb6->currentText().toInt();
    const travik::DampingReadResult result =
        travik::ReadDampingRatios(texts, count, DecimalSeparator(), list);
    if (result.ok) {
        return true;
    }
    ShowWarning(QString::fromStdString(result.message));
    if (result.failingEdit >= 0 && result.failingEdit < travik::kMaxDampingValues) {
        edits[result.failingEdit]->setFocus();
    }
    return false;
}

// ---- Analysis ----------------------------------------------------------------------------

bool TForm1::PrepareDampingAndPeriods() {
    SpectrumStore.dampingRatios.clear();
    if (!ReadDampingRatios(SpectrumStore.dampingRatios)) {
        SpectrumStore.dampingRatios.clear();
        return false;
    }
    travik::BuildPeriodList(SpectrumStore.periods, SpectrumStore.frequencies,
                            AnalysisSettings.minPeriod, AnalysisSettings.maxPeriod,
                            AnalysisSettings.periodStep);
    travik::SortAndRemoveRepeatedRatios(SpectrumStore.dampingRatios);
    return true;
}

void TForm1::btn11Click() {
    const int recordIndex = cbb4->currentIndex();
    if (recordIndex < 0 || recordIndex >= RecordList.Count()) {
        return;
    }
    if (!PrepareDampingAndPeriods()) {
        return;
    }

    travik::ClearSpectrumColumns(SpectrumStore);
    ClearSpectrumTables();
    ClearSpectrumChart();
    {
        BusyPointer busy;
        travik::RunSpectrumAnalysis(
            SpectrumStore, RecordList.At(recordIndex), AnalysisSettings,
            [this](const std::string& message) {
                BusyPointer::Interrupt([&] { ShowPlain(QString::fromStdString(message)); });
            });
        analysedLists_.dampingRatios = SpectrumStore.dampingRatios;
        analysedLists_.periods = SpectrumStore.periods;
        analysedLists_.frequencies = SpectrumStore.frequencies;
        PlotSpectra(cbb5->currentIndex(), cbb7->currentIndex());
        FillSpectrumTables();
    }
}

// ---- Result tables -----------------------------------------------------------------------

void TForm1::ClearSpectrumTables() {
    for (StringGrid* grid : {strngrd1, strngrd2, strngrd3, strngrd4, strngrd5}) {
        ClearSpectrumTable(*grid);
    }
}

void TForm1::FillSpectrumTables() {
    StringGrid* const grids[] = {strngrd1, strngrd2, strngrd3, strngrd4, strngrd5};
    for (std::size_t k = 0; k < kTableKinds.size(); ++k) {
        FillSpectrumTable(*grids[k], SpectrumStore, kTableKinds[k], DecimalSeparator());
    }
}

// ---- Spectrum chart ----------------------------------------------------------------------

void TForm1::CreateSpectrumSeries() {
    ::CreateSpectrumSeries(*cht4);
    ClearSpectrumChart();
}

void TForm1::ClearSpectrumChart() {
    ::ClearSpectrumChart(*cht4);
}

void TForm1::PlotSpectra(int abscissa, int ordinate) {
    // The columns of the store with the lists they were computed from (see analysedLists_).
    travik::SpectrumStore shown = SpectrumStore;
    shown.dampingRatios = analysedLists_.dampingRatios;
    shown.periods = analysedLists_.periods;
    shown.frequencies = analysedLists_.frequencies;
    ::PlotSpectra(*cht4, shown, abscissa, ordinate, DecimalSeparator());
}

void TForm1::cbb5Change() {
    if (cbb5->currentIndex() >= 0) {
        cht4->SetBottomAxisTitle(AbscissaTitle(cbb5->currentIndex()));
    }
    ClearSpectrumChart();
    PlotSpectra(cbb5->currentIndex(), cbb7->currentIndex());
}

void TForm1::cbb7Change() {
    if (cbb7->currentIndex() >= 0) {
        cht4->SetLeftAxisTitle(OrdinateTitle(cbb7->currentIndex()));
    }
    ClearSpectrumChart();
    PlotSpectra(cbb5->currentIndex(), cbb7->currentIndex());
}

void TForm1::cht4MouseMove(const QPoint& viewPixel) {
    if (const auto readout = SpectrumReadout(*cht4, viewPixel, DecimalSeparator())) {
        lbl2->setText(*readout);
    }
}

// ---- Record panel ------------------------------------------------------------------------

void TForm1::lst3Click() {
    cbb4->setCurrentIndex(lst3->currentRow());
}

void TForm1::lst3Change() {
    edt15->setText(QString::number(CountChecked(lst3)));
}

// ---- Copying out of the tables -----------------------------------------------------------

StringGrid* TForm1::TargetGrid() const {
    switch (pgc2->currentIndex()) {
        case 2:
            return strngrd2;
        case 3:
            return strngrd3;
        case 4:
            return strngrd4;
        case 5:
            return strngrd5;
        default:
            return strngrd1;
    }
}

void TForm1::CopySelection1Click() {
    CopyGridSelection(*TargetGrid(), platform_);
}

void TForm1::SelectAll1Click() {
    SelectWholeGrid(*TargetGrid());
}

namespace {

// Ctrl+A and Ctrl+C act on a table only while it is shown and has the keyboard focus; the
// key then goes on to the grid as usual.
enum class GridCommand { None, SelectAll, Copy };

GridCommand CommandOfKey(int key, Qt::KeyboardModifiers modifiers, bool tableShownAndFocused) {
    if (!(modifiers & Qt::ControlModifier) || !tableShownAndFocused) {
        return GridCommand::None;
    }
    if (key == kKeyA) {
        return GridCommand::SelectAll;
    }
    if (key == kKeyC) {
        return GridCommand::Copy;
    }
    return GridCommand::None;
}

// The key-down handler of the table on page `page` of pgc2.
void GridKeyDown(TForm1& form, int page, const StringGrid& grid, int key,
                 Qt::KeyboardModifiers modifiers) {
    const bool shownAndFocused = form.pgc1->currentIndex() == kSpectraPage &&
                                 form.pgc2->currentIndex() == page && grid.HasFocus();
    switch (CommandOfKey(key, modifiers, shownAndFocused)) {
        case GridCommand::SelectAll:
            form.SelectAll1Click();
            break;
        case GridCommand::Copy:
            form.CopySelection1Click();
            break;
        case GridCommand::None:
            break;
    }
}

}  // namespace

void TForm1::strngrd1KeyDown(int key, Qt::KeyboardModifiers m) {
    GridKeyDown(*this, 1, *strngrd1, key, m);
}

void TForm1::strngrd2KeyDown(int key, Qt::KeyboardModifiers m) {
    GridKeyDown(*this, 2, *strngrd2, key, m);
}

void TForm1::strngrd3KeyDown(int key, Qt::KeyboardModifiers m) {
    GridKeyDown(*this, 3, *strngrd3, key, m);
}

void TForm1::strngrd4KeyDown(int key, Qt::KeyboardModifiers m) {
    GridKeyDown(*this, 4, *strngrd4, key, m);
}

void TForm1::strngrd5KeyDown(int key, Qt::KeyboardModifiers m) {
    GridKeyDown(*this, 5, *strngrd5, key, m);
}

// ---- Response-spectra export -------------------------------------------------------------

void TForm1::btn10Click() {
    if (!ExportCountAccepted(lst3, travik::SpectraExportLimitMessage(MaxExportNumber))) {
        return;
    }
    if (!PrepareDampingAndPeriods()) {
        return;
    }
    QString folder;
    if (!ChooseExportFolder(folder)) {
        return;
    }

    const travik::ReportDate date = travik::TodayLocalDate();
    const std::string edition = SoftwareEdition.toStdString();
    BusyPointer busy;
    const auto showCalculationError = [this](const std::string& message) {
        BusyPointer::Interrupt([&] { ShowPlain(QString::fromStdString(message)); });
    };
    const std::optional<QString> error = WriteCheckedReports(
        lst3, folder, travik::kSpectraReportSuffix,
        [&](travik::ReportLines& lines, const travik::TimeHistory& record) {
            travik::BuildSpectraReport(lines, record, AnalysisSettings, SpectrumStore.dampingRatios,
                                       SpectrumStore.periods, edition, date, showCalculationError);
        });
    BusyPointer::Interrupt([&] {
        if (error) {
            ShowWarning(*error);
        } else {
            ShowInformation(QString::fromLatin1(travik::kExportDoneMessage));
        }
    });
}
