#include "ui/suite/ScaleDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "ui/app/FormHelpers.h"
#include "ui/app/PlatformServices.h"
#include "ui/app/ScreenFit.h"

namespace {

QLineEdit* Edit(const char* name) {
    auto* edit = Named(new QLineEdit, name);
    edit->setMinimumWidth(80);
    return edit;
}

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

std::string Text(const QLineEdit* edit) {
    return edit->text().trimmed().toStdString();
}

}  // namespace

ScaleDialog::ScaleDialog(const ScaleFields& fields, std::vector<double> periods,
                         ScaleMotionCounts counts, char decimalSeparator,
                         PlatformServices& platform, QWidget* parent)
    : QDialog(parent),
      periods_(std::move(periods)),
      counts_(counts),
      decimalSeparator_(decimalSeparator),
      platform_(platform) {
    setObjectName(QStringLiteral("ScaleDialog"));
    setWindowTitle(QStringLiteral("Scale to Target"));
    KeepOnScreen(this);
    auto* body = new QWidget;
    auto* boxes = new QVBoxLayout(body);
    boxes->setContentsMargins(0, 0, 0, 0);
    boxes->addWidget(CreateTargetBox());
    boxes->addWidget(CreateRangeBox());
    boxes->addWidget(CreateScalingBox());
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new ScrolledBody(body), 1);
    auto* buttons = new QDialogButtonBox;
    btnScaleOk = Named(buttons->addButton(QStringLiteral("Scale"), QDialogButtonBox::AcceptRole),
                       "btnScaleOk");
    btnScaleCancel = Named(buttons->addButton(QDialogButtonBox::Cancel), "btnScaleCancel");
    btnScaleOk->setDefault(true);
    layout->addWidget(buttons);
    Fill(fields);
    connect(btnScaleOk, &QPushButton::clicked, this, &ScaleDialog::btnScaleOkClick);
    connect(btnScaleCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(cbbScaleTarget, &QComboBox::currentIndexChanged, this,
            &ScaleDialog::cbbScaleTargetChange);
    connect(btnScaleTargetFile, &QPushButton::clicked, this, &ScaleDialog::btnScaleTargetFileClick);
    connect(cbbScaleMeasure, &QComboBox::currentIndexChanged, this, &ScaleDialog::UpdateEnabled);
    for (QAbstractButton* toggle : std::initializer_list<QAbstractButton*>{
             rbScaleRange, rbScaleT1, chkScaleLimits, chkScaleAtPeriod}) {
        connect(toggle, &QAbstractButton::toggled, this, &ScaleDialog::UpdateEnabled);
    }
    UpdateEnabled();
}

QWidget* ScaleDialog::CreateTargetBox() {
    auto* box = Named(new QGroupBox(QStringLiteral("Target spectrum")), "grpScaleTarget");
    auto* layout = new QVBoxLayout(box);
    cbbScaleTarget = Named(new QComboBox, "cbbScaleTarget");
    cbbScaleTarget->addItems({QStringLiteral("ASCE/SEI 7-22 two-period spectrum"),
                              QStringLiteral("EN 1998-1 elastic spectrum"),
                              QStringLiteral("Spectrum file (period s, Sa g)")});
    layout->addWidget(cbbScaleTarget);
    stkScaleTarget = Named(new QStackedWidget, "stkScaleTarget");

    auto* asce = new QWidget;
    auto* asceForm = new QFormLayout(asce);
    edtScaleSds = Edit("edtScaleSds");
    edtScaleSd1 = Edit("edtScaleSd1");
    edtScaleTl = Edit("edtScaleTl");
    asceForm->addRow(QStringLiteral("S_DS (g)"), edtScaleSds);
    asceForm->addRow(QStringLiteral("S_D1 (g)"), edtScaleSd1);
    asceForm->addRow(QStringLiteral("T_L (s)"), edtScaleTl);
    stkScaleTarget->addWidget(asce);

    auto* eurocode = new QWidget;
    auto* eurocodeForm = new QFormLayout(eurocode);
    cbbScaleEc8Type = Named(new QComboBox, "cbbScaleEc8Type");
    cbbScaleEc8Type->addItems({QStringLiteral("Type 1"), QStringLiteral("Type 2")});
    cbbScaleGround = Named(new QComboBox, "cbbScaleGround");
    cbbScaleGround->addItems({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"),
                              QStringLiteral("D"), QStringLiteral("E")});
    edtScaleAg = Edit("edtScaleAg");
    edtScaleXi = Edit("edtScaleXi");
    eurocodeForm->addRow(QStringLiteral("Spectrum"), cbbScaleEc8Type);
    eurocodeForm->addRow(QStringLiteral("Ground type"), cbbScaleGround);
    eurocodeForm->addRow(QStringLiteral("a_g (g)"), edtScaleAg);
    eurocodeForm->addRow(QStringLiteral("Damping (%)"), edtScaleXi);
    stkScaleTarget->addWidget(eurocode);

    auto* file = new QWidget;
    auto* fileRow = new QHBoxLayout(file);
    edtScaleTargetFile = Named(new QLineEdit, "edtScaleTargetFile");
    btnScaleTargetFile = Named(new QPushButton(QStringLiteral("Browse…")), "btnScaleTargetFile");
    fileRow->addWidget(edtScaleTargetFile, 1);
    fileRow->addWidget(btnScaleTargetFile);
    stkScaleTarget->addWidget(file);
    layout->addWidget(stkScaleTarget);
    return box;
}

QWidget* ScaleDialog::CreateRangeBox() {
    auto* box = Named(new QGroupBox(QStringLiteral("Period range")), "grpScaleRange");
    auto* grid = new QFormLayout(box);
    rbScaleRange = Named(new QRadioButton(QStringLiteral("Tmin to Tmax (s)")), "rbScaleRange");
    rbScaleT1 = Named(new QRadioButton(QStringLiteral("0.2 T1 to 2 T1, T1 (s)")), "rbScaleT1");
    auto* group = new QButtonGroup(box);
    group->addButton(rbScaleRange);
    group->addButton(rbScaleT1);
    auto* rangeRow = new QHBoxLayout;
    edtScaleTmin = Edit("edtScaleTmin");
    edtScaleTmax = Edit("edtScaleTmax");
    rangeRow->addWidget(edtScaleTmin);
    rangeRow->addWidget(edtScaleTmax);
    grid->addRow(rbScaleRange, rangeRow);
    edtScaleT1 = Edit("edtScaleT1");
    grid->addRow(rbScaleT1, edtScaleT1);
    return box;
}

QWidget* ScaleDialog::CreateScalingBox() {
    auto* box = Named(new QGroupBox(QStringLiteral("Scaling")), "grpScaleRule");
    auto* form = new QFormLayout(box);
    cbbScaleRule = Named(new QComboBox, "cbbScaleRule");
    cbbScaleRule->addItems({QStringLiteral("None (own factors only)"),
                            QStringLiteral("ASCE/SEI 7-22 §16.2.3.2"),
                            QStringLiteral("EN 1998-1 §3.2.3.1.2(4)")});
    form->addRow(QStringLiteral("Suite rule"), cbbScaleRule);
    cbbScaleMeasure = Named(new QComboBox, "cbbScaleMeasure");
    cbbScaleMeasure->addItems(
        {QStringLiteral("PSa"), QStringLiteral("RotD50"), QStringLiteral("RotD100")});
    // The RotD measures belong to two-component motions: offered when the checked records
    // form at least one pair.
    auto* model = qobject_cast<QStandardItemModel*>(cbbScaleMeasure->model());
    for (int row = 1; row <= 2; ++row) {
        model->item(row)->setEnabled(counts_.pairs > 0);
        model->item(row)->setToolTip(
            counts_.pairs > 0
                ? QStringLiteral("Scales the %1 pairs the checked records form").arg(counts_.pairs)
                : QStringLiteral("Needs the records read as two-component pairs"));
    }
    cbbScaleMeasure->setToolTip(
        QStringLiteral("PSa of each component; RotD50 and RotD100 need two-component pairs"));
    form->addRow(QStringLiteral("Spectrum"), cbbScaleMeasure);
    edtScaleDamping = Edit("edtScaleDamping");
    form->addRow(QStringLiteral("Damping of the records (%)"), edtScaleDamping);
    cbbScaleWeights = Named(new QComboBox, "cbbScaleWeights");
    cbbScaleWeights->addItems(
        {QStringLiteral("Uniform"), QStringLiteral("Logarithmic (ln T spacing)")});
    form->addRow(QStringLiteral("Weights"), cbbScaleWeights);
    chkScaleLimits = Named(new QCheckBox(QStringLiteral("Factor limits")), "chkScaleLimits");
    auto* limitsRow = new QHBoxLayout;
    edtScaleFmin = Edit("edtScaleFmin");
    edtScaleFmax = Edit("edtScaleFmax");
    limitsRow->addWidget(edtScaleFmin);
    limitsRow->addWidget(edtScaleFmax);
    form->addRow(chkScaleLimits, limitsRow);
    chkScaleAtPeriod =
        Named(new QCheckBox(QStringLiteral("At one period (s)")), "chkScaleAtPeriod");
    edtScaleAtPeriod = Edit("edtScaleAtPeriod");
    form->addRow(chkScaleAtPeriod, edtScaleAtPeriod);
    spnScaleSelect = Named(new QSpinBox, "spnScaleSelect");
    spnScaleSelect->setRange(0, counts_.records);
    spnScaleSelect->setSpecialValueText(QStringLiteral("All"));
    form->addRow(QStringLiteral("Select the best"), spnScaleSelect);
    spnScaleMaxPerStation = Named(new QSpinBox, "spnScaleMaxPerStation");
    spnScaleMaxPerStation->setRange(0, 9999);
    spnScaleMaxPerStation->setSpecialValueText(QStringLiteral("No limit"));
    form->addRow(QStringLiteral("Most per station"), spnScaleMaxPerStation);
    return box;
}

void ScaleDialog::Fill(const ScaleFields& f) {
    cbbScaleTarget->setCurrentIndex(static_cast<int>(f.target));
    stkScaleTarget->setCurrentIndex(static_cast<int>(f.target));
    edtScaleSds->setText(Text(f.sds));
    edtScaleSd1->setText(Text(f.sd1));
    edtScaleTl->setText(Text(f.longPeriod));
    cbbScaleEc8Type->setCurrentIndex(f.eurocodeType);
    cbbScaleGround->setCurrentIndex(f.ground);
    edtScaleAg->setText(Text(f.ag));
    edtScaleXi->setText(Text(f.xi));
    edtScaleTargetFile->setText(QString::fromStdString(f.file));
    rbScaleRange->setChecked(f.range == ScaleFields::Range::Periods);
    rbScaleT1->setChecked(f.range == ScaleFields::Range::FundamentalPeriod);
    edtScaleTmin->setText(Text(f.minPeriod));
    edtScaleTmax->setText(Text(f.maxPeriod));
    edtScaleT1->setText(Text(f.fundamentalPeriod));
    cbbScaleRule->setCurrentIndex(static_cast<int>(f.rule));
    const bool pairs = f.measure != travik::ScalingMeasure::Psa && counts_.pairs > 0;
    cbbScaleMeasure->setCurrentIndex(pairs ? static_cast<int>(f.measure) : 0);
    edtScaleDamping->setText(Text(f.damping));
    cbbScaleWeights->setCurrentIndex(static_cast<int>(f.weights));
    chkScaleLimits->setChecked(f.limits);
    edtScaleFmin->setText(Text(f.minFactor));
    edtScaleFmax->setText(Text(f.maxFactor));
    chkScaleAtPeriod->setChecked(f.atPeriod);
    edtScaleAtPeriod->setText(Text(f.scalingPeriod));
    spnScaleSelect->setValue(f.select);
    spnScaleMaxPerStation->setValue(f.maxPerStation);
}

ScaleFields ScaleDialog::Fields() const {
    ScaleFields f;
    f.target = static_cast<ScaleFields::Target>(cbbScaleTarget->currentIndex());
    f.sds = Text(edtScaleSds);
    f.sd1 = Text(edtScaleSd1);
    f.longPeriod = Text(edtScaleTl);
    f.eurocodeType = cbbScaleEc8Type->currentIndex();
    f.ground = cbbScaleGround->currentIndex();
    f.ag = Text(edtScaleAg);
    f.xi = Text(edtScaleXi);
    f.file = edtScaleTargetFile->text().trimmed().toStdString();
    f.range = rbScaleT1->isChecked() ? ScaleFields::Range::FundamentalPeriod
                                     : ScaleFields::Range::Periods;
    f.minPeriod = Text(edtScaleTmin);
    f.maxPeriod = Text(edtScaleTmax);
    f.fundamentalPeriod = Text(edtScaleT1);
    f.rule = static_cast<travik::SuiteRule>(cbbScaleRule->currentIndex());
    f.measure = static_cast<travik::ScalingMeasure>(std::max(cbbScaleMeasure->currentIndex(), 0));
    f.damping = Text(edtScaleDamping);
    f.weights = static_cast<travik::ScalingWeights>(cbbScaleWeights->currentIndex());
    f.limits = chkScaleLimits->isChecked();
    f.minFactor = Text(edtScaleFmin);
    f.maxFactor = Text(edtScaleFmax);
    f.atPeriod = chkScaleAtPeriod->isChecked();
    f.scalingPeriod = Text(edtScaleAtPeriod);
    f.select = spnScaleSelect->value();
    f.maxPerStation = spnScaleMaxPerStation->value();
    return f;
}

// A code target brings its own rule; a file target leaves the rule as it was.
void ScaleDialog::cbbScaleTargetChange() {
    const int kind = cbbScaleTarget->currentIndex();
    stkScaleTarget->setCurrentIndex(kind);
    if (kind == static_cast<int>(ScaleFields::Target::Asce)) {
        cbbScaleRule->setCurrentIndex(static_cast<int>(travik::SuiteRule::Asce7));
    } else if (kind == static_cast<int>(ScaleFields::Target::Eurocode)) {
        cbbScaleRule->setCurrentIndex(static_cast<int>(travik::SuiteRule::Ec8));
    }
}

void ScaleDialog::btnScaleTargetFileClick() {
    const QStringList files = platform_.ChooseRecordFiles(this, edtScaleTargetFile->text());
    if (!files.isEmpty()) {
        edtScaleTargetFile->setText(files.front());
    }
}

void ScaleDialog::UpdateEnabled() {
    edtScaleTmin->setEnabled(rbScaleRange->isChecked());
    edtScaleTmax->setEnabled(rbScaleRange->isChecked());
    edtScaleT1->setEnabled(rbScaleT1->isChecked());
    edtScaleFmin->setEnabled(chkScaleLimits->isChecked());
    edtScaleFmax->setEnabled(chkScaleLimits->isChecked());
    edtScaleAtPeriod->setEnabled(chkScaleAtPeriod->isChecked());
    spnScaleSelect->setMaximum(MotionCount());
}

int ScaleDialog::MotionCount() const {
    return cbbScaleMeasure->currentIndex() > 0 ? counts_.pairs : counts_.records;
}

void ScaleDialog::btnScaleOkClick() {
    ScaleRequest request = ReadScaleRequest(Fields(), periods_, MotionCount(), decimalSeparator_);
    if (!request.ok()) {
        platform_.ShowMessage(this, PlatformServices::MessageKind::Warning,
                              QString::fromStdString(request.message));
        if (auto* control = findChild<QWidget*>(QString::fromStdString(request.field))) {
            control->setFocus();
        }
        return;
    }
    request_ = std::move(request);
    accept();
}
