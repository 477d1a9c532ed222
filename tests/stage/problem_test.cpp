#include "gmpproduct.h"
#include "stage/stage.h"
#include "support/fakes.h"

#include <QDomDocument>

#include <gtest/gtest.h>

#include <vector>

namespace vk {
namespace {

TEST(CreateProblem, buildsTheDocumentShape)
{
    QDomDocument problemDoc;
    StageRecord stage;
    test::ScriptedRandom random({0.05, 0.42, 0.99, 0.0, 0.73});
    test::FakeDayClock clock(1000.0f);
    createProblem(problemDoc, stage, random, clock);

    const QDomNodeList top = problemDoc.childNodes();
    ASSERT_EQ(top.size(), 2);
    ASSERT_TRUE(top.at(0).isProcessingInstruction());
    EXPECT_EQ(top.at(0).toProcessingInstruction().target(), "xml");
    EXPECT_EQ(top.at(0).toProcessingInstruction().data(), "version='1.0' encoding='iso-8859-9'");

    const QDomElement root = top.at(1).toElement();
    EXPECT_EQ(root.tagName(), "Kelvaris");
    ASSERT_EQ(root.childNodes().size(), 1);
    EXPECT_EQ(stage.stageElement, root.firstChildElement());
    EXPECT_EQ(stage.stageElement.tagName(), "Vendrakul");
    ASSERT_EQ(stage.stageElement.childNodes().size(), 1);

    stage.problemNo = 1;
    const QDomElement problem = problemElement(stage);
    EXPECT_EQ(problem.tagName(), "Soru_1");
    EXPECT_EQ(problem.attributes().size(), 4);
    EXPECT_TRUE(problem.hasAttribute("cevap"));
    EXPECT_EQ(problem.attribute("cevap", "missing"), "");

    // The five draws cycle: 0.05 gives a leading 1 and a later 0, 0.42 a 4,
    // 0.99 a 9, 0.0 a 0 and 0.73 a 7; both factors come out the same.
    EXPECT_EQ(problem.attribute("sayi_1"), "14907049070490704907");
    EXPECT_EQ(problem.attribute("sayi_2"), "14907049070490704907");
    EXPECT_EQ(problem.attribute("dogrucevap"), "222220111990017789155318364285753878649");
    EXPECT_EQ(stage.correctProduct, problem.attribute("dogrucevap"));

    EXPECT_EQ(random.reseeds, 1);
    EXPECT_EQ(random.lastSeedTime, 1000.0f);
    EXPECT_EQ(random.drawsTaken(), 40u) << "exactly 40 draws per stage";
}

// The draws map to digits in a fixed order: first factor left to right,
// then the second; the leading digit takes floor(r * 9) + 1.
TEST(CreateProblem, drawsMapToDigitsInOrder)
{
    std::vector<double> draws;
    for (int i = 0; i < 40; ++i)
        draws.push_back(i == 0 ? 0.0 : i == 20 ? 0.9999 : (i % 10) / 10.0 + 0.05);
    test::ScriptedRandom random(draws);
    test::FakeDayClock clock;
    QDomDocument problemDoc;
    StageRecord stage;
    createProblem(problemDoc, stage, random, clock);
    stage.problemNo = 1;
    EXPECT_EQ(problemElement(stage).attribute("sayi_1"), "11234567890123456789");
    EXPECT_EQ(problemElement(stage).attribute("sayi_2"), "91234567890123456789");
}

// The source promises [0, 1); one that returns exactly 1.0 must still give
// the highest digit, never a "10" or a leading "10".
TEST(CreateProblem, aDrawOfExactlyOneGivesANine)
{
    test::ScriptedRandom random({1.0});
    test::FakeDayClock clock;
    QDomDocument problemDoc;
    StageRecord stage;
    createProblem(problemDoc, stage, random, clock);
    stage.problemNo = 1;
    const QDomElement problem = problemElement(stage);
    EXPECT_EQ(problem.attribute("sayi_1"), "99999999999999999999");
    EXPECT_EQ(problem.attribute("sayi_2"), "99999999999999999999");
    EXPECT_EQ(problem.attribute("dogrucevap"), "9999999999999999999800000000000000000001");
}

TEST(CreateProblem, factorsAndProductHaveTheirLengthsOverManyStages)
{
    Mt19937RandomSource random;
    test::FakeDayClock clock(0.0f);
    int short39 = 0, long40 = 0;
    QDomDocument previousDoc;
    QString previousPair;
    for (int i = 0; i < 2000; ++i) {
        clock.set(static_cast<float>(i) * 0.37f);
        QDomDocument problemDoc;
        StageRecord stage;
        createProblem(problemDoc, stage, random, clock);
        stage.problemNo = 1;
        const QDomElement p = problemElement(stage);
        const QString a = p.attribute("sayi_1"), b = p.attribute("sayi_2"), product = p.attribute("dogrucevap");
        for (const QString &f : {a, b}) {
            ASSERT_EQ(f.size(), 20);
            ASSERT_TRUE(f[0] >= u'1' && f[0] <= u'9') << f.toStdString();
            for (QChar c : f)
                ASSERT_TRUE(c.isDigit());
        }
        ASSERT_NE(product[0], u'0');
        // The exact product, worked out by GMP: 40 digits exactly when it
        // reaches 10^39, else 39, with no zero in front.
        ASSERT_EQ(product.toStdString(), test::gmpProduct(a.toStdString(), b.toStdString()));
        ASSERT_TRUE(product.size() == 39 || product.size() == 40) << product.toStdString();
        (product.size() == 40 ? long40 : short39)++;
        ASSERT_NE(a + b, previousPair) << "a new problem on every call";
        previousPair = a + b;
    }
    EXPECT_GT(short39, 0);
    EXPECT_GT(long40, 0);
}

// Shorter factors: n digits each from 2n draws, the same rules per digit,
// and the exact product of 2n - 1 or 2n digits; the document keeps its
// names.
TEST(CreateProblem, factorsOfAnyLengthAndTheirExactProduct)
{
    Mt19937RandomSource random;
    test::FakeDayClock clock(0.0f);
    for (const int digits : {2, 3, 8, 13, 19}) {
        SCOPED_TRACE(digits);
        int shortProducts = 0;
        for (int i = 0; i < 300; ++i) {
            clock.set(static_cast<float>(i) * 0.61f);
            QDomDocument problemDoc;
            StageRecord stage;
            resetStageRecord(stage, true, digits);
            createProblem(problemDoc, stage, random, clock);
            stage.problemNo = 1;
            const QDomElement p = problemElement(stage);
            EXPECT_EQ(p.tagName(), "Soru_1");
            const QString a = p.attribute("sayi_1"), b = p.attribute("sayi_2"), product = p.attribute("dogrucevap");
            for (const QString &f : {a, b}) {
                ASSERT_EQ(f.size(), digits);
                ASSERT_TRUE(f[0] >= u'1' && f[0] <= u'9') << f.toStdString();
            }
            ASSERT_EQ(product.toStdString(), test::gmpProduct(a.toStdString(), b.toStdString()));
            ASSERT_TRUE(product.size() == 2 * digits - 1 || product.size() == 2 * digits) << product.toStdString();
            shortProducts += product.size() == 2 * digits - 1 ? 1 : 0;
            ASSERT_EQ(stage.correctProduct, product);
        }
        EXPECT_GT(shortProducts, 0);
        EXPECT_LT(shortProducts, 300);
    }

    // Exactly 2n draws, in order: "19" and "55" from 0.05, 0.99, 0.5, 0.5.
    QDomDocument problemDoc;
    StageRecord stage;
    test::ScriptedRandom scripted({0.05, 0.99, 0.5, 0.5});
    resetStageRecord(stage, true, 2);
    createProblem(problemDoc, stage, scripted, clock);
    stage.problemNo = 1;
    EXPECT_EQ(problemElement(stage).attribute("sayi_1"), "19");
    EXPECT_EQ(problemElement(stage).attribute("sayi_2"), "55");
    EXPECT_EQ(problemElement(stage).attribute("dogrucevap"), "1045");
    EXPECT_EQ(scripted.drawsTaken(), 4u);

    // Outside 2..20 the length is held at the nearest end.
    resetStageRecord(stage, true, 1);
    EXPECT_EQ(stage.factorDigits, 2);
    resetStageRecord(stage, true, 40);
    EXPECT_EQ(stage.factorDigits, 20);
}

TEST(CreateProblem, eachCallReplacesTheDocument)
{
    Mt19937RandomSource random;
    test::FakeDayClock clock(500.0f);
    QDomDocument problemDoc;
    StageRecord stage;
    createProblem(problemDoc, stage, random, clock);
    const QDomElement firstStage = stage.stageElement;
    clock.set(501.0f);
    createProblem(problemDoc, stage, random, clock);
    EXPECT_NE(stage.stageElement, firstStage);
    EXPECT_EQ(problemDoc.documentElement().childNodes().size(), 1);
    EXPECT_EQ(stage.stageElement.ownerDocument(), problemDoc);
}

TEST(StageRecord, loadValues)
{
    StageRecord stage;
    stage.stageRunning = false;
    stage.backState = 1;
    stage.firstActivation = false;
    resetStageRecord(stage, false);
    EXPECT_TRUE(stage.firstActivation);
    EXPECT_TRUE(stage.stageRunning);
    EXPECT_EQ(stage.backState, 0);
    EXPECT_EQ(stage.finishState, 0);
    EXPECT_EQ(stage.timeLimit, 900);
    EXPECT_FALSE(stage.clockOn);
    resetStageRecord(stage, true);
    EXPECT_TRUE(stage.clockOn);
}

} // namespace
} // namespace vk
