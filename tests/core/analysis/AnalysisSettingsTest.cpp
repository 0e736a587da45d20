#include "core/analysis/AnalysisSettings.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>

namespace travik {
namespace {

// Texts are assigned as std::string: GCC 12 warns falsely (-Wrestrict) on assigning
// short literals to a string member here.
AnalysisSettingsTexts DefaultTexts() {
    return SettingsToTexts(AnalysisSettings{}, '.');
}

SettingsUpdateResult Update(const AnalysisSettingsTexts& texts,
                            const AnalysisSettings& current = {}) {
    return UpdateAnalysisSettings(texts, current, '.');
}

void ExpectRejected(const SettingsUpdateResult& result, const std::string& message,
                    SettingsField focus) {
    EXPECT_FALSE(result.accepted);
    EXPECT_EQ(result.message, message);
    EXPECT_EQ(result.focus, focus);
}

TEST(AnalysisSettings, DefaultsShowAsTheWindowWritesThemAndStoreUnchanged) {
    const AnalysisSettingsTexts texts = DefaultTexts();
    EXPECT_EQ(texts.minPeriod, "0.02");
    EXPECT_EQ(texts.maxPeriod, "6");
    EXPECT_EQ(texts.periodStep, "0.02");
    EXPECT_EQ(texts.maxDtOverT, "0.02");
    EXPECT_EQ(texts.beta, "0.25");
    EXPECT_EQ(texts.gamma, "0.5");
    EXPECT_EQ(texts.g, "980");
    EXPECT_EQ(texts.method, IntegrationMethod::PiecewiseExact);

    AnalysisSettings odd;
    odd.g = 1;
    const SettingsUpdateResult result = Update(texts, odd);
    ASSERT_TRUE(result.accepted);
    EXPECT_TRUE(result.message.empty());
    EXPECT_EQ(result.settings.g, 980.0);
    EXPECT_EQ(result.settings.minPeriod, 0.02);
    EXPECT_EQ(result.settings.maxPeriod, 6.0);
    EXPECT_EQ(result.settings.periodStep, 0.02);
    EXPECT_EQ(result.settings.maxDtOverT, 0.02);
    EXPECT_EQ(result.settings.beta, 0.25);
    EXPECT_EQ(result.settings.gamma, 0.5);
}

TEST(AnalysisSettings, EachStepRejectsWithItsMessageAndFocusInTheWindowOrder) {
    struct Case {
        std::string AnalysisSettingsTexts::*field;
        std::string text;
        std::string message;
        SettingsField focus;
    };
    const Case cases[] = {
        {&AnalysisSettingsTexts::minPeriod, "abc", "\"abc\" is not a valid floating number!",
         SettingsField::MinPeriod},
        {&AnalysisSettingsTexts::minPeriod, "0", "Min. Period must be greater than zero! ",
         SettingsField::MinPeriod},
        {&AnalysisSettingsTexts::maxPeriod, "", "\"\" is not a valid floating number!",
         SettingsField::MaxPeriod},
        {&AnalysisSettingsTexts::maxPeriod, "-1", "Max. Period must be greater than zero! ",
         SettingsField::MaxPeriod},
        {&AnalysisSettingsTexts::maxPeriod, "0.02",
         "Max. Period must be greater than Min. Period! ", SettingsField::MaxPeriod},
        {&AnalysisSettingsTexts::periodStep, "1,5", "\"1,5\" is not a valid floating number!",
         SettingsField::PeriodStep},
        {&AnalysisSettingsTexts::periodStep, "0", "Period Step must be greater than zero! ",
         SettingsField::PeriodStep},
        {&AnalysisSettingsTexts::periodStep, "5.99",
         "periodstep must be less than [Max. Period - Min. Period] ! ", SettingsField::PeriodStep},
        {&AnalysisSettingsTexts::maxDtOverT, "x", "\"x\" is not a valid floating number!",
         SettingsField::MaxDtOverT},
        {&AnalysisSettingsTexts::maxDtOverT, "-0.1", "Maximum dt/T  must be greater than zero! ",
         SettingsField::MaxDtOverT},
        {&AnalysisSettingsTexts::g, "9.8.1", "\"9.8.1\" is not a valid floating number!",
         SettingsField::G},
        {&AnalysisSettingsTexts::g, "0", "Gravitational acceleration must be greater than zero! ",
         SettingsField::G},
        // A g no unit system means would write the motions with hundreds of digits.
        {&AnalysisSettingsTexts::g, "1000000.1",
         "Gravitational acceleration must be at most 1000000 cm/sec2! ", SettingsField::G},
        {&AnalysisSettingsTexts::g, "1e308",
         "Gravitational acceleration must be at most 1000000 cm/sec2! ", SettingsField::G},
    };
    AnalysisSettings current;
    current.g = 981;
    for (const Case& c : cases) {
        AnalysisSettingsTexts texts = DefaultTexts();
        texts.*(c.field) = c.text;
        const SettingsUpdateResult result = Update(texts, current);
        ExpectRejected(result, c.message, c.focus);
        EXPECT_EQ(result.settings.g, 981.0) << "nothing is stored after a rejection";
    }
}

TEST(AnalysisSettings, GravityIsAcceptedInEveryUnitSystemUpToAThousandEarths) {
    for (const double g : {1.0, 32.174, 386.09, 980.665, 9806.65, 1e6}) {
        EXPECT_EQ(CheckGravity(g), std::nullopt) << g;
    }
    for (const double g : {0.0, -980.0, 1e6 * (1 + 1e-15), std::numeric_limits<double>::infinity(),
                           std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_NE(CheckGravity(g), std::nullopt) << g;
    }
}

TEST(AnalysisSettings, TheFirstFailureWinsAndLaterEditsAreNotRead) {
    AnalysisSettingsTexts texts = DefaultTexts();
    texts.minPeriod = std::string("-1");
    texts.maxPeriod = std::string("garbage");
    ExpectRejected(Update(texts), "Min. Period must be greater than zero! ",
                   SettingsField::MinPeriod);
    texts = DefaultTexts();
    texts.maxPeriod = std::string("0.5");
    texts.minPeriod = std::string("0.5");
    ExpectRejected(Update(texts), "Max. Period must be greater than Min. Period! ",
                   SettingsField::MaxPeriod);
}

TEST(AnalysisSettings, PeriodStepMayEqualTheRangeButNotExceedIt) {
    AnalysisSettingsTexts texts = DefaultTexts();
    texts.minPeriod = std::string("0.5");
    texts.maxPeriod = std::string("2.5");
    texts.periodStep = std::string("2");
    EXPECT_TRUE(Update(texts).accepted);
    texts.periodStep = std::string("2.5");
    ExpectRejected(Update(texts), "periodstep must be less than [Max. Period - Min. Period] ! ",
                   SettingsField::PeriodStep);
}

TEST(AnalysisSettings, AtMostOneHundredThousandPeriodsAreAccepted) {
    // 1, 2, ..., 99999 and the period 0: 100000 periods (100000 itself lies within 10 % of
    // 99999 and is not appended). One more unit of range gives 100001.
    EXPECT_EQ(PeriodCountOf(1, 100000, 1), 100000.0);
    EXPECT_FALSE(CheckPeriodCount(1, 100000, 1));
    EXPECT_EQ(PeriodCountOf(1, 100001, 1), 100001.0);
    AnalysisSettingsTexts texts = DefaultTexts();
    texts.minPeriod = std::string("1");
    texts.maxPeriod = std::string("100001");
    texts.periodStep = std::string("1");
    ExpectRejected(Update(texts),
                   "Too many periods: the period range and step give 100001 periods, at most "
                   "100000 are allowed! Make the period step larger or the range smaller. ",
                   SettingsField::PeriodStep);
    texts.maxPeriod = std::string("100000");
    EXPECT_TRUE(Update(texts).accepted);
}

TEST(AnalysisSettings, HugeListsAreRefusedWithoutBeingBuilt) {
    AnalysisSettingsTexts texts = DefaultTexts();
    texts.periodStep = std::string("1e-9");  // (6 - 0.02) / 1e-9 steps
    ExpectRejected(Update(texts),
                   "Too many periods: the period range and step give 5980000002 periods, at most "
                   "100000 are allowed! Make the period step larger or the range smaller. ",
                   SettingsField::PeriodStep);
    texts = DefaultTexts();
    texts.maxPeriod = std::string("1e308");
    ExpectRejected(Update(texts),
                   "Too many periods: the period range and step give more than 10^15 periods, at "
                   "most 100000 are allowed! Make the period step larger or the range smaller. ",
                   SettingsField::PeriodStep);
    // A step too small to move the period at all: no list of any length.
    EXPECT_TRUE(CheckPeriodCount(1, 2, 1e-300));
}

TEST(AnalysisSettings, BetaAndGammaAreReadAndStoredOnlyForNewmark) {
    AnalysisSettingsTexts texts = DefaultTexts();
    texts.beta = std::string("garbage");
    texts.gamma = std::string("");
    AnalysisSettings current;
    current.beta = 0.3;
    const SettingsUpdateResult exact = Update(texts, current);
    ASSERT_TRUE(exact.accepted);
    EXPECT_EQ(exact.settings.beta, 0.3);
    EXPECT_EQ(exact.settings.gamma, 0.5);

    texts.method = IntegrationMethod::Newmark;
    ExpectRejected(Update(texts), "\"garbage\" is not a valid floating number!",
                   SettingsField::Beta);
    texts.beta = std::string("0");
    ExpectRejected(Update(texts), "\"\" is not a valid floating number!", SettingsField::Gamma);
    texts.gamma = std::string("-0.5");
    const SettingsUpdateResult newmark = Update(texts, current);
    ASSERT_TRUE(newmark.accepted);
    EXPECT_EQ(newmark.settings.method, IntegrationMethod::Newmark);
    EXPECT_EQ(newmark.settings.beta, 0.0);
    EXPECT_EQ(newmark.settings.gamma, -0.5);
}

TEST(AnalysisSettings, TextsFollowTheDecimalSeparator) {
    AnalysisSettings settings;
    settings.g = 980.665;
    const AnalysisSettingsTexts texts = SettingsToTexts(settings, ',');
    EXPECT_EQ(texts.minPeriod, "0,02");
    EXPECT_EQ(texts.g, "980,665");
    const SettingsUpdateResult result = UpdateAnalysisSettings(texts, {}, ',');
    ASSERT_TRUE(result.accepted);
    EXPECT_EQ(result.settings.g, 980.665);
    // Texts written with the full stop read as well; a text with both separators does not.
    EXPECT_TRUE(UpdateAnalysisSettings(DefaultTexts(), {}, ',').accepted);
    AnalysisSettingsTexts grouped = texts;
    grouped.g = "1.980,665";
    ExpectRejected(UpdateAnalysisSettings(grouped, {}, ','),
                   "\"1.980,665\" is not a valid floating number!", SettingsField::G);
}

TEST(AnalysisSettings, ValidateChecksTheStructInTheWindowOrderWithoutTexts) {
    EXPECT_FALSE(AnalysisSettings{}.Validate().has_value());

    struct Case {
        void (*breakIt)(AnalysisSettings&);
        const char* message;
        SettingsField field;
    };
    // Each case also breaks every later field, so only the first check may answer.
    const Case cases[] = {
        {[](AnalysisSettings& s) { s.minPeriod = 0.0, s.maxPeriod = -1.0, s.g = 0.0; },
         "Min. Period must be greater than zero! ", SettingsField::MinPeriod},
        {[](AnalysisSettings& s) { s.maxPeriod = -1.0, s.periodStep = 0.0; },
         "Max. Period must be greater than zero! ", SettingsField::MaxPeriod},
        {[](AnalysisSettings& s) { s.maxPeriod = 0.02, s.maxDtOverT = 0.0; },
         "Max. Period must be greater than Min. Period! ", SettingsField::MaxPeriod},
        {[](AnalysisSettings& s) { s.periodStep = -0.5, s.g = -1.0; },
         "Period Step must be greater than zero! ", SettingsField::PeriodStep},
        {[](AnalysisSettings& s) { s.periodStep = 6.0, s.maxDtOverT = -1.0; },
         "periodstep must be less than [Max. Period - Min. Period] ! ", SettingsField::PeriodStep},
        {[](AnalysisSettings& s) { s.maxDtOverT = 0.0, s.g = 0.0; },
         "Maximum dt/T  must be greater than zero! ", SettingsField::MaxDtOverT},
        {[](AnalysisSettings& s) { s.g = -980.0; },
         "Gravitational acceleration must be greater than zero! ", SettingsField::G},
    };
    for (const Case& c : cases) {
        AnalysisSettings settings;
        c.breakIt(settings);
        const std::optional<SettingsProblem> problem = settings.Validate();
        ASSERT_TRUE(problem.has_value()) << c.message;
        EXPECT_EQ(problem->message, c.message);
        EXPECT_EQ(problem->field, c.field);
    }

    // Beta and gamma have no range.
    AnalysisSettings newmark;
    newmark.method = IntegrationMethod::Newmark;
    newmark.beta = -3.0;
    newmark.gamma = 0.0;
    EXPECT_FALSE(newmark.Validate().has_value());
}

TEST(AnalysisSettings, ARangeBrokenBeforeAnUnreadableTextIsReportedFirst) {
    AnalysisSettingsTexts texts = DefaultTexts();
    texts.minPeriod = std::string("-1");
    texts.g = std::string("abc");
    ExpectRejected(Update(texts), "Min. Period must be greater than zero! ",
                   SettingsField::MinPeriod);

    // An unreadable text comes before any range broken after it.
    texts = DefaultTexts();
    texts.periodStep = std::string("x");
    texts.g = std::string("-5");
    ExpectRejected(Update(texts), "\"x\" is not a valid floating number!",
                   SettingsField::PeriodStep);
}

}  // namespace
}  // namespace travik
