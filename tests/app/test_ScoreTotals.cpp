// Tests of a score form's total: the worked cases as a table (answers, not
// applicable, unanswered, zero weights, a bias at its limits), the shares the
// not-applicable questions give, and when the total is computed afresh.
#include "native/gtest.h"

#include "Scoring/ScoreFormEntry.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

const LONG NA = CQuestion::VALUE_NOT_APPLICABLE;
const LONG UN = CQuestion::VALUE_UNANSWERED;

CScoreFormEntry MakeForm(const std::vector<double>& biases, const std::vector<LONG>& values) {
    CScoreFormEntry form(1);
    for (size_t i = 0; i < biases.size(); ++i) {
        CQuestion question(static_cast<LONG>(i + 1));
        question.SetBias(biases[i]);
        question.SetValue(values[i]);
        form.AddQuestion(question);
    }
    return form;
}

std::string TwoDecimals(double value) {
    char text[64];
    snprintf(text, sizeof text, "%.2f", value);
    return text;
}

TEST(ScoreTotals, WorkedCases) {
    struct Case {
        const char* name;
        std::vector<double> biases;
        std::vector<LONG> values;
        const char* total; // as the score file and the total field show it
        int answered;
        BOOL complete;
    };
    const Case cases[] = {
        {"8, Yes, N/A, No", {40, 30, 20, 10}, {8, 10, NA, 0}, "75.33", 3, TRUE},
        {"8, Yes, N/A, Yes", {40, 30, 20, 10}, {8, 10, NA, 10}, "92.00", 3, TRUE},
        {"full marks around a N/A", {40, 30, 20, 10}, {10, 10, NA, 10}, "100.00", 3, TRUE},
        {"four of 25 at full marks", {25, 25, 25, 25}, {10, 10, 10, 10}, "100.00", 4, TRUE},
        {"four of 25 at zero", {25, 25, 25, 25}, {0, 0, 0, 0}, "0.00", 4, TRUE},
        {"N/A gives all to the one answer", {50, 50}, {NA, 6}, "80.00", 1, TRUE},
        {"a 2 adds a fifth and the whole share", {50, 50}, {2, NA}, "60.00", 1, TRUE},
        {"a 0 adds nothing, not even its share", {50, 25, 25}, {10, 0, NA}, "62.50", 2, TRUE},
        {"unanswered takes a share but adds nothing",
         {40, 30, 20, 10},
         {8, UN, NA, 10},
         "62.00",
         2,
         FALSE},
        {"unanswered and N/A only", {60, 40}, {UN, NA}, "0.00", 0, FALSE},
        {"all N/A", {40, 30, 30}, {NA, NA, NA}, "0.00", 0, TRUE},
        {"all weights zero", {0, 0, 0}, {10, 10, 10}, "0.00", 3, TRUE},
        {"one bias of 100", {100, 0}, {10, 10}, "100.00", 2, TRUE},
        {"the bias of 100 not applicable", {100, 0}, {NA, 10}, "100.00", 1, TRUE},
        {"the bias of 100 answered 0", {100, 0}, {0, 10}, "0.00", 2, TRUE},
        {"no questions", {}, {}, "0.00", 0, TRUE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CScoreFormEntry form = MakeForm(c.biases, c.values);
        EXPECT_EQ(c.answered, form.CountAnswered());
        EXPECT_EQ(c.complete, form.IsComplete());
        const double total = form.ComputeTotal();
        EXPECT_EQ(c.total, TwoDecimals(total));
        EXPECT_EQ(total, form.GetLastTotal());
        for (int i = 0; i < form.GetQuestionCount(); ++i)
            EXPECT_TRUE(std::isfinite(form.GetQuestion(i)->GetShare())) << "question " << i;
    }
}

TEST(ScoreTotals, NotApplicableBiasIsSharedAmongTheOthers) {
    CScoreFormEntry form = MakeForm({40, 30, 20, 10}, {8, 10, NA, 0});
    form.ComputeTotal();
    const double adjusted[] = {40 + 20 / 3.0, 30 + 20 / 3.0, 20, 10 + 20 / 3.0};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(adjusted[i], form.GetQuestion(i)->GetAdjustedBias(), 1e-9);
    }
    EXPECT_EQ("46.67", TwoDecimals(form.GetQuestion(0)->GetAdjustedBias()));
    EXPECT_EQ("16.67", TwoDecimals(form.GetQuestion(3)->GetAdjustedBias()));
    // Question 1's own part of the total: its bias times 8/10 plus the share.
    EXPECT_NEAR(0.8 * 40 + 20 / 3.0, form.GetQuestion(0)->GetWeightedScore(), 1e-9);
}

// Shares come from the answers of this computation alone, not from earlier ones.
TEST(ScoreTotals, SharesAreMadeAfreshEachTime) {
    CScoreFormEntry form = MakeForm({50, 50}, {NA, 6});
    form.ComputeTotal();
    form.SetQuestionValue(0, 10);
    EXPECT_EQ("80.00", TwoDecimals(form.ComputeTotal()));
    EXPECT_EQ(0.0, form.GetQuestion(1)->GetShare());
    EXPECT_EQ(50.0, form.GetQuestion(1)->GetAdjustedBias());
}

TEST(ScoreTotals, GetTotalRecomputesOnlyWhenAsked) {
    CScoreFormEntry form = MakeForm({50, 50}, {10, 10});
    form.SetLastTotal(42.5); // as read from the forms file
    EXPECT_EQ(42.5, form.GetTotal(FALSE));
    EXPECT_EQ(100.0, form.GetTotal(TRUE));
    form.SetQuestionValue(1, 0);
    EXPECT_EQ(100.0, form.GetTotal(FALSE));
    EXPECT_EQ(50.0, form.GetTotal(TRUE));
}

// The biases a user can give that the forms manager accepts as exactly 100.
TEST(ScoreTotals, ThirdsReachFullMarks) {
    CScoreFormEntry form = MakeForm({33.33, 33.33, 33.34}, {10, 10, 10});
    EXPECT_EQ("100.00", TwoDecimals(form.ComputeTotal()));
    form.SetQuestionValue(2, NA);
    EXPECT_EQ("100.00", TwoDecimals(form.ComputeTotal()));
}

} // namespace
