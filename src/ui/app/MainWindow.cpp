#include "app/Unit1.h"

#include <QAbstractAxis>
#include <QAction>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFormLayout>
#include <QGraphicsLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>
#include <filesystem>

#include "analysis/AnalysisSettingForm.h"
#include "app/About.h"
#include "app/FormHelpers.h"
#include "export/ExportMessages.h"
#include "export/ReportHeader.h"
#include "export/TimeHistoryReport.h"
#include "presentation/THData.h"
#include "records/BaselineCorrection.h"
#include "records/InputFileForm.h"

namespace {

template <class W>
W* Named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

const QColor kRawLineColor(255, 128, 255);
const QColor kCorrectedLineColor(128, 128, 128);
const QColor kFirstMarkColor(255, 0, 0);
const QColor kMaximumMarkColor(0, 255, 0);
const QColor kMinimumMarkColor(255, 255, 0);
const QColor kCounterColor(255, 0, 255);
const QColor kLinkHoverColor(255, 0, 255);

// Shares of the records page's graph height: the acceleration chart gets 34 % and the
// other two charts share the rest equally. Before the first resize the splits are 37 % and
// 70 % of the rest.
constexpr int kUpperSplitPercent = 34;
constexpr int kLowerSplitPercent = 50;
constexpr int kInitialUpperSplitPercent = 37;
constexpr int kInitialLowerSplitPercent = 70;

constexpr int kClientWidth = 1054;
constexpr int kClientHeight = 545;

const char* const kFirstTip = "Tips: grey line is corrected results!";
const char* const kRecordsPageTip = "Tips: Grey line is corrected results!";
const char* const kSpectraPageTip =
    "Tips: Response spectra analysis is based on corrected results.";

QLineEdit* MakeCounter(const char* name) {
    auto* edit = Named(new QLineEdit(QStringLiteral("0")), name);
    edit->setReadOnly(true);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Text, kCounterColor);
    edit->setPalette(palette);
    return edit;
}

// Fills one chart series with (i * dt, values[i]) in one step; long records would be slow
// point by point.
void SetSeriesSamples(ChartAdapter* chart, int series, const travik::DOUBLEVECTOR& values,
                      double timeStep) {
    QList<QPointF> points;
    points.reserve(static_cast<qsizetype>(values.size()));
    for (std::size_t i = 0; i < values.size(); ++i) {
        points.append(QPointF(static_cast<double>(i) * timeStep, values[i]));
    }
    chart->SetPoints(series, points);
}

// The three marks of a raw series: its first sample, its maximum and its minimum, each at
// the time of the first sample holding that value.
void AddMarks(ChartAdapter* chart, const travik::DOUBLEVECTOR& values, double timeStep) {
    if (values.empty()) {
        return;
    }
    const auto maximum = std::max_element(values.begin(), values.end());
    const auto minimum = std::min_element(values.begin(), values.end());
    const auto timeOf = [&](travik::DOUBLEVECTOR::const_iterator at) {
        return static_cast<double>(at - values.begin()) * timeStep;
    };
    chart->AddPoint(2, 0.0, values.front(), kFirstMarkColor);
    chart->AddPoint(2, timeOf(maximum), *maximum, kMaximumMarkColor);
    chart->AddPoint(2, timeOf(minimum), *minimum, kMinimumMarkColor);
}

}  // namespace

TForm1::TForm1(PlatformServices& platform, QWidget* parent)
    : QMainWindow(parent), platform_(platform) {
    setObjectName(QStringLiteral("Form1"));

    CreateMenus();
    pgc1 = Named(new QTabWidget(this), "pgc1");
    ts1 = Named(CreateRecordsPage(), "ts1");
    ts2 = Named(CreateSpectraPage(), "ts2");
    pgc1->addTab(ts1, QStringLiteral("Time History Records"));
    pgc1->addTab(ts2, QStringLiteral("Elastic Response Spectra"));
    setCentralWidget(pgc1);
    CreateStatusBar();

    SoftwareEdition = QString::fromLatin1(travik::kSoftwareEdition);
    setWindowTitle(QStringLiteral("TRAVIK(%1)").arg(SoftwareEdition));
    MaxExportNumber = travik::kMaxExportNumber;
    pgc1->setCurrentIndex(0);
    pgc2->setCurrentIndex(0);
    rzslctfldrdlg1.selectedFolder = QCoreApplication::applicationDirPath();
    AnalysisSettings = travik::AnalysisSettings{};
    CreateSpectrumSeries();

    ConnectHandlers();
    resize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
}

TForm1::~TForm1() {
    FormDestroy();
    // The secondary windows read the records; they go first. Children must not call back
    // into this half-destroyed window while Qt deletes them.
    delete Form4.data();
    delete Form3.data();
    delete Form2.data();
    for (QObject* child : findChildren<QObject*>()) {
        child->blockSignals(true);
    }
}

// ---- Construction ------------------------------------------------------------------------

void TForm1::CreateMenus() {
    QMenuBar* mm1 = menuBar();
    mm1->setObjectName(QStringLiteral("mm1"));
    File1 = Named(mm1->addMenu(QStringLiteral("File")), "File1");
    ImportTimeHistoryRecords1 = File1->addAction(QStringLiteral("Import Time History Records"));
    ImportTimeHistoryRecords1->setObjectName(QStringLiteral("ImportTimeHistoryRecords1"));
    Options1 = Named(mm1->addMenu(QStringLiteral("Options")), "Options1");
    Setting1 = Options1->addAction(QStringLiteral("Analysis Settings"));
    Setting1->setObjectName(QStringLiteral("Setting1"));
    Help1 = Named(mm1->addMenu(QStringLiteral("Help")), "Help1");
    AboutDIVU1 = Help1->addAction(QStringLiteral("About TRAVIK"));
    AboutDIVU1->setObjectName(QStringLiteral("AboutDIVU1"));

    pm1 = Named(new QMenu(this), "pm1");
    CheckAll1 = pm1->addAction(QStringLiteral("Check All"));
    CheckAll1->setObjectName(QStringLiteral("CheckAll1"));
    InvertCheck1 = pm1->addAction(QStringLiteral("Check None"));
    InvertCheck1->setObjectName(QStringLiteral("InvertCheck1"));
    InvertCheck2 = pm1->addAction(QStringLiteral("Invert Check"));
    InvertCheck2->setObjectName(QStringLiteral("InvertCheck2"));

    pm2 = Named(new QMenu(this), "pm2");
    CopySelection1 = pm2->addAction(QStringLiteral("Copy Selection ( Ctrl+C )"));
    CopySelection1->setObjectName(QStringLiteral("CopySelection1"));
    SelectAll1 = pm2->addAction(QStringLiteral("Select All ( Ctrl+A )"));
    SelectAll1->setObjectName(QStringLiteral("SelectAll1"));
}

ChartAdapter* TForm1::CreateTimeHistoryChart(const QString& name, const QString& leftTitle,
                                             QWidget* parent) {
    auto* view = new QChartView(parent);
    view->setObjectName(name);
    auto* chart = new ChartAdapter(view, this);
    chart->setObjectName(name);
    chart->SetLegendVisible(false);
    chart->SetBackgroundGradient(QColor(220, 220, 220), QColor(250, 250, 250));
    // Three charts share the page's height: small axis texts leave room for the curves.
    QChart* qchart = view->chart();
    qchart->setMargins(QMargins(2, 2, 6, 2));
    qchart->layout()->setContentsMargins(0, 0, 0, 0);
    for (QAbstractAxis* axis : qchart->axes()) {
        QFont titleFont = axis->titleFont();
        titleFont.setPixelSize(10);
        axis->setTitleFont(titleFont);
        QFont labelFont = axis->labelsFont();
        labelFont.setPixelSize(10);
        axis->setLabelsFont(labelFont);
    }
    view->setRenderHint(QPainter::Antialiasing, false);
    view->setMinimumHeight(60);
    chart->SetLeftAxisTitle(leftTitle);
    chart->SetBottomAxisTitle(QStringLiteral("Time [sec]"));
    // Raw line, corrected line, marks: drawn in this order, so the marks stay on top.
    chart->AddLineSeries(kRawLineColor);
    chart->AddLineSeries(kCorrectedLineColor);
    chart->AddPointSeries(kFirstMarkColor);
    return chart;
}

QWidget* TForm1::CreateRecordsPage() {
    auto* page = new QWidget;
    auto* pageLayout = new QHBoxLayout(page);
    pageLayout->setContentsMargins(4, 4, 4, 4);

    grp1 = Named(new QGroupBox(QStringLiteral("Time History Records")), "grp1");
    grp1->setFixedWidth(212);
    auto* left = new QVBoxLayout(grp1);
    btn1 = Named(new QPushButton(QStringLiteral("Import Data")), "btn1");
    btn7 = Named(new QPushButton(QStringLiteral("Clear Data")), "btn7");
    lst1 = Named(new QListWidget, "lst1");
    lst1->setContextMenuPolicy(Qt::CustomContextMenu);
    auto* counters = new QFormLayout;
    lbl3 = Named(new QLabel(QStringLiteral("Number of Checked")), "lbl3");
    edt3 = MakeCounter("edt3");
    lbl1 = Named(new QLabel(QStringLiteral("Number of Records")), "lbl1");
    edt1 = MakeCounter("edt1");
    counters->addRow(lbl3, edt3);
    counters->addRow(lbl1, edt1);
    btn2 = Named(new QPushButton(QStringLiteral("Detailed Data")), "btn2");
    grp3 = Named(new QGroupBox(QStringLiteral("Base Line Correction")), "grp3");
    auto* correction = new QVBoxLayout(grp3);
    rb1 = Named(new QRadioButton(QStringLiteral("Linear")), "rb1");
    rb2 = Named(new QRadioButton(QStringLiteral("Parabolic")), "rb2");
    rb3 = Named(new QRadioButton(QStringLiteral("No Baseline Correction")), "rb3");
    rb1->setChecked(true);
    btn4 = Named(new QPushButton(QStringLiteral("Apply Baseline Correction")), "btn4");
    correction->addWidget(rb1);
    correction->addWidget(rb2);
    correction->addWidget(rb3);
    correction->addWidget(btn4);
    btn3 = Named(new QPushButton(QStringLiteral("Export Checked Data")), "btn3");
    left->addWidget(btn1);
    left->addWidget(btn7);
    left->addWidget(lst1, 1);
    left->addLayout(counters);
    left->addWidget(btn2);
    left->addWidget(grp3);
    left->addWidget(btn3);

    grp2 = Named(new QGroupBox(QStringLiteral("Graph")), "grp2");
    auto* right = new QVBoxLayout(grp2);
    right->setContentsMargins(0, 0, 0, 0);
    spl1 = Named(new QSplitter(Qt::Vertical), "spl1");
    spl2 = Named(new QSplitter(Qt::Vertical), "spl2");
    cht1 = CreateTimeHistoryChart(QStringLiteral("cht1"), QStringLiteral("Acceleration[g]"), spl1);
    cht2 =
        CreateTimeHistoryChart(QStringLiteral("cht2"), QStringLiteral("Velocity [cm/sec]"), spl2);
    cht3 =
        CreateTimeHistoryChart(QStringLiteral("cht3"), QStringLiteral("Displacement [cm]"), spl2);
    spl1->addWidget(cht1->View());
    spl1->addWidget(spl2);
    spl2->addWidget(cht2->View());
    spl2->addWidget(cht3->View());
    for (QSplitter* splitter : {spl1, spl2}) {
        splitter->setChildrenCollapsible(false);
    }
    spl1->setSizes({kInitialUpperSplitPercent * 100, (100 - kInitialUpperSplitPercent) * 100});
    spl2->setSizes({kInitialLowerSplitPercent * 100, (100 - kInitialLowerSplitPercent) * 100});
    right->addWidget(spl1);

    pageLayout->addWidget(grp1);
    pageLayout->addWidget(grp2, 1);
    return page;
}

QWidget* TForm1::CreateSpectraRecordPanel() {
    grp4 = Named(new QGroupBox(QStringLiteral("Time History Records")), "grp4");
    grp4->setFixedWidth(227);
    auto* left = new QVBoxLayout(grp4);

    auto* recordRow = new QHBoxLayout;
    lbl12 = Named(new QLabel(QStringLiteral("Record")), "lbl12");
    cbb4 = Named(new QComboBox, "cbb4");
    cbb4->setEditable(false);
    cbb4->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cbb4->setMinimumContentsLength(8);
    recordRow->addWidget(lbl12);
    recordRow->addWidget(cbb4, 1);
    left->addLayout(recordRow);

    lst3 = Named(new QListWidget, "lst3");
    lst3->setContextMenuPolicy(Qt::CustomContextMenu);
    left->addWidget(lst3, 1);

    auto* counters = new QFormLayout;
    lbl16 = Named(new QLabel(QStringLiteral("Number of Checked")), "lbl16");
    edt15 = MakeCounter("edt15");
    lbl17 = Named(new QLabel(QStringLiteral("Number of Records")), "lbl17");
    edt14 = MakeCounter("edt14");
    counters->addRow(lbl16, edt15);
    counters->addRow(lbl17, edt14);
    left->addLayout(counters);

    grp5 = Named(new QGroupBox(QStringLiteral("Viscous Damping Values (%)")), "grp5");
    auto* damping = new QGridLayout(grp5);
    lbl14 = Named(new QLabel(QStringLiteral("No.of Damping Values")), "lbl14");
    cbb6 = Named(new QComboBox, "cbb6");
    for (int count = 1; count <= 9; ++count) {
        cbb6->addItem(QString::number(count));
    }
    cbb6->setCurrentIndex(0);
    damping->addWidget(lbl14, 0, 0, 1, 2);
    damping->addWidget(cbb6, 0, 2);
    const char* const names[] = {"edt16", "edt17", "edt18", "edt19", "edt20",
                                 "edt21", "edt22", "edt23", "edt24"};
    const char* const defaults[] = {"5", "10", "15", "20", "30", "35", "40", "50", "60"};
    QLineEdit** edits[] = {&edt16, &edt17, &edt18, &edt19, &edt20, &edt21, &edt22, &edt23, &edt24};
    for (int i = 0; i < 9; ++i) {
        QLineEdit* edit = Named(new QLineEdit(QString::fromLatin1(defaults[i])), names[i]);
        edit->setEnabled(i == 0);
        damping->addWidget(edit, 1 + i / 3, i % 3);
        *edits[i] = edit;
    }
    left->addWidget(grp5);

    btn11 = Named(new QPushButton(QStringLiteral("Analyze and Refresh")), "btn11");
    btn10 = Named(new QPushButton(QStringLiteral("Export Checked")), "btn10");
    left->addWidget(btn11);
    left->addWidget(btn10);
    return grp4;
}

QWidget* TForm1::CreateSpectraGraphTab() {
    auto* tab = new QWidget;
    tab->setObjectName(QStringLiteral("ts3"));
    auto* layout = new QVBoxLayout(tab);
    layout->setContentsMargins(2, 2, 2, 2);
    auto* choices = new QHBoxLayout;
    lbl13 = Named(new QLabel(QStringLiteral("X-Axis")), "lbl13");
    cbb5 = Named(new QComboBox, "cbb5");
    cbb5->addItems(
        {QStringLiteral("Period"), QStringLiteral("Frequency"), QStringLiteral("Displacement")});
    lbl15 = Named(new QLabel(QStringLiteral("Y-Axis")), "lbl15");
    cbb7 = Named(new QComboBox, "cbb7");
    cbb7->addItems({QStringLiteral("Displacement"), QStringLiteral("Velocity"),
                    QStringLiteral("Acceleration"), QStringLiteral("Pseudo-Velocity"),
                    QStringLiteral("Pseudo-Acceleration")});
    lbl2 = Named(new QLabel(QStringLiteral("X : 0      Y : 0")), "lbl2");
    SetLabelLook(lbl2, kCounterColor, false);
    lbl2->setMinimumWidth(320);
    choices->addWidget(lbl13);
    choices->addWidget(cbb5);
    choices->addSpacing(12);
    choices->addWidget(lbl15);
    choices->addWidget(cbb7);
    choices->addSpacing(24);
    choices->addWidget(lbl2);
    choices->addStretch(1);
    layout->addLayout(choices);

    auto* view = new QChartView(tab);
    view->setObjectName(QStringLiteral("cht4"));
    cht4 = new ChartAdapter(view, this);
    cht4->setObjectName(QStringLiteral("cht4"));
    // Shaded from right to left, ending in a light grey; the legend lists the spectra.
    cht4->SetBackgroundGradient(QColor(255, 255, 255), QColor(230, 230, 230));
    cht4->SetLegendVisible(true);
    cht4->SetBottomAxisTitle(QStringLiteral("Period [sec]"));
    cht4->SetLeftAxisTitle(QStringLiteral("Response Displacement [cm]"));
    layout->addWidget(view, 1);
    return tab;
}

QWidget* TForm1::CreateSpectraPage() {
    auto* page = new QWidget;
    auto* pageLayout = new QHBoxLayout(page);
    pageLayout->setContentsMargins(4, 4, 4, 4);
    pageLayout->addWidget(CreateSpectraRecordPanel());

    pgc2 = Named(new QTabWidget, "pgc2");
    pgc2->addTab(CreateSpectraGraphTab(), QStringLiteral("Graph"));
    const char* const gridNames[] = {"strngrd1", "strngrd2", "strngrd3", "strngrd4", "strngrd5"};
    const char* const captions[] = {"Displacement", "Velocity", "Acceleration", "Pseudo-Velocity",
                                    "Pseudo-Accelertion"};
    StringGrid** grids[] = {&strngrd1, &strngrd2, &strngrd3, &strngrd4, &strngrd5};
    for (int k = 0; k < 5; ++k) {
        auto* tab = new QWidget;
        tab->setObjectName(QStringLiteral("ts%1").arg(4 + k));
        auto* layout = new QVBoxLayout(tab);
        layout->setContentsMargins(2, 2, 2, 2);
        // Designed with ten columns and a handful of rows; an analysis resizes it.
        auto* grid = Named(new StringGrid(10, 5), gridNames[k]);
        grid->setContextMenuPolicy(Qt::CustomContextMenu);
        layout->addWidget(grid);
        pgc2->addTab(tab, QString::fromLatin1(captions[k]));
        *grids[k] = grid;
    }
    pageLayout->addWidget(pgc2, 1);
    return page;
}

void TForm1::CreateStatusBar() {
    rzstsbr1 = Named(new QStatusBar(this), "rzstsbr1");
    setStatusBar(rzstsbr1);
    rzstsbr1->setFixedHeight(26);
    rzstsbr1->setSizeGripEnabled(true);

    rzfldsts3 = Named(new QLabel(QStringLiteral("TRAVIK")), "rzfldsts3");
    rzfldsts1 = Named(new QLabel(QStringLiteral("  Welcome to my Website :")), "rzfldsts1");
    rzfldsts2 = Named(new QLabel(ProjectWebAddress().host()), "rzfldsts2");
    rzfldsts4 = Named(new QLabel(QString::fromLatin1(kFirstTip)), "rzfldsts4");
    for (QLabel* field : {rzfldsts3, rzfldsts1, rzfldsts2, rzfldsts4}) {
        SetLabelLook(field, Qt::black, false);
        field->setMouseTracking(true);
        field->installEventFilter(this);
    }
    // The designed widths, widened where the platform's bold font needs more room.
    const std::pair<QLabel*, int> widths[] = {{rzfldsts3, 63}, {rzfldsts1, 173}, {rzfldsts2, 125}};
    for (const auto& [field, width] : widths) {
        const int needed = field->fontMetrics().horizontalAdvance(field->text()) + 10;
        field->setFixedWidth(std::max(width, needed));
    }
    rzfldsts2->setCursor(Qt::PointingHandCursor);
    rzfldsts2->setToolTip(ProjectWebAddress().toString());
    rzstsbr1->addWidget(rzfldsts3);
    rzstsbr1->addWidget(rzfldsts1);
    rzstsbr1->addWidget(rzfldsts2);
    rzstsbr1->addWidget(rzfldsts4, 1);
}

void TForm1::ConnectHandlers() {
    connect(ImportTimeHistoryRecords1, &QAction::triggered, this,
            [this] { ImportTimeHistoryRecords1Click(); });
    connect(Setting1, &QAction::triggered, this, [this] { Setting1Click(); });
    connect(AboutDIVU1, &QAction::triggered, this, [this] { AboutDIVU1Click(); });
    connect(CheckAll1, &QAction::triggered, this, [this] { CheckAll1Click(); });
    connect(InvertCheck1, &QAction::triggered, this, [this] { InvertCheck1Click(); });
    connect(InvertCheck2, &QAction::triggered, this, [this] { InvertCheck2Click(); });
    connect(CopySelection1, &QAction::triggered, this, [this] { CopySelection1Click(); });
    connect(SelectAll1, &QAction::triggered, this, [this] { SelectAll1Click(); });
    connect(pgc1, &QTabWidget::currentChanged, this, [this](int index) { pgc1Change(index); });

    connect(btn1, &QPushButton::clicked, this, [this] { btn1Click(); });
    connect(btn7, &QPushButton::clicked, this, [this] { btn7Click(); });
    connect(btn2, &QPushButton::clicked, this, [this] { btn2Click(); });
    connect(btn4, &QPushButton::clicked, this, [this] { btn4Click(); });
    connect(btn3, &QPushButton::clicked, this, [this] { btn3Click(); });
    connect(lst1, &QListWidget::currentRowChanged, this, [this] { lst1Click(); });
    connect(lst1, &QListWidget::itemChanged, this, [this] { lst1Change(); });
    for (QListWidget* list : {lst1, lst3}) {
        connect(list, &QWidget::customContextMenuRequested, this,
                [this, list](const QPoint& at) { pm1->popup(list->mapToGlobal(at)); });
    }

    connect(cbb6, &QComboBox::currentIndexChanged, this, [this] { cbb6Change(); });
    connect(btn11, &QPushButton::clicked, this, [this] { btn11Click(); });
    connect(btn10, &QPushButton::clicked, this, [this] { btn10Click(); });
    connect(cbb5, &QComboBox::currentIndexChanged, this, [this] { cbb5Change(); });
    connect(cbb7, &QComboBox::currentIndexChanged, this, [this] { cbb7Change(); });
    connect(cht4, &ChartAdapter::MouseMoved, this, [this](const QPoint& at) { cht4MouseMove(at); });
    connect(lst3, &QListWidget::currentRowChanged, this, [this] { lst3Click(); });
    connect(lst3, &QListWidget::itemChanged, this, [this] { lst3Change(); });

    using KeyHandler = void (TForm1::*)(int, Qt::KeyboardModifiers);
    const std::pair<StringGrid*, KeyHandler> grids[] = {{strngrd1, &TForm1::strngrd1KeyDown},
                                                        {strngrd2, &TForm1::strngrd2KeyDown},
                                                        {strngrd3, &TForm1::strngrd3KeyDown},
                                                        {strngrd4, &TForm1::strngrd4KeyDown},
                                                        {strngrd5, &TForm1::strngrd5KeyDown}};
    for (const auto& [grid, handler] : grids) {
        connect(grid, &StringGrid::KeyDown, this,
                [this, handler](int key, Qt::KeyboardModifiers m) { (this->*handler)(key, m); });
        StringGrid* target = grid;
        connect(grid, &QWidget::customContextMenuRequested, this,
                [this, target](const QPoint& at) { pm2->popup(target->mapToGlobal(at)); });
    }
}

// ---- Shared helpers ----------------------------------------------------------------------

char TForm1::DecimalSeparator() const {
    const QString point = QLocale().decimalPoint();
    if (point.size() == 1 && point.at(0).unicode() < 128) {
        return static_cast<char>(point.at(0).unicode());
    }
    return '.';
}

bool TForm1::ChooseExportFolder(QString& folder) {
    const QString chosen = platform_.ChooseFolder(this, rzslctfldrdlg1.selectedFolder);
    if (chosen.isEmpty()) {
        return false;
    }
    rzslctfldrdlg1.selectedFolder = chosen;
    folder = chosen;
    return true;
}

void TForm1::ShowInformation(const QString& text) {
    platform_.ShowMessage(this, PlatformServices::MessageKind::Information, text);
}

void TForm1::ShowWarning(const QString& text) {
    platform_.ShowMessage(this, PlatformServices::MessageKind::Warning, text);
}

void TForm1::ShowPlain(const QString& text) {
    platform_.ShowMessage(this, PlatformServices::MessageKind::Plain, text);
}

QUrl TForm1::ProjectWebAddress() {
    return QUrl(QStringLiteral("https://travik.example.org"));
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
    spl1->setSizes({kUpperSplitPercent * 100, (100 - kUpperSplitPercent) * 100});
    spl2->setSizes({kLowerSplitPercent * 100, (100 - kLowerSplitPercent) * 100});
}

void TForm1::pgc1Change(int index) {
    if (index == 0) {
        rzfldsts4->setText(QString::fromLatin1(kRecordsPageTip));
    } else if (index == 1) {
        rzfldsts4->setText(QString::fromLatin1(kSpectraPageTip));
    }
}

void TForm1::FormDestroy() {
    if (destroyed_) {
        return;
    }
    destroyed_ = true;
    ClearAllRecords();
    travik::ClearSpectrumColumns(SpectrumStore);
    SpectrumStore.dampingRatios = {};
    SpectrumStore.periods = {};
    SpectrumStore.frequencies = {};
    SoftwareEdition.clear();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == rzfldsts2) {
        switch (event->type()) {
            case QEvent::Enter:
            case QEvent::MouseMove:
                rzfldsts2MouseMove();
                break;
            case QEvent::Leave:
                rzfldsts2MouseLeave();
                break;
            case QEvent::MouseButtonRelease:
                if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
                    rzfldsts2->rect().contains(
                        static_cast<QMouseEvent*>(event)->position().toPoint())) {
                    rzfldsts2Click();
                }
                break;
            default:
                break;
        }
    } else if (watched == rzfldsts3) {
        if (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove) {
            rzfldsts3MouseMove();
        } else if (event->type() == QEvent::Leave) {
            rzfldsts3MouseLeave();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::rzfldsts2MouseMove() {
    SetLabelLook(rzfldsts2, kLinkHoverColor, true);
}

void TForm1::rzfldsts2MouseLeave() {
    SetLabelLook(rzfldsts2, Qt::black, false);
}

void TForm1::rzfldsts2Click() {
    platform_.OpenWebPage(ProjectWebAddress());
}

void TForm1::rzfldsts3MouseMove() {
    SetLabelLook(rzfldsts3, kLinkHoverColor, false);
}

void TForm1::rzfldsts3MouseLeave() {
    SetLabelLook(rzfldsts3, Qt::black, false);
}

void TForm1::AboutDIVU1Click() {
    auto* box = new TAboutBox(platform_, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    box->show();
}

void TForm1::Setting1Click() {
    delete Form3.data();
    Form3 = new TForm3(AnalysisSettings, DecimalSeparator(), platform_, this);
    Form3->setAttribute(Qt::WA_DeleteOnClose);
    Form3->setWindowModality(Qt::ApplicationModal);
    Form3->show();
}

// ---- Records page ------------------------------------------------------------------------

void TForm1::ImportTimeHistoryRecords1Click() {
    btn1Click();
}

void TForm1::btn1Click() {
    delete Form2.data();
    Form2 = new TForm2(*this, platform_, this);
    Form2->setAttribute(Qt::WA_DeleteOnClose);
    Form2->setWindowModality(Qt::ApplicationModal);
    Form2->show();
}

void TForm1::ClearAllRecords() {
    for (QListWidget* list : {lst1, lst3}) {
        const QSignalBlocker blocker(list);
        list->clear();
    }
    {
        const QSignalBlocker blocker(cbb4);
        cbb4->clear();
    }
    for (QLineEdit* counter : {edt1, edt3, edt14, edt15}) {
        counter->setText(QStringLiteral("0"));
    }
    RecordList.Clear();
}

void TForm1::FillRecordLists() {
    const QSignalBlocker blockRecords(lst1);
    const QSignalBlocker blockSpectra(lst3);
    const QSignalBlocker blockSelector(cbb4);
    for (int i = 0; i < RecordList.Count(); ++i) {
        const QString name = QString::fromStdString(RecordList.At(i).SourceFileName());
        for (QListWidget* list : {lst1, lst3}) {
            auto* item = new QListWidgetItem(name);
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Unchecked);
            list->addItem(item);
        }
        cbb4->addItem(name);
    }
    // Adding to an empty combo box selects its first entry; the import decides that.
    cbb4->setCurrentIndex(-1);
    const QString count = QString::number(RecordList.Count());
    edt1->setText(count);
    edt14->setText(count);
}

void TForm1::SelectFirstRecord() {
    if (RecordList.IsEmpty()) {
        return;
    }
    {
        const QSignalBlocker blocker(lst1);
        lst1->setCurrentRow(0);
    }
    cbb4->setCurrentIndex(0);
}

void TForm1::ClearTimeHistoryCharts() {
    for (ChartAdapter* chart : {cht1, cht2, cht3}) {
        for (int series = 0; series < 3; ++series) {
            chart->ClearSeries(series);
        }
    }
}

void TForm1::ShowSelectedRecord() {
    const int index = lst1->currentRow();
    if (index < 0 || index >= RecordList.Count()) {
        return;
    }
    DrawRecord(RecordList.At(index));
}

void TForm1::DrawRecord(const travik::TimeHistory& record) {
    const double dt = record.TimeStep();
    const travik::DOUBLEVECTOR* raw[] = {&record.RawAcceleration(), &record.RawVelocity(),
                                         &record.RawDisplacement()};
    const travik::DOUBLEVECTOR* corrected[] = {&record.CorrectedAcceleration(),
                                               &record.CorrectedVelocity(),
                                               &record.CorrectedDisplacement()};
    ChartAdapter* charts[] = {cht1, cht2, cht3};
    for (int k = 0; k < 3; ++k) {
        SetSeriesSamples(charts[k], 0, *raw[k], dt);
        AddMarks(charts[k], *raw[k], dt);
        if (record.IsCorrected()) {
            SetSeriesSamples(charts[k], 1, *corrected[k], dt);
        }
    }
}

void TForm1::DiscardRecordsAndResults() {
    ClearAllRecords();
    ClearTimeHistoryCharts();
    if (Form4) {
        Form4->ResetDetailedData();
    }
    travik::ClearSpectrumColumns(SpectrumStore);
    ClearSpectrumTables();
    ClearSpectrumChart();
}

void TForm1::btn7Click() {
    DiscardRecordsAndResults();
}

void TForm1::lst1Click() {
    if (lst1->currentRow() < 0) {
        return;
    }
    ClearTimeHistoryCharts();
    ShowSelectedRecord();
}

void TForm1::lst1Change() {
    edt3->setText(QString::number(CountChecked(lst1)));
}

void TForm1::btn4Click() {
    const int index = lst1->currentRow();
    if (index < 0 || index >= RecordList.Count()) {
        return;
    }
    travik::BaselineCorrectionType type = travik::BaselineCorrectionType::None;
    if (rb1->isChecked()) {
        type = travik::BaselineCorrectionType::Linear;
    } else if (rb2->isChecked()) {
        type = travik::BaselineCorrectionType::Parabolic;
    }
    if (!travik::ApplyBaselineCorrection(RecordList.At(index), type, AnalysisSettings.g)) {
        ShowWarning(QString::fromLatin1(travik::kBaselineCorrectionFailedMessage));
    }
    ClearTimeHistoryCharts();
    ShowSelectedRecord();
}

void TForm1::btn2Click() {
    if (Form4) {
        Form4->show();
        Form4->raise();
        Form4->activateWindow();
        return;
    }
    try {
        Form4 = new TForm4(RecordList, platform_, DecimalSeparator(), this);
        Form4->setAttribute(Qt::WA_DeleteOnClose);
        Form4->ResetDetailedData();
        Form4->FillRecordSelector();
        Form4->ShowRecordData();
        Form4->show();
    } catch (...) {
        delete Form4.data();
        Form4 = nullptr;
        throw;
    }
}

// ---- Check-list popup menu ---------------------------------------------------------------

QListWidget* TForm1::CheckListShown() const {
    return pgc1->currentIndex() == 1 ? lst3 : lst1;
}

void TForm1::SetAllChecks(QListWidget* list, bool invert, bool checked) {
    {
        const QSignalBlocker blocker(list);
        for (int i = 0; i < list->count(); ++i) {
            QListWidgetItem* item = list->item(i);
            const bool isChecked = item->checkState() == Qt::Checked;
            const bool newState = invert ? !isChecked : checked;
            item->setCheckState(newState ? Qt::Checked : Qt::Unchecked);
        }
    }
    RecountChecks(list);
}

void TForm1::RecountChecks(QListWidget* list) {
    if (list == lst3) {
        lst3Change();
    } else {
        lst1Change();
    }
}

void TForm1::CheckAll1Click() {
    SetAllChecks(CheckListShown(), false, true);
}

void TForm1::InvertCheck1Click() {
    SetAllChecks(CheckListShown(), false, false);
}

void TForm1::InvertCheck2Click() {
    SetAllChecks(CheckListShown(), true, false);
}

// ---- Time-history export -----------------------------------------------------------------

void TForm1::btn3Click() {
    if (!ExportCountAccepted(lst1, travik::TimeHistoryExportLimitMessage(MaxExportNumber))) {
        return;
    }
    QString folder;
    if (!ChooseExportFolder(folder)) {
        return;
    }
    const travik::ReportDate date = travik::TodayLocalDate();
    const std::string edition = SoftwareEdition.toStdString();
    const std::optional<QString> error =
        WriteCheckedReports(lst1, folder, travik::kTimeHistoryReportSuffix,
                            [&](travik::ReportLines& lines, const travik::TimeHistory& record) {
                                travik::BuildTimeHistoryReport(lines, record, edition, date);
                            });
    if (error) {
        ShowWarning(*error);
    } else {
        ShowInformation(QString::fromLatin1(travik::kExportDoneMessage));
    }
}

bool TForm1::ExportCountAccepted(const QListWidget* list, const std::string& limitMessage) {
    const int checked = CountChecked(list);
    if (checked == 0) {
        ShowInformation(QString::fromLatin1(travik::kNothingCheckedMessage));
        return false;
    }
    if (checked > MaxExportNumber) {
        ShowInformation(QString::fromStdString(limitMessage));
        return false;
    }
    return true;
}

std::optional<QString> TForm1::WriteCheckedReports(
    const QListWidget* list, const QString& folder, const char* suffix,
    const std::function<void(travik::ReportLines&, const travik::TimeHistory&)>& buildReport) {
    travik::ReportPathPlanner planner;
    try {
        travik::ReportLines lines;
        for (int i = 0; i < list->count() && i < RecordList.Count(); ++i) {
            if (list->item(i)->checkState() != Qt::Checked) {
                continue;
            }
            const travik::TimeHistory& record = RecordList.At(i);
            buildReport(lines, record);
            travik::WriteReport(planner.Next(ToPath(folder), record.SourceFileName(), suffix),
                                lines);
        }
    } catch (const std::exception& error) {
        return QString::fromStdString(error.what());
    }
    return std::nullopt;
}
