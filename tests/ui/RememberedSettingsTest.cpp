// The main window remembers its analysis settings, export folder and geometry in the
// platform's store; values that fail today's checks are ignored; Reset All Settings forgets.
#include <gtest/gtest.h>
#include <QAction>
#include <QSettings>
#include <QTemporaryDir>
#include <memory>

#include "FindByName.h"
#include "ScriptedPlatform.h"
#include "ui/frame/MainWindow.h"
#include "ui/frame/SettingsMemory.h"

namespace {

class RememberedSettingsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        store = std::make_unique<QSettings>(folder.filePath(QStringLiteral("travik.ini")),
                                            QSettings::IniFormat);
        platform.settings = store.get();
    }
    // A run of the program: a window made, then closed, over the same store.
    std::unique_ptr<TForm1> Start() { return std::make_unique<TForm1>(platform); }

    void StoreGoodSettings() {
        store->setValue("analysis/g", 981.0);
        store->setValue("analysis/minPeriod", 0.05);
        store->setValue("analysis/maxPeriod", 4.0);
        store->setValue("analysis/periodStep", 0.01);
        store->setValue("analysis/maxDtOverT", 0.1);
        store->setValue("analysis/beta", 1.0 / 6.0);
        store->setValue("analysis/gamma", 0.5);
        store->setValue("analysis/method", 1);
    }

    QTemporaryDir folder;
    ScriptedPlatform platform;
    std::unique_ptr<QSettings> store;
};

void ExpectDefaults(const travik::AnalysisSettings& settings) {
    const travik::AnalysisSettings defaults;
    EXPECT_EQ(settings.g, defaults.g);
    EXPECT_EQ(settings.minPeriod, defaults.minPeriod);
    EXPECT_EQ(settings.maxPeriod, defaults.maxPeriod);
    EXPECT_EQ(settings.periodStep, defaults.periodStep);
    EXPECT_EQ(settings.maxDtOverT, defaults.maxDtOverT);
    EXPECT_EQ(settings.beta, defaults.beta);
    EXPECT_EQ(settings.gamma, defaults.gamma);
    EXPECT_EQ(settings.method, defaults.method);
}

TEST_F(RememberedSettingsTest, StoredSettingsAreTakenAtStart) {
    StoreGoodSettings();
    const auto form = Start();
    const travik::AnalysisSettings& settings = form->Document().Settings();
    EXPECT_EQ(settings.g, 981.0);
    EXPECT_EQ(settings.minPeriod, 0.05);
    EXPECT_EQ(settings.maxPeriod, 4.0);
    EXPECT_EQ(settings.periodStep, 0.01);
    EXPECT_EQ(settings.maxDtOverT, 0.1);
    EXPECT_EQ(settings.beta, 1.0 / 6.0);
    EXPECT_EQ(settings.method, travik::IntegrationMethod::Newmark);
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(RememberedSettingsTest, BadStoredValuesAreIgnoredSilentlyAndTheDefaultsUsed) {
    // Each a store that today's checks refuse: text, a range the settings window refuses,
    // an unknown method, a missing value, g above its limit, too many periods.
    const std::vector<std::pair<const char*, QVariant>> bad = {
        {"analysis/maxPeriod", QStringLiteral("six")},
        {"analysis/maxPeriod", 0.01},
        {"analysis/periodStep", -0.02},
        {"analysis/method", 7},
        {"analysis/gamma", QVariant()},
        {"analysis/g", 2e6},
        {"analysis/periodStep", 1e-9},
        {"analysis/maxDtOverT", QStringLiteral("nan")},
    };
    for (const auto& [key, value] : bad) {
        store->clear();
        StoreGoodSettings();
        if (value.isValid()) {
            store->setValue(QString::fromLatin1(key), value);
        } else {
            store->remove(QString::fromLatin1(key));
        }
        store->setValue("window/geometry", QByteArray("not a geometry"));
        const auto form = Start();
        SCOPED_TRACE(key);
        ExpectDefaults(form->Document().Settings());
        EXPECT_TRUE(platform.messages.empty());
    }
}

TEST_F(RememberedSettingsTest, AnAcceptedUpdateIsRememberedForTheNextRun) {
    {
        const auto form = Start();
        travik::AnalysisSettings settings = form->Document().Settings();
        settings.maxPeriod = 3.5;
        settings.g = 981.5;
        form->Document().SetSettings(settings);
        form->Document().SetExportFolder(folder.path());
        form->resize(900, 600);
    }
    const auto again = Start();
    EXPECT_EQ(again->Document().Settings().maxPeriod, 3.5);
    EXPECT_EQ(again->Document().Settings().g, 981.5);
    EXPECT_EQ(again->Document().ExportFolder(), folder.path());
    EXPECT_EQ(again->size(), QSize(900, 600));
}

TEST_F(RememberedSettingsTest, ResetAllSettingsForgetsEverythingStored) {
    StoreGoodSettings();
    {
        const auto form = Start();
        form->resize(900, 600);
        auto* reset = Child<QAction>(form.get(), "ResetAllSettings1");
        ASSERT_NE(reset, nullptr);
        EXPECT_EQ(reset->text(), QStringLiteral("Reset All Settings"));
        reset->trigger();
        EXPECT_TRUE(store->allKeys().isEmpty());
    }
    // Closing after the reset stores nothing again.
    EXPECT_TRUE(store->allKeys().isEmpty());
    const auto again = Start();
    ExpectDefaults(again->Document().Settings());
}

TEST_F(RememberedSettingsTest, WithoutAStoreNothingIsRemembered) {
    platform.settings = nullptr;
    {
        const auto form = Start();
        travik::AnalysisSettings settings = form->Document().Settings();
        settings.maxPeriod = 3.5;
        form->Document().SetSettings(settings);
    }
    EXPECT_TRUE(store->allKeys().isEmpty());
}

}  // namespace
