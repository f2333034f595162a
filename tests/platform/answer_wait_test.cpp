#include "platform/answer_wait.h"

#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using plat::AnswerSink;
using plat::WaitForAnswer;

// An answer that comes through the event loop ends the wait; one that never comes ends it at the time limit,
// and coming later it is dropped. A wait asked for while one runs fails at once without starting its request.
TEST(AnswerWait, AnswersInTimeOrFailsAtTheLimitAndNeverNests) {
    QVariant answer;
    EXPECT_TRUE(WaitForAnswer(
        5000, [](const AnswerSink& sink) { QTimer::singleShot(20, [sink] { sink(42); }); }, &answer));
    EXPECT_EQ(answer, QVariant(42));

    AnswerSink late;
    bool nestedStarted = false;
    bool nestedAnswered = true;
    QElapsedTimer elapsed;
    elapsed.start();
    answer = QVariant();
    EXPECT_FALSE(WaitForAnswer(
        150,
        [&](const AnswerSink& sink) {
            late = sink;
            QTimer::singleShot(10, [&] {
                nestedAnswered = WaitForAnswer(
                    1000,
                    [&](const AnswerSink& inner) {
                        nestedStarted = true;
                        inner(1);
                    },
                    &answer);
            });
        },
        &answer));
    EXPECT_GE(elapsed.elapsed(), 100) << "a coarse timer may end it a little early";
    EXPECT_LT(elapsed.elapsed(), 1000);
    EXPECT_FALSE(nestedAnswered || nestedStarted);
    late(7);
    EXPECT_FALSE(answer.isValid());

    EXPECT_TRUE(WaitForAnswer(
        0, [](const AnswerSink& sink) { sink(u"at once"_s); }, &answer));
    EXPECT_EQ(answer.toString(), u"at once"_s);
}
