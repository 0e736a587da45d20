#include "ui/frame/MainWindow.h"

#include <QAction>
#include <QFile>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QTabWidget>
#include <string>
#include <vector>

#include "core/export/ReportHeader.h"
#include "core/workspace/WorkspaceDocument.h"
#include "ui/analysis/AnalysisSettingForm.h"
#include "ui/app/PlatformServices.h"
#include "ui/frame/About.h"
#include "ui/frame/DroppedFiles.h"
#include "ui/frame/KeyboardShortcuts.h"
#include "ui/frame/RecentRecords.h"
#include "ui/frame/RecordImport.h"
#include "ui/frame/SettingsMemory.h"
#include "ui/frame/StatusFields.h"
#include "ui/frame/UserGuide.h"
#include "ui/frame/WorkspaceFiles.h"
#include "ui/measures/MeasuresPage.h"
#include "ui/records/InputFileForm.h"
#include "ui/records/RecordsPage.h"
#include "ui/spectra/SpectraPage.h"

namespace {

constexpr int kClientWidth = 1054;
constexpr int kClientHeight = 545;

// Opens a window of the frame's: modal or not, gone when closed.
template <class Window>
Window* Open(Window* window, bool modal) {
    window->setAttribute(Qt::WA_DeleteOnClose);
    if (modal) {
        window->setWindowModality(Qt::ApplicationModal);
    }
    window->show();
    return window;
}

}  // namespace

TForm1::TForm1(PlatformServices& platform, QWidget* parent)
    : QMainWindow(parent), platform_(platform) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("TRAVIK(%1)").arg(QString::fromLatin1(travik::kSoftwareEdition)));
    CreateMenus();
    pgc1 = Named(new QTabWidget(this), "pgc1");
    setCentralWidget(pgc1);

    // The pages, in the order of their tabs.
    records_ = new RecordsPage(workspace_, platform_);
    AddPage(records_, "ts1", QStringLiteral("Time History Records"),
            QStringLiteral("Tips: Grey line is corrected results!"));
    spectra_ = new SpectraPage(workspace_, platform_);
    AddPage(spectra_, "ts2", QStringLiteral("Elastic Response Spectra"),
            QStringLiteral("Tips: Response spectra analysis is based on corrected results."));
    measures_ = new MeasuresPage(workspace_, platform_);
    AddPage(measures_, "ts3", QStringLiteral("Ground Motion Parameters"),
            QStringLiteral("Tips: Measures are taken from the corrected (grey) results."));
    connect(records_, &RecordsPage::importRequested, this, &TForm1::ImportTimeHistoryRecords1Click);
    const auto popUpCheckMenu = [this](const QPoint& at) { pm1->popup(at); };
    connect(records_, &RecordsPage::checkListMenuRequested, this, popUpCheckMenu);
    connect(spectra_, &SpectraPage::checkListMenuRequested, this, popUpCheckMenu);
    connect(measures_, &MeasuresPage::checkListMenuRequested, this, popUpCheckMenu);

    statusFields_ = new StatusFields(*this, platform_);
    new FileDrops(*this, [this](const QMimeData& dropped) { FilesDropped(dropped); });
    new WorkIndicator(workspace_.Work(), statusFields_->Bar());
    connect(&workspace_.Work(), &BackgroundWork::busyChanged, this,
            [this](bool busy) { ImportTimeHistoryRecords1->setEnabled(!busy); });
    pgc1->setCurrentIndex(0);
    connect(pgc1, &QTabWidget::currentChanged, this, &TForm1::pgc1Change);
    resize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
    recent_ = new RecentRecords(
        *File1, platform_.RememberedSettingsStore(),
        [this](const RecentImport& entry) { ImportFiles(entry.paths, entry.options, false); });
    workspaceFiles_ = new WorkspaceFiles(*this, workspace_, *File1, SaveChartAs1, platform_);
    File1->addSeparator();
    QAction* exit = Named(File1->addAction(QStringLiteral("Exit")), "Exit1");
    exit->setShortcut(QKeySequence::Quit);
    connect(exit, &QAction::triggered, this, &QWidget::close);
    AssignKeyboardShortcuts(*this);
    memory_ = new SettingsMemory(*this, workspace_, *Options1, platform_);
    centred_ = memory_->Restore();
}

TForm1::~TForm1() {
    FormDestroy();
    // The secondary windows and the pages read the workspace; they go before it. Nothing
    // may call back into this half-destroyed window while Qt deletes the rest.
    delete Form3.data();
    delete Form2.data();
    delete pgc1;
    for (QObject* child : findChildren<QObject*>()) {
        child->blockSignals(true);
    }
}

void TForm1::AddPage(QWidget* page, const char* name, const QString& caption, const QString& tip) {
    pgc1->addTab(Named(page, name), caption);
    pageTips_.push_back(tip);
}

void TForm1::CreateMenus() {
    QMenuBar* mm1 = Named(menuBar(), "mm1");
    File1 = Named(mm1->addMenu(QStringLiteral("File")), "File1");
    ImportTimeHistoryRecords1 =
        Named(File1->addAction(QStringLiteral("Import Time History Records")),
              "ImportTimeHistoryRecords1");
    SaveChartAs1 = Named(File1->addAction(QStringLiteral("Save Chart As…")), "SaveChartAs1");
    connect(SaveChartAs1, &QAction::triggered, this, [this] {
        if (PageCommands* page = PageShown()) {
            page->SaveChartAs();
        }
    });
    Options1 = Named(mm1->addMenu(QStringLiteral("Options")), "Options1");
    Setting1 = Named(Options1->addAction(QStringLiteral("Analysis Settings")), "Setting1");
    Help1 = Named(mm1->addMenu(QStringLiteral("Help")), "Help1");
    QAction* guide = Named(Help1->addAction(QStringLiteral("User Guide")), "UserGuide1");
    guide->setShortcut(QKeySequence::HelpContents);
    connect(guide, &QAction::triggered, this, [this] { Open(new UserGuideWindow(this), false); });
    about_ = Named(Help1->addAction(QStringLiteral("About TRAVIK")), "AboutDIVU1");

    pm1 = Named(new QMenu(this), "pm1");
    checkAll_ = Named(pm1->addAction(QStringLiteral("Check All")), "CheckAll1");
    checkNone_ = Named(pm1->addAction(QStringLiteral("Check None")), "InvertCheck1");
    invertCheck_ = Named(pm1->addAction(QStringLiteral("Invert Check")), "InvertCheck2");

    connect(ImportTimeHistoryRecords1, &QAction::triggered, this,
            &TForm1::ImportTimeHistoryRecords1Click);
    connect(Setting1, &QAction::triggered, this, &TForm1::Setting1Click);
    connect(about_, &QAction::triggered, this, &TForm1::AboutDIVU1Click);
    connect(checkAll_, &QAction::triggered, this, &TForm1::CheckAll1Click);
    connect(checkNone_, &QAction::triggered, this, &TForm1::InvertCheck1Click);
    connect(invertCheck_, &QAction::triggered, this, &TForm1::InvertCheck2Click);
}

// ---- Window frame ------------------------------------------------------------------------

void TForm1::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!centred_) {
        centred_ = true;
        if (const QScreen* screen = this->screen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
    }
}

void TForm1::FormResize() {
    records_->FitChartSplits();
}

void TForm1::pgc1Change(int index) {
    if (index >= 0 && index < static_cast<int>(pageTips_.size())) {
        statusFields_->ShowTip(pageTips_[static_cast<std::size_t>(index)]);
    }
}

void TForm1::FormDestroy() {
    if (destroyed_) {
        return;
    }
    destroyed_ = true;
    memory_->RememberAtClose();
    // A job still running reads the records: it stops, and hands back nothing, first.
    workspace_.Work().Cancel();
    workspace_.Work().WaitForFinished();
    workspace_.ReleaseAll();
}

// ---- Menu commands -----------------------------------------------------------------------

void TForm1::AboutDIVU1Click() {
    Open(new TAboutBox(platform_, this), true);
}

void TForm1::Setting1Click() {
    delete Form3.data();
    Form3 = Open(new TForm3(workspace_.Settings(), DecimalSeparator(), platform_, this), true);
    connect(Form3, &TForm3::SettingsUpdated, &workspace_, &Workspace::SetSettings);
}

void TForm1::ImportTimeHistoryRecords1Click() {
    OpenImport({});
}

void TForm1::OpenImport(const QStringList& dropped) {
    delete Form2.data();
    Form2 = Open(new TForm2(platform_, this), true);
    ShowLastImport(*Form2, recent_->Entries());
    if (!dropped.isEmpty()) {
        Form2->ShowDroppedFiles(dropped);
    }
    TForm2* dialog = Form2;
    connect(Form2, &TForm2::FilesChosen, this,
            [this, dialog](const travik::RecordReadOptions& options, const QStringList& files) {
                std::vector<std::string> paths = LocalPaths(files);
                recent_->Add({paths, options});
                ImportFiles(std::move(paths), options, dialog->AppendToLoaded());
            });
}

void TForm1::ImportFiles(std::vector<std::string> paths, const travik::RecordReadOptions& options,
                         bool append) {
    StartRecordImport(workspace_, platform_, this, std::move(paths), options, append);
}

// ---- Dropped files and folders -------------------------------------------------------------

// Dropped files, and every record file of a dropped folder, are chosen in the import window,
// which previews them and reads nothing before its OK: a drop never replaces the records
// loaded on its own.
void TForm1::FilesDropped(const QMimeData& dropped) {
    if (workspace_.Work().IsBusy()) {
        return;
    }
    travik::FreeFormatParameters free;
    free.decimalSeparator = DecimalSeparator();
    const std::vector<std::string> paths =
        DroppedRecordFiles(dropped, free, [this](const QString& message) {
            platform_.ShowMessage(this, PlatformServices::MessageKind::Information, message);
        });
    if (!paths.empty()) {
        OpenImport(FileNames(paths));
    }
}

void TForm1::OpenGivenFiles(const std::vector<std::string>& paths) {
    if (paths.empty()) {
        return;
    }
    const QString first = QFile::decodeName(QByteArray::fromStdString(paths.front()));
    if (first.endsWith(QLatin1String(travik::kWorkspaceExtension), Qt::CaseInsensitive)) {
        workspaceFiles_->OpenFrom(first);
        return;
    }
    travik::RecordReadOptions options;
    options.format = travik::RecordFormat::Automatic;
    options.free.decimalSeparator = DecimalSeparator();
    ImportFiles(paths, options, false);
}

PageCommands* TForm1::PageShown() const {
    return dynamic_cast<PageCommands*>(pgc1->currentWidget());
}

void TForm1::ChangeRecordChecksOfPageShown(CheckChange change) {
    if (PageCommands* page = PageShown()) {
        page->ChangeRecordChecks(change);
    }
}

void TForm1::CheckAll1Click() {
    ChangeRecordChecksOfPageShown(CheckChange::CheckAll);
}

void TForm1::InvertCheck1Click() {
    ChangeRecordChecksOfPageShown(CheckChange::CheckNone);
}

void TForm1::InvertCheck2Click() {
    ChangeRecordChecksOfPageShown(CheckChange::Invert);
}
