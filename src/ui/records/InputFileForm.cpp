#include "ui/records/InputFileForm.h"

#include <QCheckBox>
#include <QColor>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QVBoxLayout>
#include <string>

#include "core/text/NumberFormat.h"
#include "core/text/NumberParse.h"
#include "ui/app/FormHelpers.h"
#include "ui/app/PlatformServices.h"
#include "ui/app/ScreenFit.h"
#include "ui/app/StartFolders.h"

namespace {

// Shading of header lines and of the acceleration column in the preview.
const QColor kHeaderShade(0xE4, 0xE4, 0xE4);
const QColor kColumnMark(0xFF, 0xE8, 0x8C);

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString Lines(const std::vector<std::string>& lines) {
    QStringList joined;
    for (const std::string& line : lines) {
        joined.append(FromUtf8(line));
    }
    return joined.join(QLatin1Char('\n'));
}

}  // namespace

ArrowSpinBox::ArrowSpinBox(int minimum, int maximum, int value, QWidget* parent)
    : QSpinBox(parent) {
    setRange(minimum, maximum);
    setValue(value);
    lineEdit()->setReadOnly(true);
}

TForm2::TForm2(PlatformServices& platform, QWidget* parent)
    : QDialog(parent), platform_(platform), initialFolder_(DefaultStartFolder()) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Input File Parameters"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    CreateFormatGroup();
    CreateFreeFormatGroup();
    CreatePreviewGroup();
    // Off by default: an import replaces the records loaded, unless the user asks otherwise.
    chk2 = Named(new QCheckBox(QStringLiteral("Add to the records already loaded")), "chk2");
    chk2->setChecked(false);

    btn1 = Named(new QPushButton(QStringLiteral("OK")), "btn1");
    btn2 = Named(new QPushButton(QStringLiteral("Cancel")), "btn2");
    btn1->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btn1);
    buttons->addWidget(btn2);

    auto* left = new QVBoxLayout;
    left->addWidget(grp1);
    left->addWidget(grp2);
    left->addStretch(1);
    auto* body = new QWidget;
    auto* columns = new QHBoxLayout(body);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->addLayout(left);
    columns->addWidget(grp3, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new ScrolledBody(body), 1);
    layout->addWidget(chk2);
    layout->addLayout(buttons);
    // Resizable, and never larger than the screen it opens on: the preview and the names
    // take the room there is instead of widening the window.
    setSizeGripEnabled(true);
    KeepOnScreen(this);

    ConnectHandlers();
    UpdatePreview();
}

// "File Format": automatic detection or one reader, two rows of radio buttons.
void TForm2::CreateFormatGroup() {
    const auto formatName = [](travik::RecordFormat format) {
        return QString::fromUtf8(travik::RecordFormatName(format).data(),
                                 static_cast<qsizetype>(travik::RecordFormatName(format).size()));
    };
    grp1 = Named(new QGroupBox(QStringLiteral("File Format")), "grp1");
    rb5 = Named(new QRadioButton(formatName(travik::RecordFormat::Automatic)), "rb5");
    rb3 = Named(new QRadioButton(QStringLiteral("Free Type")), "rb3");
    rb4 = Named(new QRadioButton(QStringLiteral("PEER NGA")), "rb4");
    rb6 = Named(new QRadioButton(formatName(travik::RecordFormat::Csmip)), "rb6");
    rb7 = Named(new QRadioButton(formatName(travik::RecordFormat::Smc)), "rb7");
    rb8 = Named(new QRadioButton(formatName(travik::RecordFormat::Knet)), "rb8");
    rb9 = Named(new QRadioButton(formatName(travik::RecordFormat::Cosmos)), "rb9");
    rb5->setChecked(true);
    auto* formatLayout = new QGridLayout(grp1);
    // Three columns, so that the dialog fits narrow and magnified screens.
    formatLayout->addWidget(rb5, 0, 0);
    formatLayout->addWidget(rb3, 0, 1);
    formatLayout->addWidget(rb4, 0, 2);
    formatLayout->addWidget(rb6, 1, 0);
    formatLayout->addWidget(rb7, 1, 1);
    formatLayout->addWidget(rb8, 1, 2);
    formatLayout->addWidget(rb9, 2, 0);
}

// "Free Type Parameters": time step, scaling, lines to skip, delimiter and column.
void TForm2::CreateFreeFormatGroup() {
    const travik::FreeFormatParameters defaults;
    const auto text = [](double value) {
        return QString::fromStdString(travik::FormatGeneral(value, DecimalSeparator()));
    };
    grp2 = Named(new QGroupBox(QStringLiteral("Free Type Parameters")), "grp2");
    lbl1 = Named(new QLabel(QStringLiteral("Time Step dt ( s )")), "lbl1");
    edt1 = Named(new QLineEdit(text(defaults.timeStep)), "edt1");
    chk1 = Named(new QCheckBox(QStringLiteral("Override time step")), "chk1");
    lbl2 = Named(new QLabel(QStringLiteral("Scaling Factor")), "lbl2");
    edt2 = Named(new QLineEdit(text(defaults.scalingFactor)), "edt2");
    lbl3 = Named(new QLabel(QStringLiteral("Number of Lines to Skip")), "lbl3");
    edt3 = Named(new ArrowSpinBox(0, 100, defaults.linesToSkip), "edt3");
    lbl4 = Named(new QLabel(QStringLiteral("Delimeiter")), "lbl4");
    rb1 = Named(new QRadioButton(QStringLiteral("Comma")), "rb1");
    rb2 = Named(new QRadioButton(QStringLiteral("Space")), "rb2");
    (defaults.delimiter == travik::Delimiter::Comma ? rb1 : rb2)->setChecked(true);
    lbl5 = Named(new QLabel(QStringLiteral("Acceleration Column")), "lbl5");
    edt4 = Named(new ArrowSpinBox(1, 100, defaults.accelerationColumn), "edt4");
    QPalette tipColours = edt4->palette();
    tipColours.setColor(QPalette::Base, tipColours.color(QPalette::ToolTipBase));
    tipColours.setColor(QPalette::Text, tipColours.color(QPalette::ToolTipText));
    edt4->setPalette(tipColours);

    auto* parameters = new QGridLayout(grp2);
    parameters->addWidget(lbl1, 0, 0);
    parameters->addWidget(edt1, 0, 1);
    parameters->addWidget(chk1, 0, 2);
    parameters->addWidget(lbl2, 1, 0);
    parameters->addWidget(edt2, 1, 1);
    parameters->addWidget(lbl3, 2, 0);
    parameters->addWidget(edt3, 2, 1);
    parameters->addWidget(lbl4, 3, 0);
    auto* delimiters = new QHBoxLayout;
    delimiters->addWidget(rb1);
    delimiters->addWidget(rb2);
    delimiters->addStretch(1);
    parameters->addLayout(delimiters, 3, 1);
    parameters->addWidget(lbl5, 4, 0);
    parameters->addWidget(edt4, 4, 1);
}

// "Preview": the file chooser, the first lines of the first file and what they read as.
void TForm2::CreatePreviewGroup() {
    grp3 = Named(new QGroupBox(QStringLiteral("Preview")), "grp3");
    btn3 = Named(new QPushButton(QStringLiteral("Choose Files...")), "btn3");
    lbl6 = Named(new MiddleElidedLabel(QStringLiteral("No file chosen: OK asks for the files.")),
                 "lbl6");
    mmo1 = Named(new QPlainTextEdit, "mmo1");
    mmo1->setReadOnly(true);
    mmo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    mmo1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    mmo1->setMinimumSize(240, 120);
    lbl7 = Named(new QLabel, "lbl7");
    lbl7->setWordWrap(true);
    lbl7->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    lbl7->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lbl8 = Named(new QLabel, "lbl8");
    lbl8->setWordWrap(true);
    lbl8->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    QPalette warningColours = lbl8->palette();
    warningColours.setColor(QPalette::WindowText, QColor(0xA0, 0x30, 0x00));
    lbl8->setPalette(warningColours);
    auto* chooser = new QHBoxLayout;
    chooser->addWidget(btn3);
    chooser->addWidget(lbl6, 1);
    auto* previewLayout = new QVBoxLayout(grp3);
    previewLayout->addLayout(chooser);
    previewLayout->addWidget(mmo1);
    previewLayout->addWidget(lbl7);
    previewLayout->addWidget(lbl8);
}

void TForm2::ConnectHandlers() {
    connect(btn1, &QPushButton::clicked, this, &TForm2::btn1Click);
    connect(btn2, &QPushButton::clicked, this, &TForm2::btn2Click);
    connect(btn3, &QPushButton::clicked, this, &TForm2::btn3Click);
    for (QRadioButton* format : {rb5, rb3, rb4, rb6, rb7, rb8, rb9, rb1}) {
        connect(format, &QRadioButton::toggled, this, [this](bool on) {
            if (on) {
                UpdatePreview();
            }
        });
    }
    connect(rb2, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            UpdatePreview();
        }
    });
    connect(chk1, &QCheckBox::toggled, this, &TForm2::UpdatePreview);
    connect(edt3, &QSpinBox::valueChanged, this, &TForm2::UpdatePreview);
    connect(edt4, &QSpinBox::valueChanged, this, &TForm2::UpdatePreview);
    connect(edt1, &QLineEdit::textEdited, this, &TForm2::UpdatePreview);
    connect(edt2, &QLineEdit::textEdited, this, &TForm2::UpdatePreview);
}

void TForm2::ShowReadOptions(const travik::RecordReadOptions& options) {
    using travik::RecordFormat;
    const std::pair<QRadioButton*, RecordFormat> choices[] = {
        {rb5, RecordFormat::Automatic}, {rb3, RecordFormat::Free}, {rb4, RecordFormat::PeerNga},
        {rb6, RecordFormat::Csmip},     {rb7, RecordFormat::Smc},  {rb8, RecordFormat::Knet},
        {rb9, RecordFormat::Cosmos}};
    for (const auto& [button, format] : choices) {
        if (format == options.format) {
            button->setChecked(true);
        }
    }
    const travik::FreeFormatParameters& free = options.free;
    const auto text = [](double value) {
        return QString::fromStdString(travik::FormatGeneral(value, DecimalSeparator()));
    };
    edt1->setText(text(options.timeStepOverride.value_or(free.timeStep)));
    chk1->setChecked(options.timeStepOverride.has_value());
    edt2->setText(text(free.scalingFactor));
    edt3->setValue(free.linesToSkip);
    (free.delimiter == travik::Delimiter::Comma ? rb1 : rb2)->setChecked(true);
    edt4->setValue(free.accelerationColumn);
    UpdatePreview();
}

travik::RecordFormat TForm2::ChosenFormat() const {
    using travik::RecordFormat;
    const std::pair<const QRadioButton*, RecordFormat> choices[] = {
        {rb5, RecordFormat::Automatic}, {rb3, RecordFormat::Free}, {rb4, RecordFormat::PeerNga},
        {rb6, RecordFormat::Csmip},     {rb7, RecordFormat::Smc},  {rb8, RecordFormat::Knet},
        {rb9, RecordFormat::Cosmos}};
    for (const auto& [button, format] : choices) {
        if (button->isChecked()) {
            return format;
        }
    }
    return RecordFormat::Automatic;
}

bool TForm2::AppendToLoaded() const {
    return chk2->isChecked();
}

bool TForm2::ReadNumber(QLineEdit* edit, double& value) {
    const std::string text = edit->text().toStdString();
    const auto number = travik::TryParseNumber(text, DecimalSeparator());
    if (!number) {
        platform_.ShowMessage(this, PlatformServices::MessageKind::Warning,
                              QString::fromStdString(travik::NotAValidFloatingNumberMessage(text)));
        edit->setFocus();
        return false;
    }
    value = *number;
    return true;
}

bool TForm2::ReadOptions(travik::RecordReadOptions& options) {
    options = PreviewOptions();
    travik::FreeFormatParameters& parameters = options.free;
    // A greyed time step holds the file's own; the user's free-format one is kept aside.
    if (showingFileTimeStep_) {
        const auto number =
            travik::TryParseNumber(freeTimeStepText_.toStdString(), DecimalSeparator());
        parameters.timeStep = number.value_or(travik::FreeFormatParameters{}.timeStep);
    } else if (!ReadNumber(edt1, parameters.timeStep)) {
        return false;
    }
    // Free-format files take this time step (with Automatic, those detected as free format).
    const bool freeStepUsed = options.format == travik::RecordFormat::Free ||
                              options.format == travik::RecordFormat::Automatic;
    if (const std::optional<std::string> problem = parameters.Validate(); problem && freeStepUsed) {
        platform_.ShowMessage(this, PlatformServices::MessageKind::Warning,
                              QString::fromStdString(*problem));
        edt1->setFocus();
        return false;
    }
    if (!ReadNumber(edt2, parameters.scalingFactor)) {
        return false;
    }
    options.timeStepOverride.reset();
    if (chk1->isEnabled() && chk1->isChecked()) {
        double timeStep = 0.0;
        if (!ReadNumber(edt1, timeStep)) {
            return false;
        }
        options.timeStepOverride = timeStep;
        if (const std::string problem = options.Check(); !problem.empty()) {
            platform_.ShowMessage(
                this, PlatformServices::MessageKind::Warning,
                QStringLiteral("Override time step: ") + QString::fromStdString(problem));
            edt1->setFocus();
            return false;
        }
    }
    return true;
}

travik::RecordReadOptions TForm2::PreviewOptions() const {
    travik::RecordReadOptions options;
    options.format = ChosenFormat();
    travik::FreeFormatParameters& parameters = options.free;
    const char point = DecimalSeparator();
    const QString timeStepText = showingFileTimeStep_ ? freeTimeStepText_ : edt1->text();
    parameters.timeStep =
        travik::TryParseNumber(timeStepText.toStdString(), point).value_or(parameters.timeStep);
    parameters.scalingFactor = travik::TryParseNumber(edt2->text().toStdString(), point)
                                   .value_or(parameters.scalingFactor);
    parameters.linesToSkip = edt3->value();
    parameters.delimiter = rb1->isChecked() ? travik::Delimiter::Comma : travik::Delimiter::Space;
    parameters.accelerationColumn = edt4->value();
    parameters.decimalSeparator = point;
    if (chk1->isChecked()) {
        const auto timeStep = travik::TryParseNumber(edt1->text().toStdString(), point);
        if (timeStep && *timeStep > 0.0) {
            options.timeStepOverride = *timeStep;
        }
    }
    return options;
}

void TForm2::UpdatePreview() {
    if (files_.isEmpty()) {
        preview_ = travik::ImportPreview{};
    } else {
        const QString timeStepText = showingFileTimeStep_ ? freeTimeStepText_ : edt1->text();
        const bool entered =
            travik::TryParseNumber(timeStepText.trimmed().toStdString(), DecimalSeparator())
                .has_value();
        preview_ = travik::PreviewRecordFile(
            QFile::encodeName(files_.front()).toStdString(), PreviewOptions(),
            entered ? travik::FreeTimeStep::Entered : travik::FreeTimeStep::NotEntered);
    }
    UpdateFieldStates();
    ShowPreview();
}

void TForm2::UpdateFieldStates() {
    travik::RecordFormat format = ChosenFormat();
    if (format == travik::RecordFormat::Automatic) {
        format = files_.isEmpty() ? travik::RecordFormat::Free : preview_.read.format;
    }
    const bool named = format != travik::RecordFormat::Free;
    for (QWidget* field :
         {static_cast<QWidget*>(edt2), static_cast<QWidget*>(edt3), static_cast<QWidget*>(rb1),
          static_cast<QWidget*>(rb2), static_cast<QWidget*>(edt4)}) {
        field->setEnabled(!named);
    }
    chk1->setEnabled(named);
    const bool showFileStep = named && !chk1->isChecked();
    if (showFileStep && !showingFileTimeStep_) {
        freeTimeStepText_ = edt1->text();
        showingFileTimeStep_ = true;
    } else if (!named && showingFileTimeStep_) {
        edt1->setText(freeTimeStepText_);
        showingFileTimeStep_ = false;
    } else if (named && chk1->isChecked()) {
        showingFileTimeStep_ = false;  // the file's step stays in the edit to start from
    }
    if (showFileStep && preview_.read.ok() && !preview_.read.records.empty()) {
        edt1->setText(QString::fromStdString(travik::FormatGeneral(
            preview_.read.records.front().record->TimeStep(), DecimalSeparator())));
    }
    edt1->setEnabled(!showFileStep);
}

void TForm2::ShowPreview() {
    QStringList texts;
    for (const travik::PreviewLine& line : preview_.lines) {
        texts.append(FromUtf8(line.text));
    }
    mmo1->setPlainText(texts.join(QLatin1Char('\n')));
    QList<QTextEdit::ExtraSelection> marks;
    QTextBlock block = mmo1->document()->firstBlock();
    for (const travik::PreviewLine& line : preview_.lines) {
        if (!block.isValid()) {
            break;
        }
        if (line.header) {
            QTextEdit::ExtraSelection shade;
            shade.cursor = QTextCursor(block);
            shade.format.setBackground(kHeaderShade);
            shade.format.setProperty(QTextFormat::FullWidthSelection, true);
            marks.append(shade);
        } else if (line.column) {
            // The column is given in bytes of UTF-8 text; count characters up to it.
            const QString before = FromUtf8(line.text.substr(0, line.column->first));
            const QString field =
                FromUtf8(line.text.substr(line.column->first, line.column->second));
            QTextEdit::ExtraSelection mark;
            mark.cursor = QTextCursor(block);
            mark.cursor.setPosition(block.position() + static_cast<int>(before.size()));
            mark.cursor.setPosition(
                block.position() + static_cast<int>(before.size() + field.size()),
                QTextCursor::KeepAnchor);
            mark.format.setBackground(kColumnMark);
            marks.append(mark);
        }
        block = block.next();
    }
    mmo1->setExtraSelections(marks);
    lbl6->SetFullText(files_.isEmpty() ? QStringLiteral("No file chosen: OK asks for the files.")
                                       : QStringLiteral("%1 file(s); preview of %2")
                                             .arg(files_.size())
                                             .arg(QFileInfo(files_.front()).fileName()));
    lbl7->setText(Lines(preview_.summary));
    std::vector<std::string> warnings = preview_.warnings;
    const bool free = files_.isEmpty() || preview_.read.format == travik::RecordFormat::Free;
    if (free && edt1->isEnabled() && edt1->text().trimmed().isEmpty()) {
        warnings.insert(warnings.begin(),
                        "Enter the time step dt: a free-format file does not state its own.");
    }
    lbl8->setText(Lines(warnings));
    lbl8->setVisible(!warnings.empty());
}

void TForm2::ShowDroppedFiles(const QStringList& files) {
    files_ = files;
    UpdatePreview();
    if (preview_.read.format == travik::RecordFormat::Free && edt1->isEnabled()) {
        edt1->clear();
        edt1->setFocus();
        UpdatePreview();
    }
}

void TForm2::btn3Click() {
    const QStringList files = platform_.ChooseRecordFiles(this, initialFolder_);
    if (files.isEmpty()) {
        return;
    }
    files_ = files;
    UpdatePreview();
}

void TForm2::btn1Click() {
    travik::RecordReadOptions options;
    if (!ReadOptions(options)) {
        return;
    }
    hide();
    // Whatever happens from here on, the window closes.
    struct CloseOnExit {
        TForm2* window;
        ~CloseOnExit() { window->close(); }
    } closeOnExit{this};

    const QStringList files =
        files_.isEmpty() ? platform_.ChooseRecordFiles(parentWidget(), initialFolder_) : files_;
    if (files.isEmpty()) {
        return;
    }
    emit FilesChosen(options, files);
}

void TForm2::btn2Click() {
    close();
}
