#include "ui/frame/SettingsMemory.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QSettings>
#include <QSplitter>
#include <QStringList>
#include <cmath>
#include <vector>

#include "core/text/NumberParse.h"
#include "ui/app/FormHelpers.h"
#include "ui/app/PlatformServices.h"
#include "ui/app/Workspace.h"
#include "ui/frame/SessionControls.h"

namespace {

// Keys of the store, one place for their spelling.
constexpr const char* kAnalysisKeys[] = {
    "analysis/g",          "analysis/minPeriod", "analysis/maxPeriod", "analysis/periodStep",
    "analysis/maxDtOverT", "analysis/beta",      "analysis/gamma"};
constexpr const char* kMethodKey = "analysis/method";
constexpr const char* kGeometryKey = "window/geometry";
constexpr const char* kExportFolderKey = "folders/export";
constexpr const char* kDampingKey = "damping/percents";
constexpr const char* kFiguresGroup = "figures";
constexpr const char* kSplittersGroup = "splitters";

// A splitter's key: the object names from the window down to it, so that two splitters of
// one name on different pages are told apart.
QString SplitterKey(const QSplitter& splitter, const QWidget& window) {
    QStringList names;
    for (const QObject* at = &splitter; at != nullptr && at != &window; at = at->parent()) {
        if (!at->objectName().isEmpty()) {
            names.prepend(at->objectName());
        }
    }
    return names.join(QLatin1Char('.'));
}

double* AnalysisField(travik::AnalysisSettings& settings, std::size_t index) {
    double* const fields[] = {&settings.g,          &settings.minPeriod,  &settings.maxPeriod,
                              &settings.periodStep, &settings.maxDtOverT, &settings.beta,
                              &settings.gamma};
    return fields[index];
}

}  // namespace

std::optional<travik::AnalysisSettings> StoredAnalysisSettings(const QSettings& store) {
    travik::AnalysisSettings settings;
    for (std::size_t i = 0; i < std::size(kAnalysisKeys); ++i) {
        const QVariant value = store.value(QString::fromLatin1(kAnalysisKeys[i]));
        bool number = false;
        const double read = value.toDouble(&number);
        if (!value.isValid() || !number || !std::isfinite(read)) {
            return std::nullopt;
        }
        *AnalysisField(settings, i) = read;
    }
    bool whole = false;
    const int method = store.value(QString::fromLatin1(kMethodKey)).toInt(&whole);
    if (!whole || (method != static_cast<int>(travik::IntegrationMethod::PiecewiseExact) &&
                   method != static_cast<int>(travik::IntegrationMethod::Newmark))) {
        return std::nullopt;
    }
    settings.method = static_cast<travik::IntegrationMethod>(method);
    if (travik::CheckGravity(settings.g) || settings.Validate()) {
        return std::nullopt;
    }
    return settings;
}

SettingsMemory::SettingsMemory(QMainWindow& window, Workspace& workspace, QMenu& optionsMenu,
                               PlatformServices& platform)
    : QObject(&window),
      window_(window),
      workspace_(workspace),
      platform_(platform),
      store_(platform.RememberedSettingsStore()) {
    reset_ =
        Named(optionsMenu.addAction(QStringLiteral("Reset All Settings")), "ResetAllSettings1");
    connect(reset_, &QAction::triggered, this, &SettingsMemory::ResetAll);
    connect(&workspace_, &Workspace::settingsChanged, this,
            [this] { StoreSettings(workspace_.Settings()); });
}

bool SettingsMemory::Restore() {
    if (store_ == nullptr) {
        return false;
    }
    if (const std::optional<travik::AnalysisSettings> settings = StoredAnalysisSettings(*store_)) {
        workspace_.SetSettings(*settings);
    }
    const QString folder = store_->value(QString::fromLatin1(kExportFolderKey)).toString();
    if (!folder.isEmpty()) {
        workspace_.SetExportFolder(folder);
    }
    RestoreControls();
    const QByteArray geometry = store_->value(QString::fromLatin1(kGeometryKey)).toByteArray();
    return !geometry.isEmpty() && window_.restoreGeometry(geometry);
}

void SettingsMemory::RestoreControls() {
    // Each value goes through the same checks as a workspace's; a refused one is ignored.
    std::vector<double> percents;
    for (const QString& text : store_->value(QString::fromLatin1(kDampingKey)).toStringList()) {
        if (const auto percent = travik::TryParseNumber(text.toStdString())) {
            percents.push_back(*percent);
        } else {
            percents.clear();
            break;
        }
    }
    ApplyDampingPercents(window_, percents);
    ControlChoices choices;
    store_->beginGroup(QString::fromLatin1(kFiguresGroup));
    for (const QString& key : store_->childKeys()) {
        choices[key.toStdString()] = store_->value(key).toString().toStdString();
    }
    store_->endGroup();
    ApplyFigureChoices(window_, choices);
    store_->beginGroup(QString::fromLatin1(kSplittersGroup));
    for (QSplitter* splitter : window_.findChildren<QSplitter*>()) {
        const QVariant state = store_->value(SplitterKey(*splitter, window_));
        if (state.isValid()) {
            splitter->restoreState(state.toByteArray());
        }
    }
    store_->endGroup();
}

void SettingsMemory::RememberControls() {
    QString error;
    if (const auto percents = CaptureDampingPercents(window_, error)) {
        QStringList texts;
        for (const double percent : *percents) {
            texts << ExactEditText(percent, '.');
        }
        store_->setValue(QString::fromLatin1(kDampingKey), texts);
    }
    store_->beginGroup(QString::fromLatin1(kFiguresGroup));
    for (const auto& [name, value] : CaptureFigureChoices(window_)) {
        store_->setValue(QString::fromStdString(name), QString::fromStdString(value));
    }
    store_->endGroup();
    store_->beginGroup(QString::fromLatin1(kSplittersGroup));
    for (const QSplitter* splitter : window_.findChildren<QSplitter*>()) {
        store_->setValue(SplitterKey(*splitter, window_), splitter->saveState());
    }
    store_->endGroup();
}

void SettingsMemory::StoreSettings(const travik::AnalysisSettings& settings) {
    if (store_ == nullptr) {
        return;
    }
    travik::AnalysisSettings copy = settings;
    for (std::size_t i = 0; i < std::size(kAnalysisKeys); ++i) {
        store_->setValue(QString::fromLatin1(kAnalysisKeys[i]), *AnalysisField(copy, i));
    }
    store_->setValue(QString::fromLatin1(kMethodKey), static_cast<int>(settings.method));
    resetSinceLastChange_ = false;
    Sync();
}

void SettingsMemory::RememberAtClose() {
    if (store_ == nullptr || resetSinceLastChange_) {
        return;
    }
    store_->setValue(QString::fromLatin1(kGeometryKey), window_.saveGeometry());
    RememberControls();
    if (!workspace_.ExportFolder().isEmpty()) {
        store_->setValue(QString::fromLatin1(kExportFolderKey), workspace_.ExportFolder());
    }
    Sync();
}

void SettingsMemory::ResetAll() {
    if (store_ == nullptr) {
        return;
    }
    store_->clear();
    resetSinceLastChange_ = true;
    Sync();
}

void SettingsMemory::Sync() {
    store_->sync();
    if (store_->status() == QSettings::AccessError && !failureShown_) {
        failureShown_ = true;
        platform_.ShowMessage(&window_, PlatformServices::MessageKind::Warning,
                              QStringLiteral("The settings cannot be saved to %1: they are kept "
                                             "until the program closes.")
                                  .arg(store_->fileName()));
    }
}
